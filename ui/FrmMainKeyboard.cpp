// The main window for keyboard and screen-reader users: what each hot spot and list is
// called, the tab order, the focus ring and the caption's changes. Mouse users see no change.
#include <vector>

#include "CaptionAnnouncer.h"
#include "FocusRing.h"
#include "FrmMain.h"

namespace varnex::ui {

void FrmMain::MakeKeyboardAccessible() {
    lblFile->Present(HotSpotKind::Button, "Source file");
    lblOpen->Present(HotSpotKind::Button, "Open");
    lblStart->Present(HotSpotKind::Button, "Start");
    lblQuick->Present(HotSpotKind::Button, "Quick Conversion");
    lblQuestion->Present(HotSpotKind::Button, "Help");
    lblKorvane->Present(HotSpotKind::Link, "Visit the Varnex home page", HomePageUrl().toString());
    lblMinimise->Present(HotSpotKind::Button, "Minimise");
    lblExit->Present(HotSpotKind::Button, "Exit");
    // named by its caption, and a tab stop only while a file job shows one
    lblVersion->Present(HotSpotKind::Button, {});
    connect(lblVersion, &HotSpotLabel::captionChanged, this, [this](const QString& caption) {
        if (caption.isEmpty() && lblVersion->hasFocus()) lblStart->setFocus(Qt::OtherFocusReason);
        lblVersion->setFocusPolicy(caption.isEmpty() ? Qt::NoFocus : Qt::TabFocus);
    });
    cmbFonts[0]->setAccessibleName("Source font");
    cmbFonts[1]->setAccessibleName("Target font");

    // The title bar's two buttons are no tab stops: Esc ends the program, the desktop's own
    // keys minimise it, and assistive technology presses them by their press actions.
    for (QWidget* hotSpot : {lblFile, lblOpen, lblStart, lblQuick, lblQuestion, lblKorvane}) {
        hotSpot->setFocusPolicy(Qt::TabFocus);
    }
    const std::vector<QWidget*> readingOrder = {lblFile,  lblOpen,  cmbFonts[0], cmbFonts[1], lblVersion,
                                                lblStart, lblQuick, lblQuestion, lblKorvane,  adbrowser};
    for (std::size_t i = 0; i + 1 < readingOrder.size(); ++i)
        setTabOrder(readingOrder[i], readingOrder[i + 1]);
    cmbFonts[0]->setFocus();  // where the focus has always started, rather than the first stop
    new FocusRing(this);
    new CaptionAnnouncer(this);
}

}  // namespace varnex::ui
