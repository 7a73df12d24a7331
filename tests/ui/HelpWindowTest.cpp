#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <QTimer>

#include "FrmHelp.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

class HelpWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        frm = MakeWindow();
        frm->Load();
    }
    // Opens the help window with a click on "?" and runs `whileOpen` inside its modal loop;
    // returns whether `whileOpen` closed it.
    bool OpenAnd(const std::function<void(ui::FrmHelp&)>& whileOpen) {
        bool closedByAction = false;
        QTimer::singleShot(0, [&] {
            ui::FrmHelp* help = frm->frmHelp;
            EXPECT_TRUE(help && help->isVisible() && help->isModal());
            if (!help) return;
            whileOpen(*help);
            closedByAction = !help->isVisible();
            if (help->isVisible()) help->hide();  // never leave the test waiting
        });
        QTest::mouseClick(frm->lblQuestion, Qt::LeftButton);
        return closedByAction;
    }

    std::unique_ptr<ui::FrmMain> frm;
};

TEST_F(HelpWindowTest, ShowsTheQuickConversionHelp) {
    EXPECT_EQ(frm->frmHelp, nullptr) << "created on first use";
    EXPECT_TRUE(OpenAnd([](ui::FrmHelp& help) {
        EXPECT_EQ(help.windowTitle(), "About Varnex");
        EXPECT_EQ(help.size(), QSize(400, 200));
        EXPECT_TRUE(help.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(help.lblTitle->text(), "Quick Conversion");
        EXPECT_TRUE(help.lblTitle->font().bold() && help.lblTitle->font().underline());
        if (!QFontDatabase::families().contains("Arial")) {
            EXPECT_EQ(QFontInfo(help.lblTitle->font()).family(), "Liberation Sans")
                << "standing in for Arial";
        }
        EXPECT_EQ(help.lblTitle->pos(), QPoint(21, 23));
        EXPECT_EQ(help.Label1->text(),
                  "This button allows you to convert any text with just 1 click. Copy the text you wish "
                  "to convert from any application and click this button.");
        EXPECT_EQ(help.Label2->text(),
                  "The copied text is directly converted into font of your choice so you can use it "
                  "anywhere by pasting it into any application.");
        EXPECT_TRUE(help.Label1->wordWrap() && help.Label2->wordWrap());
        QTest::keyClick(&help, Qt::Key_Escape);
    }));
}

TEST_F(HelpWindowTest, OpensCentredOverTheMainWindow) {
    frm->move(250, 120);
    EXPECT_TRUE(OpenAnd([&](ui::FrmHelp& help) {
        EXPECT_EQ(help.geometry().center(), frm->geometry().center());
        EXPECT_EQ(help.pos(), QPoint(250 + 100, 120 + 90));
        QTest::keyClick(&help, Qt::Key_Escape);
    }));
}

TEST_F(HelpWindowTest, OnlyEscAndEnterCloseItFromTheKeyboard) {
    EXPECT_TRUE(OpenAnd([](ui::FrmHelp& help) {
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_F1, Qt::Key_A, Qt::Key_Tab}) {
            QTest::keyClick(&help, key);
            EXPECT_TRUE(help.isVisible()) << key;
        }
        QTest::keyClick(&help, Qt::Key_Return);
    }));
    EXPECT_TRUE(OpenAnd([](ui::FrmHelp& help) { QTest::keyClick(&help, Qt::Key_Enter); }));
    EXPECT_EQ(ends, 0) << "Esc in the help window does not end the program";
    EXPECT_TRUE(OpenAnd([](ui::FrmHelp& help) { QTest::keyClick(&help, Qt::Key_Escape); }));
    EXPECT_EQ(ends, 0);
}

TEST_F(HelpWindowTest, AClickAnywhereClosesItAndTheSameWindowComesBack) {
    ui::FrmHelp* first = nullptr;
    EXPECT_TRUE(OpenAnd([&](ui::FrmHelp& help) {
        first = &help;
        QTest::mouseClick(help.Label1, Qt::LeftButton);
    }));
    EXPECT_TRUE(OpenAnd([&](ui::FrmHelp& help) {
        EXPECT_EQ(&help, first);
        QTest::mouseClick(help.lblTitle, Qt::LeftButton);
    }));
    EXPECT_TRUE(OpenAnd([](ui::FrmHelp& help) { QTest::mouseClick(help.Label2, Qt::RightButton); }));
    EXPECT_TRUE(
        OpenAnd([](ui::FrmHelp& help) { QTest::mouseClick(&help, Qt::LeftButton, {}, QPoint(390, 190)); }));
    EXPECT_EQ(frm->findChildren<ui::FrmHelp*>().size(), 1);
}

}  // namespace
}  // namespace varnex
