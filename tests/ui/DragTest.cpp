#include <gtest/gtest.h>

#include <QCursor>
#include <QTest>

#include "ModCommon.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

class DragTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        frm = MakeWindow();
        frm->Load();
    }
    void Press(Qt::MouseButton button, QPoint inLabel) {
        QCursor::setPos(frm->mapToGlobal(inLabel));
        QTest::mousePress(frm->lblTitleBar, button, {}, inLabel);
    }
    void MovePointerBy(int dx, int dy) { QCursor::setPos(QCursor::pos() + QPoint(dx, dy)); }
    void Tick() { ASSERT_TRUE(QMetaObject::invokeMethod(frm->tmrFollowMouse, "timeout")); }
    void Release(Qt::MouseButton button) {
        QTest::mouseRelease(frm->lblTitleBar, button, {}, frm->lblTitleBar->mapFromGlobal(QCursor::pos()));
    }

    std::unique_ptr<ui::FrmMain> frm;
};

TEST_F(DragTest, TheWindowFollowsThePointerWithAnyButton) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        const QPoint start = frm->pos();
        Press(button, QPoint(20, 10));  // 300 twips from the left edge
        EXPECT_FLOAT_EQ(frm->DragOffsetX, 300);
        EXPECT_FLOAT_EQ(frm->DragOffsetY, 150);
        EXPECT_TRUE(frm->tmrFollowMouse->isActive());
        MovePointerBy(100, 0);
        Tick();
        EXPECT_EQ(frm->pos(), start + QPoint(100, 0)) << button;
        EXPECT_EQ(frm->mapFromGlobal(QCursor::pos()), QPoint(20, 10)) << "the pointer keeps its place";
        Release(button);
        EXPECT_FALSE(frm->tmrFollowMouse->isActive());
        EXPECT_EQ(ui::ReadSetting("WindowLeft", ""), QString::number((start.x() + 100) * 15));
    }
}

TEST_F(DragTest, APressAndReleaseWithoutMovingStoresThePosition) {
    Press(Qt::LeftButton, QPoint(5, 5));
    Release(Qt::LeftButton);
    EXPECT_EQ(ui::ReadSetting("WindowLeft", ""), "1455");
    EXPECT_EQ(ui::ReadSetting("WindowTop", ""), "2085");
}

TEST_F(DragTest, NothingKeepsTheWindowOnTheScreenDuringADrag) {
    Press(Qt::LeftButton, QPoint(30, 20));
    QCursor::setPos(QPoint(10, 5));
    Tick();
    Release(Qt::LeftButton);
    EXPECT_EQ(frm->pos(), QPoint(-20, -15));
    EXPECT_EQ(ui::ReadSetting("WindowTop", ""), "-225");
    EXPECT_EQ(ui::ReadSetting("WindowLeft", ""), "-300");
}

TEST_F(DragTest, ADoubleClickStartsTheDragAgain) {
    Press(Qt::LeftButton, QPoint(20, 10));
    Release(Qt::LeftButton);
    ASSERT_FALSE(frm->tmrFollowMouse->isActive());
    // the second press lands a little off the first, as a real double-click does
    MovePointerBy(6, 4);
    QTest::mouseEvent(QTest::MouseDClick, frm->lblTitleBar, Qt::LeftButton, {}, QPoint(26, 14));
    EXPECT_TRUE(frm->tmrFollowMouse->isActive());
    EXPECT_FLOAT_EQ(frm->DragOffsetX, 300) << "the offsets of the first press";
    EXPECT_FLOAT_EQ(frm->DragOffsetY, 150);
    MovePointerBy(0, 40);
    Tick();
    Release(Qt::LeftButton);
    EXPECT_EQ(ui::ReadSetting("WindowLeft", ""), QString::number(1455 + 6 * 15));
    EXPECT_EQ(ui::ReadSetting("WindowTop", ""), QString::number(2085 + 44 * 15));
    EXPECT_FALSE(frm->isMaximized());
}

TEST_F(DragTest, AStoreThatCannotBeWrittenEndsTheDragQuietly) {
    std::filesystem::create_directories(test::SettingsFile().toStdString());  // a folder where the file goes
    Press(Qt::LeftButton, QPoint(20, 10));
    MovePointerBy(15, 0);
    Tick();
    Release(Qt::LeftButton);
    EXPECT_FALSE(frm->tmrFollowMouse->isActive());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(ends, 0);
}

}  // namespace
}  // namespace varnex
