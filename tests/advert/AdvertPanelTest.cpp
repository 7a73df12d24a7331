// The real advert panel module (the web engine) against a server of the test's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineLoadingInfo>

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
        server.Serve("/slowpicture", 200, "<html><body><h1>Advert</h1><img src='/silent'></body></html>");
        ui::SetEndProgramHandler([this] { ++ends; });
    }
    void TearDown() override { ui::SetEndProgramHandler({}); }

    // Starts the window with the advert at `url` and fires the advert timer.
    void StartWith(const QString& url) {
        frm = std::make_unique<ui::FrmMain>(dialogs, VARNEX_SHIPPED_FONT_MAP);
        frm->advertUrl = QUrl(url);
        frm->Load();
        ASSERT_TRUE(QMetaObject::invokeMethod(frm->tmrAds, "timeout"));
        ASSERT_NE(frm->adbrowser->findChild<QWidget*>("adbrowserView"), nullptr)
            << "the web engine module did not load";
        pageWindow = PageWindow();
        ASSERT_NE(pageWindow, nullptr);
        view = pageWindow->rootObject();
        loading = std::make_unique<QSignalSpy>(view, SIGNAL(loadingChanged(QWebEngineLoadingInfo)));
    }
    // The window that the web engine draws into.
    static QQuickView* PageWindow() {
        for (QWindow* window : QGuiApplication::allWindows()) {
            if (auto* quick = qobject_cast<QQuickView*>(window)) return quick;
        }
        return nullptr;
    }
    static QWindow* TopLevelOf(QWindow* window) {
        while (window && window->parent()) window = window->parent();
        return window;
    }
    int FinishedLoads() const {
        int count = 0;
        for (const QList<QVariant>& signal : *loading) {
            const QVariant& info = signal.at(0);
            if (info.metaType() != QMetaType::fromType<QWebEngineLoadingInfo>()) continue;
            count += static_cast<const QWebEngineLoadingInfo*>(info.constData())->status() !=
                     QWebEngineLoadingInfo::LoadStartedStatus;
        }
        return count;
    }
    bool WaitForLoads(int count) {
        return QTest::qWaitFor([&] { return FinishedLoads() >= count; }, kLoadTimeout);
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
    QQuickView* pageWindow = nullptr;
    QObject* view = nullptr;
    std::unique_ptr<QSignalSpy> loading;
    int ends = 0;
};

TEST_F(AdvertPanelTest, APageThatArrivesBringsThePanelHome) {
    StartWith(server.Url("/ok"));
    ASSERT_TRUE(WaitForLoads(1));
    EXPECT_EQ(PanelLeft(), kHome);
    EXPECT_EQ(server.requested.count("/ok"), 1) << "loaded once";
}

TEST_F(AdvertPanelTest, ThePanelComesHomeWhenThePageArrivesNotWhenAllOfItHasLoaded) {
    StartWith(server.Url("/slowpicture"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return PanelLeft() == kHome; }, kLoadTimeout))
        << "the panel is at " << PanelLeft();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requested.contains("/silent"); }, kLoadTimeout));
    QTest::qWait(200);
    EXPECT_EQ(FinishedLoads(), 0) << "the picture is still on its way";
    EXPECT_EQ(PanelLeft(), kHome);
}

TEST_F(AdvertPanelTest, ThePageIsDrawnInsideTheMainWindowWhichKeepsItsNativeWindow) {
    frm = std::make_unique<ui::FrmMain>(dialogs, VARNEX_SHIPPED_FONT_MAP);
    frm->advertUrl = QUrl(server.Url("/ok"));
    frm->Load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    const WId before = frm->winId();
    QWindow* const handleBefore = frm->windowHandle();
    ASSERT_TRUE(QMetaObject::invokeMethod(frm->tmrAds, "timeout"));
    view = (pageWindow = PageWindow()) ? pageWindow->rootObject() : nullptr;
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PanelLeft() == kHome; }, kLoadTimeout));
    QTest::qWait(200);
    EXPECT_EQ(TopLevelOf(pageWindow), frm->windowHandle()) << "the page is drawn inside the main window";
    EXPECT_EQ(frm->winId(), before);
    EXPECT_EQ(frm->windowHandle(), handleBefore);
    EXPECT_FALSE(frm->lblStart->internalWinId()) << "the labels over the picture stay drawn by the window";
    EXPECT_EQ(pageWindow->size(), QSize(301, 331));
    QTest::keyClick(pageWindow, Qt::Key_A);
    EXPECT_EQ(ends, 0);
    QTest::keyClick(pageWindow, Qt::Key_Escape);
    EXPECT_EQ(ends, 1) << "Esc in the panel ends the program too";
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
            return view->property("url").toUrl() == missing && FinishedLoads() >= 1 && PanelLeft() == kHidden;
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
