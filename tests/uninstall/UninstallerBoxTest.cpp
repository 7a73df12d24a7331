// The launcher's window without a setup log beside it: one critical box with its title and
// text, and the window's own title, size and icon.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "FrmMain.h"

namespace varnex::uninstall {
namespace {

TEST(UninstallerWindow, WithoutALogShowsOneCriticalBox) {
    int argc = 1;
    char name[] = "uninstaller_box_tests";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FrmMain frmMain;
    EXPECT_EQ(frmMain.windowTitle(), "Morvell Uninstaller");
    EXPECT_EQ(frmMain.size(), QSize(52, 2));  // 780 x 30 twips at 15 twips to the pixel
    EXPECT_FALSE(frmMain.windowIcon().isNull());
    EXPECT_FALSE(frmMain.isVisible());

    std::vector<QMessageBox*> boxes;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        boxes.push_back(box);
        if (!box) return;
        EXPECT_EQ(box->windowTitle(), "Uninstaller");
        EXPECT_EQ(box->text(), "Could not uninstall from here. Please use Add/Remove in Control Panel.");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    frmMain.Load();  // the test program's folder holds no ST6UNST.LOG
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front(), nullptr);
}

}  // namespace
}  // namespace varnex::uninstall
