// The real advert panel module (the web engine) against a server of the test's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "FrmMain.h"
#include "LoopbackServer.h"
#include "ProgramEnd.h"
#include "TestDatabase.h"
#include "Twips.h"

namespace varnex {
namespace {

constexpr int kHome = 4335 / 15;
constexpr int kHidden = 600;
constexpr int kLoadTimeout = 30000;

class AdvertPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.Serve("/ok", 200, "<html><body><h1>Advert</h1></body></html>");
        server.Serve("/missing", 404, "<html><body>not here</body></html>");
        server.Serve("/broken", 500, "<html><body>server error</body></html>");
        server.Serve("/away", 302, "", "Location: " + server.Url("/ok", "localhost").toLatin1() + "\r\n");
        server.Serve("/opener", 200,
                     "<html><body><a id='a' href='/ok' target='_blank'>x</a><script>"
                     "window.open('/ok'); window.open('/ok', 'named');"
                     "document.getElementById('a').click();</script></body></html>");
        server.Serve("/wanders", 200,
                     "<html><body><script>location.href = '/missing';</script></body></html>");
        ui::SetEndProgramHandler([] {});
    }
    void TearDown() override { ui::SetEndProgramHandler({}); }

    // Starts the window with the advert at `url` and fires the advert timer.
    void StartWith(const QString& url) {
        frm = std::make_unique<ui::FrmMain>(dialogs, VARNEX_SHIPPED_FONT_MAP);
        frm->advertUrl = QUrl(url);
        frm->Load();
        ASSERT_TRUE(QMetaObject::invokeMethod(frm->tmrAds, "timeout"));
        view = frm->adbrowser->findChild<QWidget*>("adbrowserView");
        ASSERT_NE(view, nullptr) << "the web engine module did not load";
        finished = std::make_unique<QSignalSpy>(view, SIGNAL(loadFinished(bool)));
    }
    bool WaitForLoads(int count) {
        return QTest::qWaitFor([&] { return finished->count() >= count; }, kLoadTimeout);
    }
    int PanelLeft() const { return frm->adbrowser->x(); }
    // As after an earlier arrival.
    void BringHome() { frm->adbrowser->move(kHome, frm->adbrowser->y()); }
    int TopLevelWindows() const {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) count += widget->isVisible();
        return count;
    }

    test::LoopbackServer server;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<ui::FrmMain> frm;
    QWidget* view = nullptr;
    std::unique_ptr<QSignalSpy> finished;
};

TEST_F(AdvertPanelTest, APageThatArrivesBringsThePanelHome) {
    StartWith(server.Url("/ok"));
    ASSERT_TRUE(WaitForLoads(1));
    EXPECT_EQ(PanelLeft(), kHome);
    EXPECT_EQ(server.requested.count("/ok"), 1) << "loaded once";
}

TEST_F(AdvertPanelTest, NotFoundHidesAndOtherFailuresLeaveThePanel) {
    StartWith(server.Url("/missing"));
    BringHome();
    ASSERT_TRUE(WaitForLoads(1));
    EXPECT_EQ(PanelLeft(), kHidden);

    StartWith(server.Url("/broken"));
    BringHome();
    ASSERT_TRUE(WaitForLoads(1));
    EXPECT_EQ(PanelLeft(), kHome) << "a 500 leaves the panel where it was";

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    StartWith(QString("http://127.0.0.1:%1/adverts/varnex.php").arg(port));
    ASSERT_TRUE(WaitForLoads(1));
    EXPECT_EQ(PanelLeft(), kHidden) << "a server that is down";
}

TEST_F(AdvertPanelTest, ARedirectToAnotherHostArrives) {
    StartWith(server.Url("/away"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return PanelLeft() == kHome; }, kLoadTimeout));
    EXPECT_TRUE(server.requested.contains("/ok"));
}

TEST_F(AdvertPanelTest, PagesCannotOpenWindows) {
    const int windowsBefore = TopLevelWindows();
    StartWith(server.Url("/opener"));
    ASSERT_TRUE(WaitForLoads(1));
    QTest::qWait(500);
    EXPECT_EQ(TopLevelWindows(), windowsBefore + 1) << "only the main window";
    EXPECT_EQ(view->property("url").toUrl(), QUrl(server.Url("/opener")));
    EXPECT_EQ(PanelLeft(), kHome);
}

TEST_F(AdvertPanelTest, APageThatNavigatesItselfToA404Hides) {
    StartWith(server.Url("/wanders"));
    const QUrl missing(server.Url("/missing"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return view->property("url").toUrl() == missing && finished->count() >= 1 &&
                   PanelLeft() == kHidden;
        },
        kLoadTimeout))
        << "the panel is at " << PanelLeft();
}

TEST_F(AdvertPanelTest, AServerThatNeverAnswersLeavesTheWindowResponsive) {
    StartWith(server.Url("/silent"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requested.contains("/silent"); }, kLoadTimeout));
    QTimer probe;
    int ticks = 0;
    QObject::connect(&probe, &QTimer::timeout, [&] { ++ticks; });
    probe.start(10);
    QTest::qWait(300);
    EXPECT_GT(ticks, 5) << "the event loop keeps running";
    EXPECT_EQ(PanelLeft(), kHidden);
}

}  // namespace
}  // namespace varnex
