#include "WebAdvertPanel.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineSettings>

// Qt's own setter of the application-wide shared context (exported by Qt GUI).
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

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

// The web engine draws through a context shared with every other; Qt creates that shared
// context at start-up only when asked before the application exists, which costs every
// start the time of bringing up OpenGL. The panel is loaded seconds later, so it makes the
// context itself, the way Qt would have.
static void EnsureGlobalShareContext() {
    if (QOpenGLContext::globalShareContext()) return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    if (context->create()) qt_gl_set_global_share_context(context);
}

AdvertPanel* WebAdvertPanelFactory::Create(QWidget* parent, AdvertPanel::Handlers handlers) {
    EnsureGlobalShareContext();
    return new WebAdvertPanel(parent, std::move(handlers));
}

}  // namespace varnex::ui
