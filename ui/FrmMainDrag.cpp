// Dragging the frameless window by its title bar: a fast timer puts the window under the
// pointer while a button is held; the release stores the position.
#include <QCursor>
#include <iostream>

#include "FrmMain.h"
#include "ModCommon.h"
#include "Twips.h"

namespace varnex::ui {

void FrmMain::OnTitleBarPressed(QPoint position) {
    DragOffsetX = static_cast<float>(position.x() * TwipsPerPixelX());
    DragOffsetY = static_cast<float>(position.y() * TwipsPerPixelY());
    tmrFollowMouse->start();
}

void FrmMain::OnTitleBarReleased() {
    tmrFollowMouse->stop();
    try {
        WriteSetting("WindowLeft", QString::number(static_cast<float>(LeftTwips())));
        WriteSetting("WindowTop", QString::number(static_cast<float>(TopTwips())));
    } catch (const std::exception& failure) {
        // The drag has ended anyway; the next start finds the position stored before.
        std::cerr << "Varnex 2010: the window position was not stored: " << failure.what() << "\n";
    }
}

void FrmMain::FollowMouse() {
    const QPoint pointer = QCursor::pos();
    SetLeftTwips(static_cast<float>(pointer.x() * TwipsPerPixelX() - DragOffsetX));
    SetTopTwips(static_cast<float>(pointer.y() * TwipsPerPixelY() - DragOffsetY));
}

}  // namespace varnex::ui
