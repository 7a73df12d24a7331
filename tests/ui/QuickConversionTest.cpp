#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "UiTestSupport.h"

namespace varnex {
namespace {

const char kFailureText[] = "Sorry while conversion of coppied data, an error occured. Please try again.";

class QuickConversionTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        frm = MakeWindow();
        frm->Load();
        Choose("KOI8-R", "Windows-1251");
        dialogs.onShow = [this](const Message&) {
            timerRanDuringBox = frm->tmrInstantConversionControl->isActive();
        };
    }
    void Choose(const QString& source, const QString& target) {
        frm->cmbFonts[0]->setCurrentText(source);
        frm->cmbFonts[1]->setCurrentText(target);
    }
    void Click() { QTest::mouseClick(frm->lblQuick, Qt::LeftButton); }
    void Tick() { ASSERT_TRUE(QMetaObject::invokeMethod(frm->tmrInstantConversionControl, "timeout")); }
    static QClipboard& Clipboard() { return *QGuiApplication::clipboard(); }
    bool Cooling() const { return frm->QuickBusy && frm->tmrInstantConversionControl->isActive(); }
    bool Held() const { return frm->QuickBusy && !frm->tmrInstantConversionControl->isActive(); }
    bool Idle() const { return !frm->QuickBusy && !frm->tmrInstantConversionControl->isActive(); }

    std::unique_ptr<ui::FrmMain> frm;
    bool timerRanDuringBox = false;
};

TEST_F(QuickConversionTest, ConvertsTheClipboardThenCoolsDown) {
    ASSERT_TRUE(Idle());
    EXPECT_EQ(frm->tmrInstantConversionControl->interval(), 1500);
    Clipboard().setText(QString::fromLatin1("\xF0\xD2\xC9\xD7\xC5\xD4, world\n"));  // KOI8-R "Привет"
    Click();
    EXPECT_EQ(Clipboard().text(), QString::fromLatin1("\xCF\xF0\xE8\xE2\xE5\xF2, world\n"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "The clipboard was converted from font KOI8-R to WINDOWS-1251");
    EXPECT_FALSE(timerRanDuringBox) << "the cooling starts after the box is closed";
    EXPECT_TRUE(Cooling());

    Click();
    EXPECT_EQ(dialogs.shown.size(), 1u) << "a click while cooling does nothing";
    Tick();
    EXPECT_TRUE(Idle());
    Click();
    EXPECT_EQ(dialogs.shown.size(), 2u) << "after the tick a click converts again";
}

TEST_F(QuickConversionTest, AWarningHoldsTheLockUntilAFontChanges) {
    Choose("CP866", "CP866");
    Clipboard().setText("abc");
    Click();
    EXPECT_EQ(dialogs.shown.at(0).text, "Please select a different font for conversion.");
    EXPECT_TRUE(Held());
    Click();
    EXPECT_EQ(dialogs.shown.size(), 1u);

    frm->cmbFonts[1]->setCurrentText("MIK");
    EXPECT_TRUE(Idle());
    Clipboard().setText("   ");
    Click();
    EXPECT_EQ(dialogs.shown.at(1).text, "Nothing coppied to the clipboard.");
    EXPECT_TRUE(Held());
    EXPECT_EQ(Clipboard().text(), "   ");
    frm->cmbFonts[0]->setCurrentText("KOI8-U");
    EXPECT_TRUE(Idle());
}

TEST_F(QuickConversionTest, AFontChangeWhileCoolingReleasesAtOnceAndTheTickStillComes) {
    Clipboard().setText("abc");
    Click();
    ASSERT_TRUE(Cooling());
    frm->cmbFonts[0]->setCurrentText("KOI8-U");
    EXPECT_FALSE(frm->QuickBusy);
    EXPECT_TRUE(frm->tmrInstantConversionControl->isActive());
    Click();
    EXPECT_EQ(dialogs.shown.size(), 2u);
    Tick();
    EXPECT_TRUE(Idle()) << "the tick clears the second conversion's lock early and stops the timer";
}

// The earlier run's rest, put off while this run shows its box, still frees the button
// after a warning; only a warning from the idle state holds it until a font changes.
TEST_F(QuickConversionTest, AWarningWhileAnEarlierRunCoolsIsFreedByThatCooling) {
    Clipboard().setText("abc");
    Click();
    ASSERT_TRUE(Cooling());
    frm->cmbFonts[0]->setCurrentText("KOI8-U");
    Clipboard().clear();
    Click();
    EXPECT_EQ(dialogs.shown.at(1).text, "Nothing coppied to the clipboard.");
    EXPECT_FALSE(timerRanDuringBox);
    EXPECT_TRUE(Cooling());
    Tick();
    EXPECT_TRUE(Idle());
    Clipboard().setText("abc");
    Click();
    EXPECT_EQ(dialogs.shown.size(), 3u);
}

TEST_F(QuickConversionTest, AnEarlierRunsTickDoesNotReleaseTheRunningConversion) {
    frm->tmrInstantConversionControl->setInterval(20);  // so its tick falls inside the next box
    Clipboard().setText("abc");
    Click();
    ASSERT_TRUE(Cooling());
    frm->cmbFonts[0]->setCurrentText("KOI8-U");
    ASSERT_FALSE(frm->QuickBusy);
    bool busyThroughTheBox = false;
    dialogs.onShow = [&](const Message&) {
        if (dialogs.shown.size() != 2) return;
        QTest::qWait(100);  // the earlier run's timer would have ticked by now
        busyThroughTheBox = frm->QuickBusy;
        Click();  // a click queued while the box is open
    };
    Clipboard().setText("abc");
    Click();
    EXPECT_TRUE(busyThroughTheBox);
    EXPECT_EQ(dialogs.shown.size(), 2u) << "no conversion inside the second one";
    EXPECT_TRUE(Cooling()) << "the second run's own tick is still to come";
}

TEST_F(QuickConversionTest, TextOutsideTheCodePageFailsAndStays) {
    for (const QString& text : {QString::fromUtf8("Жук"), QString(QChar(0)) + "a"}) {
        dialogs.shown.clear();
        Clipboard().setText(text);
        Click();
        EXPECT_EQ(Clipboard().text(), text);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, kFailureText);
        EXPECT_TRUE(Cooling());
        Tick();
    }
}

TEST_F(QuickConversionTest, AClipboardWithoutTextIsNothing) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    Clipboard().setImage(picture);
    Click();
    EXPECT_EQ(dialogs.shown.at(0).text, "Nothing coppied to the clipboard.");
    EXPECT_FALSE(Clipboard().image().isNull()) << "the picture stays";
}

TEST_F(QuickConversionTest, AFontMissingFromTheMapEndsTheProgram) {
    frm->cmbFonts[1]->setCurrentIndex(-1);
    Clipboard().setText("abc");
    Click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Varnex Error - Loading Fonts");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(dialogs.shown[0].systemModal);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(Clipboard().text(), "abc");
}

}  // namespace
}  // namespace varnex
