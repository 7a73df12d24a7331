// The advert panel and the home-page link.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QPluginLoader>
#include <iostream>

#include "FrmMain.h"
#include "MakerSite.h"
#include "Twips.h"

namespace varnex::ui {

namespace {

AdvertPanelFactory* LoadAdvertPanelModule() {
    QPluginLoader loader(QDir(QCoreApplication::applicationDirPath()).filePath("varnex_advert_panel.so"));
    auto* factory = qobject_cast<AdvertPanelFactory*>(loader.instance());
    if (!factory) std::cerr << "Varnex 2010: no advert panel: " << loader.errorString().toStdString() << "\n";
    return factory;
}

}  // namespace

QUrl FrmMain::AdvertPageUrl() { return QUrl(QString("http://") + kMakerHost + kAdvertPath); }
QUrl FrmMain::HomePageUrl() { return QUrl(QString("http://") + kMakerHost); }

void FrmMain::OnAdsTick() {
    tmrAds->stop();
    AdvertPanelFactory* factory = advertFactory ? advertFactory : LoadAdvertPanelModule();
    if (!factory) return;
    advertPanel =
        factory->Create(adbrowser, {[this](const QString& url) { OnNavigateComplete2(url); },
                                    [this](const QString&, int status) { OnNavigateError(status); }});
    if (!advertPanel) return;  // the module has said why
    // The panel's content takes the place's one tab stop.
    const auto content = adbrowser->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (!content.isEmpty()) adbrowser->setFocusProxy(content.first());
    advertPanel->Navigate2(advertUrl);
}

void FrmMain::OnNavigateComplete2(const QString& url) {
    if (url != "http:///") adbrowser->move(PixelsX(Tag(adbrowser).toDouble()), adbrowser->y());
}

void FrmMain::OnNavigateError(int status) {
    if (status == 404) adbrowser->move(width(), adbrowser->y());
}

void FrmMain::OpenHomePage() { QDesktopServices::openUrl(HomePageUrl()); }

}  // namespace varnex::ui
