#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLineEdit>
#include <QTest>

#include "UiTestSupport.h"

namespace varnex {
namespace {

class FakePanel : public ui::AdvertPanel {
public:
    explicit FakePanel(Handlers given) : handlers(std::move(given)) {}
    void Navigate2(const QUrl& url) override { navigations.push_back(url); }
    Handlers handlers;
    std::vector<QUrl> navigations;
};

class FakeFactory : public ui::AdvertPanelFactory {
public:
    ui::AdvertPanel* Create(QWidget* parent, ui::AdvertPanel::Handlers handlers) override {
        parents.push_back(parent);
        view = new QLineEdit(parent);  // stands for the web view, which takes the focus
        view->show();
        panel = std::make_unique<FakePanel>(std::move(handlers));
        return panel.get();
    }
    std::unique_ptr<FakePanel> panel;
    std::vector<QWidget*> parents;
    QWidget* view = nullptr;
};

// Stands in for the user's browser.
class UrlRecorder : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened.push_back(url); }

public:
    std::vector<QUrl> opened;
};

class AdvertTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        frm = MakeWindow();
        frm->advertFactory = &factory;
        frm->Load();
    }
    void Tick() { ASSERT_TRUE(QMetaObject::invokeMethod(frm->tmrAds, "timeout")); }
    int PanelLeft() const { return frm->adbrowser->x(); }

    FakeFactory factory;
    std::unique_ptr<ui::FrmMain> frm;
};

constexpr int kHome = 4335 / 15;
constexpr int kHidden = 600;

TEST_F(AdvertTest, TheAdvertIsLoadedOnceAtTheFirstTick) {
    EXPECT_TRUE(frm->tmrAds->isActive());
    EXPECT_EQ(frm->tmrAds->interval(), 3000);
    EXPECT_EQ(frm->advertPanel, nullptr) << "no web engine before the advert is due";
    Tick();
    EXPECT_FALSE(frm->tmrAds->isActive());
    ASSERT_EQ(factory.parents, std::vector<QWidget*>{frm->adbrowser});
    EXPECT_EQ(factory.panel->navigations,
              std::vector<QUrl>{QUrl("http://www.korvane.com/adverts/varnex.php")});
    EXPECT_EQ(PanelLeft(), kHidden) << "hidden until a page arrives";
}

TEST_F(AdvertTest, ThePanelMovesOnlyAsArrivalsAndNotFoundSay) {
    Tick();
    auto& handlers = factory.panel->handlers;
    handlers.navigateComplete2("http:///");
    EXPECT_EQ(PanelLeft(), kHidden);
    handlers.navigateError("http://www.korvane.com/adverts/varnex.php", 500);
    EXPECT_EQ(PanelLeft(), kHidden);
    handlers.navigateComplete2("HTTP:///");
    EXPECT_EQ(PanelLeft(), kHome);
    handlers.navigateError("http://ads.example/frame.html", 500);
    handlers.navigateError("http://ads.example/frame.html", 0);  // no connection
    EXPECT_EQ(PanelLeft(), kHome);
    handlers.navigateError("http://ads.example/frame.html", 404);
    EXPECT_EQ(PanelLeft(), kHidden);
    handlers.navigateComplete2("http:///x");
    EXPECT_EQ(PanelLeft(), kHome);
    EXPECT_EQ(frm->adbrowser->y(), 585 / 15) << "only the left edge ever changes";
    EXPECT_EQ(frm->adbrowser->size(), QSize(301, 331));
}

TEST_F(AdvertTest, TabGoesFromTheLinkToThePanelAsOneStop) {
    frm->activateWindow();
    QApplication::setActiveWindow(frm.get());
    const auto stopsAfter = [&](QWidget* start) {
        start->setFocus();
        std::vector<QWidget*> stops;
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops.push_back(QApplication::focusWidget());
        }
        return stops;
    };
    EXPECT_EQ(stopsAfter(frm->lblKorvane), (std::vector<QWidget*>{frm->adbrowser, frm->lblFile}))
        << "before the advert: the empty panel is the last stop";
    Tick();
    ASSERT_NE(factory.view, nullptr);
    const auto stops = stopsAfter(frm->lblKorvane);
    EXPECT_EQ(stops[0], factory.view) << "the panel's content is the panel's stop, not "
                                      << (stops[0] ? stops[0]->metaObject()->className() : "none");
    EXPECT_EQ(stops[1], frm->lblFile) << "and the only one inside it";
}

// A module that cannot build its panel (its page fails to load) has said why on stderr.
class FailingFactory : public ui::AdvertPanelFactory {
public:
    ui::AdvertPanel* Create(QWidget*, ui::AdvertPanel::Handlers) override { return nullptr; }
};

TEST_F(AdvertTest, APanelThatCannotBeBuiltLeavesThePlaceHiddenAndTheProgramRunning) {
    FailingFactory failing;
    frm->advertFactory = &failing;
    Tick();
    EXPECT_EQ(frm->advertPanel, nullptr);
    EXPECT_FALSE(frm->tmrAds->isActive()) << "not tried again";
    EXPECT_EQ(PanelLeft(), kHidden);
    EXPECT_EQ(frm->adbrowser->focusProxy(), nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(ends, 0);
}

TEST_F(AdvertTest, TheLinkOpensTheHomePageOncePerClick) {
    UrlRecorder browser;
    QDesktopServices::setUrlHandler("http", &browser, "open");
    QTest::mouseClick(frm->lblKorvane, Qt::LeftButton);
    QTest::mouseClick(frm->lblKorvane, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("http");
    EXPECT_EQ(browser.opened, std::vector<QUrl>(2, QUrl("http://www.korvane.com")));
    EXPECT_EQ(PanelLeft(), kHidden);
}

}  // namespace
}  // namespace varnex

#include "AdvertTest.moc"
