#include "WebAdvertPanel.h"

#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>

namespace varnex::ui {

WebAdvertPanel::WebAdvertPanel(QWidget* parent, Handlers handlers)
    : QWebEngineView(parent), handlers_(std::move(handlers)) {
    setObjectName("adbrowserView");
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, true);
    connect(page(), &QWebEnginePage::loadingChanged, this, &WebAdvertPanel::OnLoadingChanged);
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(this);
}

void WebAdvertPanel::Navigate2(const QUrl& url) { load(url); }

QWebEngineView* WebAdvertPanel::createWindow(QWebEnginePage::WebWindowType) { return nullptr; }

void WebAdvertPanel::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
    const QString url = info.url().toString();
    const bool httpStatus = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
    const int status = httpStatus ? info.errorCode() : 0;
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && (!httpStatus || status < 400)) {
        if (handlers_.navigateComplete2) handlers_.navigateComplete2(url);
        return;
    }
    if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus) return;
    if (handlers_.navigateError) handlers_.navigateError(url, status != 0 ? status : info.errorCode());
}

AdvertPanel* WebAdvertPanelFactory::Create(QWidget* parent, AdvertPanel::Handlers handlers) {
    return new WebAdvertPanel(parent, std::move(handlers));
}

}  // namespace varnex::ui
