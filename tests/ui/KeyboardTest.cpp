#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "CaptionAnnouncer.h"
#include "FrmHelp.h"
#include "UiTestSupport.h"

namespace varnex {
namespace {

// Stands in for the user's browser.
class LinkRecorder : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened.push_back(url); }

public:
    std::vector<QUrl> opened;
};

QColor FocusColour(const QWidget& window) {
    return window.palette().color(QPalette::Active, QPalette::Highlight);
}

// The focus colour on all four sides, two pixels outside the widget.
bool RingAround(QWidget& window, const QWidget* widget) {
    const QImage shot = window.grab().toImage();
    const QRect box = widget->geometry();
    const QColor ring = FocusColour(window);
    return shot.pixelColor(box.left() - 2, box.center().y()) == ring &&
           shot.pixelColor(box.right() + 2, box.center().y()) == ring &&
           shot.pixelColor(box.center().x(), box.top() - 2) == ring &&
           shot.pixelColor(box.center().x(), box.bottom() + 2) == ring;
}

int FocusColouredPixels(QWidget& window) {
    const QImage shot = window.grab().toImage();
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) count += shot.pixelColor(x, y) == FocusColour(window);
    }
    return count;
}

class KeyboardTest : public test::WindowWithFileDialog {
protected:
    void SetUp() override {
        WindowWithFileDialog::SetUp();
        frm->activateWindow();
        QApplication::setActiveWindow(frm.get());
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }
    static void Press(int key) { QTest::keyClick(Focused(), static_cast<Qt::Key>(key)); }
};

TEST_F(KeyboardTest, TabAndShiftTabVisitTheWindowInReadingOrder) {
    EXPECT_EQ(Focused(), frm->cmbFonts[0]) << "the focus starts where it always did";
    const std::vector<QWidget*> order = {frm->lblFile,   frm->lblOpen,  frm->cmbFonts[0], frm->cmbFonts[1],
                                         frm->lblStart,  frm->lblQuick, frm->lblQuestion, frm->lblKorvane,
                                         frm->adbrowser, frm->lblFile};
    frm->lblFile->setFocus();
    std::vector<QWidget*> forward{Focused()}, backward{Focused()};
    for (std::size_t i = 1; i < order.size(); ++i) {
        Press(Qt::Key_Tab);
        forward.push_back(Focused());
    }
    for (std::size_t i = 1; i < order.size(); ++i) {
        Press(Qt::Key_Backtab);
        backward.insert(backward.begin(), Focused());
    }
    EXPECT_EQ(forward, order);
    EXPECT_EQ(backward, order);
    for (QWidget* notAStop : {frm->lblTitleBar, frm->lblMinimise, frm->lblExit, frm->lblVersion}) {
        EXPECT_EQ(notAStop->focusPolicy(), Qt::NoFocus) << notAStop->objectName().toStdString();
    }
    EXPECT_EQ(frm->lblStart->focusPolicy(), Qt::TabFocus) << "a click gives a hot spot no focus";
}

class PressKeyTest : public KeyboardTest, public ::testing::WithParamInterface<int> {};

TEST_P(PressKeyTest, PressesTheFocusedHotSpot) {
    LinkRecorder browser;
    QDesktopServices::setUrlHandler("http", &browser, "open");
    int helpShown = 0;
    QApplication::clipboard()->setText("abc");
    const std::vector<std::pair<ui::HotSpotLabel*, std::function<std::size_t()>>> hotSpots = {
        {frm->lblFile, [&] { return fileDialog.titles.size(); }},
        {frm->lblOpen, [&] { return fileDialog.titles.size(); }},
        {frm->lblStart, [&] { return dialogs.shown.size(); }},  // "Please select a file for convertion."
        {frm->lblQuick, [&] { return dialogs.shown.size(); }},
        {frm->lblQuestion, [&] { return std::size_t(helpShown); }},
        {frm->lblKorvane, [&] { return browser.opened.size(); }},
    };
    for (const auto& [hotSpot, effects] : hotSpots) {
        const std::size_t before = effects();
        QApplication::setActiveWindow(frm.get());  // the help window took it
        hotSpot->setFocus(Qt::TabFocusReason);
        QTest::keyClick(hotSpot, Qt::Key_A);
        EXPECT_EQ(effects(), before) << "any other key does nothing";
        if (hotSpot == frm->lblQuestion) {
            QTimer::singleShot(0, frm.get(), [&] {  // inside the help window's modal loop
                if (!frm->frmHelp || !frm->frmHelp->isVisible()) return;
                ++helpShown;
                frm->frmHelp->hide();
            });
        }
        Press(GetParam());
        EXPECT_EQ(effects(), before + 1) << hotSpot->objectName().toStdString();
        EXPECT_EQ(frm->focusWidget(), hotSpot) << "the focus stays";
    }
    QDesktopServices::unsetUrlHandler("http");
    EXPECT_EQ(browser.opened, std::vector<QUrl>{QUrl("http://www.korvane.com")});
}

INSTANTIATE_TEST_SUITE_P(Keys, PressKeyTest, ::testing::Values(Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter));

TEST_F(KeyboardTest, TheCancelLabelIsAStopOnlyWhileAJobShowsIt) {
    frm->setWindowTitle("Remaining: 50%");  // a file job runs while the caption is not the normal one
    frm->lblVersion->SetCaption("Cancel File Convertion");
    frm->cmbFonts[1]->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), frm->lblVersion) << "between the target list and Start";
    dialogs.answers = {MessageAnswer::Yes};
    Press(Qt::Key_Space);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Are you sure you wan't to cancel?");
    EXPECT_TRUE(frm->CancelRequested);
    frm->lblVersion->SetCaption("");
    EXPECT_EQ(Focused(), frm->lblStart) << "the focus moves on when the label empties";
    EXPECT_EQ(frm->lblVersion->focusPolicy(), Qt::NoFocus);
}

using test::WindowWithFileDialog;

TEST_F(WindowWithFileDialog, NoFocusRingShowsBeforeTheWindowIsActive) {
    EXPECT_EQ(FocusColouredPixels(*frm), 0);
}

TEST_F(KeyboardTest, TheFocusRingShowsOnlyOnceTheKeyboardMovesTheFocus) {
    EXPECT_EQ(FocusColouredPixels(*frm), 0) << "a mouse user sees no ring";
    frm->lblQuick->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(FocusColouredPixels(*frm), 0);
    Press(Qt::Key_Tab);
    EXPECT_TRUE(RingAround(*frm, frm->lblQuestion));
    EXPECT_FALSE(RingAround(*frm, frm->lblQuick));
    Press(Qt::Key_Backtab);
    EXPECT_TRUE(RingAround(*frm, frm->lblQuick));
    Press(Qt::Key_Backtab);
    ASSERT_EQ(Focused(), frm->lblStart);
    EXPECT_TRUE(RingAround(*frm, frm->lblStart));
    Press(Qt::Key_Backtab);
    ASSERT_EQ(Focused(), frm->cmbFonts[1]);
    EXPECT_FALSE(RingAround(*frm, frm->lblStart)) << "the lists draw their own focus";
    Press(Qt::Key_Tab);
    const QPalette before = QApplication::palette();
    QPalette system = before;
    system.setColor(QPalette::Highlight, QColor(200, 30, 160));
    QApplication::setPalette(system);
    QCoreApplication::processEvents();
    EXPECT_TRUE(RingAround(*frm, frm->lblStart)) << "in the system's focus colour as it is now";
    QApplication::setPalette(before);
}

QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

TEST_F(KeyboardTest, AssistiveTechnologyReadsNamesRolesAndValues) {
    const QString quickTip = "Use Quick Conversion button to convert data in clipboard";
    const std::vector<std::tuple<QWidget*, QAccessible::Role, QString, QString>> expected = {
        {frm->lblFile, QAccessible::Button, "Source file", ""},
        {frm->lblOpen, QAccessible::Button, "Open", "Click here to select a file"},
        {frm->cmbFonts[0], QAccessible::ComboBox, "Source font", ""},
        {frm->cmbFonts[1], QAccessible::ComboBox, "Target font", ""},
        {frm->lblStart, QAccessible::Button, "Start", "Click here to convert selected file"},
        {frm->lblQuick, QAccessible::Button, "Quick Conversion", quickTip},
        {frm->lblQuestion, QAccessible::Button, "Help", quickTip},
        {frm->lblKorvane, QAccessible::Link, "Visit the Varnex home page", "http://www.korvane.com"},
        {frm->lblMinimise, QAccessible::Button, "Minimise", ""},
        {frm->lblExit, QAccessible::Button, "Exit", ""},
    };
    for (const auto& [widget, role, name, description] : expected) {
        QAccessibleInterface* control = Accessible(widget);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->role(), role) << name.toStdString();
        EXPECT_EQ(control->text(QAccessible::Name), name);
        EXPECT_EQ(control->text(QAccessible::Description), description) << name.toStdString();
        EXPECT_EQ(control->actionInterface()->actionNames().value(role == QAccessible::ComboBox),
                  QAccessibleActionInterface::pressAction())
            << name.toStdString();
    }
    EXPECT_EQ(Accessible(frm.get())->role(), QAccessible::Window);
    EXPECT_EQ(Accessible(frm.get())->text(QAccessible::Name), "Varnex 2010");
    EXPECT_TRUE(Accessible(frm->lblTitleBar)->state().invisible) << "it shows nothing and has no name";
    EXPECT_TRUE(Accessible(frm->lblVersion)->state().invisible);
    EXPECT_EQ(Accessible(frm->cmbFonts[0])->child(0)->object(),
              static_cast<QObject*>(frm->cmbFonts[0]->view()));

    frm->cmbFonts[1]->setCurrentText("CP866");
    fileDialog.answers = {"/tmp/texts/notes.draft.txt"};
    frm->lblFile->Click();
    for (const auto& [widget, value] :
         {std::pair<QWidget*, QString>{frm->lblFile, "notes.draft.txt"}, {frm->cmbFonts[1], "CP866"}}) {
        QAccessibleInterface* control = Accessible(widget);
        EXPECT_EQ(control->text(QAccessible::Value), value);
        ASSERT_NE(control->textInterface(), nullptr);
        EXPECT_EQ(control->textInterface()->text(0, -1), value)
            << "the value as a screen reader on Linux reads it";
        EXPECT_EQ(control->textInterface()->text(4, 7), value.mid(4, 3));
    }
    EXPECT_EQ(Accessible(frm->lblFile)->text(QAccessible::Description), "/tmp/texts/notes.draft.txt");
}

TEST_F(KeyboardTest, ThePressActionDoesWhatAClickDoesOnceTheCallHasReturned) {
    Accessible(frm->lblOpen)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(fileDialog.titles.empty()) << "a dialog must not hold up the caller's answer";
    QCoreApplication::processEvents();
    EXPECT_EQ(fileDialog.titles.size(), 1u);

    Accessible(frm->lblMinimise)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Accessible(frm->lblExit)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Accessible(frm->lblTitleBar)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frm->isMinimized());
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(frm->tmrFollowMouse->isActive()) << "the title bar has no press action";
}

TEST_F(KeyboardTest, TheWindowIsNamedByItsCaptionAlsoWhenMinimisedForAJob) {
    frm->setWindowTitle("Remaining: 42.5%");
    frm->showMinimized();
    EXPECT_EQ(Accessible(frm.get())->text(QAccessible::Name), "Remaining: 42.5%");
}

TEST_F(KeyboardTest, CaptionChangesAreToldAtMostOncePerInterval) {
    auto* ownAnnouncer = frm->findChild<ui::CaptionAnnouncer*>();
    ASSERT_NE(ownAnnouncer, nullptr);
    QSignalSpy toldOwn(ownAnnouncer, &ui::CaptionAnnouncer::announced);
    frm->setWindowTitle("Initiating...");
    EXPECT_EQ(toldOwn.count(), 1) << "the main window's first change is told at once";

    QWidget window;
    ui::CaptionAnnouncer announcer(&window, 300);
    QSignalSpy told(&announcer, &ui::CaptionAnnouncer::announced);
    QElapsedTimer clock;
    clock.start();
    for (const char* caption : {"Remaining: 99.99%", "Remaining: 99.98%", "Remaining: 99.97%"}) {
        window.setWindowTitle(caption);
    }
    EXPECT_EQ(told.count(), 1);
    QTest::qWait(50);
    if (clock.elapsed() < 300) {
        EXPECT_EQ(told.count(), 1) << "not again within the interval";
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return told.count() == 2; }, 5000)) << "the burst's last change";
    QTest::qWait(400);
    EXPECT_EQ(told.count(), 2) << "once";
}

}  // namespace
}  // namespace varnex

#include "KeyboardTest.moc"
