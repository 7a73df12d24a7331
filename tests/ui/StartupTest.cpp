#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "ModCommon.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

using test::WindowTest;

QSize ScreenPixels() { return QGuiApplication::primaryScreen()->geometry().size(); }

TEST_F(WindowTest, FirstRunShowsTheFirstFontsAtTheInitialPlace) {
    auto frm = MakeWindow();
    frm->Load();
    EXPECT_TRUE(frm->isVisible());
    EXPECT_EQ(frm->cmbFonts[0]->currentIndex(), 0);
    EXPECT_EQ(frm->cmbFonts[1]->currentIndex(), 0);
    EXPECT_EQ(frm->cmbFonts[0]->count(), 11);
    EXPECT_EQ(frm->cmbFonts[1]->itemText(9), "GOST 7.79-B Latin");
    EXPECT_EQ(frm->cmbFonts[1]->itemText(10), "UTF-8") << "the Unicode font is listed like any other";
    EXPECT_EQ(frm->pos(), QPoint(97, 139));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(ends, 0);
}

TEST_F(WindowTest, RestoresFontsAndPosition) {
    ui::WriteSetting("FontOld", "CP866");
    ui::WriteSetting("FontNew", "MIK");
    ui::WriteSetting("WindowTop", "300");
    ui::WriteSetting("WindowLeft", "1500");
    auto frm = MakeWindow();
    frm->Load();
    EXPECT_EQ(frm->cmbFonts[0]->currentText(), "CP866");
    EXPECT_EQ(frm->cmbFonts[1]->currentText(), "MIK");
    EXPECT_EQ(frm->pos(), QPoint(100, 20));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WindowTest, AStaleFontLeavesItsListEmptyAndIsReportedOnce) {
    ui::WriteSetting("FontOld", "Arial Cyr");
    ui::WriteSetting("FontNew", "KOI8-U");
    ui::WriteSetting("WindowTop", "junk");
    ui::WriteSetting("WindowLeft", "1500");
    auto frm = MakeWindow();
    bool visibleDuringBox = true;
    dialogs.onShow = [&](const Message&) { visibleDuringBox = frm->isVisible(); };
    frm->Load();
    EXPECT_FALSE(visibleDuringBox) << "the box comes before the window is shown";
    EXPECT_EQ(frm->cmbFonts[0]->currentIndex(), -1);
    EXPECT_EQ(frm->cmbFonts[0]->currentText(), "");
    EXPECT_EQ(frm->cmbFonts[1]->currentText(), "KOI8-U");
    EXPECT_EQ(frm->pos(), QPoint(100, 139)) << "the junk top edge keeps its initial value";
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading Application");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_NE(dialogs.shown[0].text.find("junk"), std::string::npos) << "the most recent failure is shown";
    EXPECT_TRUE(frm->isVisible());
}

TEST_F(WindowTest, KeepsTheWindowOnTheScreenWhateverPositionIsStored) {
    const QSize screen = ScreenPixels();
    const QPoint farCorner(screen.width() - 600 - 1, screen.height() - 380 - 50);
    struct Case {
        QString top, left;
        QPoint expected;
    };
    const Case cases[] = {
        {QString::number(screen.height() * 15), QString::number(screen.width() * 15), farCorner},
        {"-45", "-300", QPoint(0, 0)},
        {QString::number((screen.height() - 380) * 15), "0",
         QPoint(0, screen.height() - 380)},  // exactly on the edge
        // far beyond any int of pixels: pulled back, never wrapped round
        {"4e10", "4e10", farCorner},
        {"-4e10", "-4e10", QPoint(0, 0)},
        {"1e30", "-1e30", QPoint(0, farCorner.y())},
        {"-4e10", "1e30", QPoint(farCorner.x(), 0)},
    };
    for (const auto& c : cases) {
        ui::WriteSetting("WindowTop", c.top);
        ui::WriteSetting("WindowLeft", c.left);
        auto frm = MakeWindow();
        frm->Load();
        EXPECT_EQ(frm->pos(), c.expected) << c.top.toStdString() << ", " << c.left.toStdString();
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WindowTest, InfiniteOrNotANumberPositionsKeepTheInitialPlaceAndAreReported) {
    for (const QString text : {"inf", "-inf", "nan"}) {
        dialogs.shown.clear();
        ui::WriteSetting("WindowTop", "300");
        ui::WriteSetting("WindowLeft", text);
        auto frm = MakeWindow();
        frm->Load();
        EXPECT_EQ(frm->pos(), QPoint(97, 20)) << text.toStdString();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading Application");
        EXPECT_NE(dialogs.shown[0].text.find(text.toStdString()), std::string::npos);
    }
}

TEST_F(WindowTest, ADamagedSettingsFileKeepsWhatItCanRead) {
    std::filesystem::create_directories(
        std::filesystem::path(test::SettingsFile().toStdString()).parent_path());
    test::WriteFile(test::SettingsFile().toStdString(),
                    "[ui_tests]\nfontold=CP866\n\x01\xFF[[[\n=\nwindowtop=\xFF\n");
    auto frm = MakeWindow();
    frm->Load();
    EXPECT_EQ(frm->cmbFonts[0]->currentText(), "CP866");
    EXPECT_EQ(frm->cmbFonts[1]->currentIndex(), 0);
    EXPECT_EQ(frm->pos(), QPoint(97, 139));
    ASSERT_EQ(dialogs.shown.size(), 1u) << "the damage is reported once";
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading Application");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(frm->isVisible());
}

TEST_F(WindowTest, AnUnreadableSettingsStoreGivesDefaultsAndOneBox) {
    std::filesystem::create_directories(
        test::SettingsFile().toStdString());  // a folder where the file belongs
    auto frm = MakeWindow();
    frm->Load();
    EXPECT_EQ(frm->cmbFonts[0]->currentIndex(), 0);
    EXPECT_EQ(frm->cmbFonts[1]->currentIndex(), 0);
    EXPECT_EQ(frm->pos(), QPoint(97, 139));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading Application");
    EXPECT_TRUE(frm->isVisible());
    std::filesystem::remove_all(test::SettingsFile().toStdString());
}

TEST_F(WindowTest, AMissingOrBadFontMapEndsTheProgram) {
    test::TempDir dir;
    test::WriteFile(dir / "corrupt.dll", "SQLite format 3");
    test::WriteFile(dir / "empty.dll", "");
    for (const auto& path : {dir / "missing.dll", dir / "corrupt.dll", dir / "empty.dll"}) {
        dialogs.shown.clear();
        ends = 0;
        auto frm = MakeWindow(path);
        bool visibleDuringBox = true;
        dialogs.onShow = [&](const Message&) { visibleDuringBox = frm->isVisible(); };
        frm->Load();
        EXPECT_FALSE(visibleDuringBox) << "nothing of the window shows behind the box";
        EXPECT_EQ(ends, 1) << path;
        EXPECT_FALSE(frm->isVisible());
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading Dll");
        EXPECT_EQ(dialogs.shown[0].text,
                  "Dynamic Link Library was not found.\r\nIf the problem presists, try not to touch the "
                  "system files "
                  "again.");
        EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(dialogs.shown[0].systemModal);
    }
}

TEST_F(WindowTest, EscAndExactlyAltF4EndTheProgram) {
    auto frm = MakeWindow();
    frm->Load();
    QTest::keyClick(frm->cmbFonts[0], Qt::Key_F4, Qt::ShiftModifier | Qt::AltModifier);
    QTest::keyClick(frm->cmbFonts[0], Qt::Key_F4, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(frm->cmbFonts[0], Qt::Key_F4);
    QTest::keyClick(frm->cmbFonts[0], Qt::Key_Return);
    EXPECT_EQ(ends, 0);
    QTest::keyClick(frm->cmbFonts[0], Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(ends, 1);
    QTest::keyClick(frm->cmbFonts[1], Qt::Key_Escape);
    EXPECT_EQ(ends, 2);
    QTest::keyClick(frm.get(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_EQ(ends, 3);
}

TEST_F(WindowTest, OneEscEndsTheProgramWhileAFontListIsOpen) {
    auto frm = MakeWindow();
    frm->Load();
    frm->cmbFonts[1]->showPopup();
    QWidget* dropDown = QApplication::activePopupWidget();
    ASSERT_NE(dropDown, nullptr);
    QWidget* receiver = dropDown->focusWidget() ? dropDown->focusWidget() : dropDown;
    QTest::keyClick(receiver, Qt::Key_Down);
    EXPECT_EQ(ends, 0) << "other keys go to the drop-down";
    QTest::keyClick(receiver, Qt::Key_Escape);
    EXPECT_EQ(ends, 1);
    frm->cmbFonts[1]->hidePopup();
}

TEST_F(WindowTest, TitleBarLabelsAndCloseRequests) {
    auto frm = MakeWindow();
    frm->Load();
    QTest::mouseClick(frm->lblMinimise, Qt::LeftButton);
    EXPECT_TRUE(frm->isMinimized());
    EXPECT_EQ(ends, 0);
    QTest::mouseClick(frm->lblExit, Qt::LeftButton);
    EXPECT_EQ(ends, 1);
    frm->close();
    EXPECT_EQ(ends, 2);
}

TEST_F(WindowTest, ActivationGivesTheLabelsTheFilePointer) {
    auto frm = MakeWindow();
    frm->Load();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(frm.get(), &activate);
    for (QWidget* label : {frm->lblKorvane, frm->lblMinimise, frm->lblExit, frm->lblOpen, frm->lblStart,
                           frm->lblQuick, frm->lblQuestion}) {
        EXPECT_EQ(label->cursor().hotSpot(), QPoint(10, 5)) << label->objectName().toStdString();
    }
    EXPECT_EQ(frm->lblTitleBar->cursor().shape(), Qt::SizeAllCursor);
}

TEST(SettingsStore, KeysIgnoreLetterCaseAndWritesReachTheDisk) {
    std::filesystem::remove(test::SettingsFile().toStdString());
    EXPECT_EQ(ui::ReadSetting("FontOld", "fallback"), "fallback");
    ui::WriteSetting("FontOld", "Mac Cyrillic");
    EXPECT_EQ(ui::ReadSetting("fontold", ""), "Mac Cyrillic");
    const std::string file = test::ReadFile(test::SettingsFile().toStdString());
    EXPECT_NE(file.find("[ui_tests]"), std::string::npos) << file;
    EXPECT_NE(file.find("fontold=Mac Cyrillic"), std::string::npos) << file;
    std::filesystem::remove(test::SettingsFile().toStdString());
}

TEST(SettingsStore, IsNamedAfterTheExecutableWithoutItsLastExtension) {
    EXPECT_EQ(ui::SettingsStoreName("/usr/lib/varnex2010/Varnex2010"), "varnex2010");
    EXPECT_EQ(ui::SettingsStoreName("/opt/tools/varnex.2010.exe"), "varnex.2010");
    EXPECT_EQ(ui::SettingsStoreName("C:/Program Files/Varnex 2010/Varnex2010.exe"), "varnex2010");
    EXPECT_EQ(ui::SettingsStoreName("/home/u/my.varnex.exe"), "my.varnex");
}

}  // namespace
}  // namespace varnex
