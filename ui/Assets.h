#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace varnex::ui {

// The pictures, icons and pointers, drawn from the SVG sources compiled into the program.
QPixmap MainPicture();     // 600 x 380
QPixmap HelpPicture();     // 400 x 200
QIcon MainIcon();          // 16 x 16 in 256 colours; 48, 32, 24 and 16 in 32-bit colour
QIcon HelpIcon();          // 32 and 16
QCursor FilePointer();     // 32 x 32, hot spot at 10, 5
QCursor VersionPointer();  // 32 x 32

}  // namespace varnex::ui
