#pragma once

#include <QFont>

namespace varnex::ui {

// The fonts of the main window. The window was laid out in MS Sans Serif and Arial; where
// those are missing, Liberation Sans (metric-compatible with Arial) stands in.
void InstallFontSubstitutes();

QFont WindowFont();    // MS Sans Serif 8.25
QFont FontListFont();  // the font lists: the window font in bold
QFont FileFont();      // the file field: Arial 9 bold

}  // namespace varnex::ui
