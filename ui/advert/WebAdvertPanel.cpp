#include "WebAdvertPanel.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickView>
#include <QUuid>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <iostream>

// Qt's own setter of the application-wide shared context (exported by Qt GUI).
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace varnex::ui {

WebAdvertPanel::WebAdvertPanel(QQuickView* view, Handlers handlers)
    : page_(view->rootObject()), handlers_(std::move(handlers)) {
    connect(page_, SIGNAL(arrived(QString)), this, SLOT(OnArrived(QString)));
    connect(page_, SIGNAL(loadingChanged(QWebEngineLoadingInfo)), this,
            SLOT(OnLoadingChanged(QWebEngineLoadingInfo)));
}

void WebAdvertPanel::Navigate2(const QUrl& url) { page_->setProperty("url", url); }

void WebAdvertPanel::OnArrived(const QString& url) {
    if (handlers_.navigateComplete2) handlers_.navigateComplete2(url);
}

// Arrivals come from the page itself (OnArrived); this reports the failures. Qt WebEngine
// gives the HTTP status of the page only, never of a frame.
void WebAdvertPanel::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus &&
        info.status() != QWebEngineLoadingInfo::LoadSucceededStatus) {
        return;
    }
    const bool httpStatus = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
    const int status = httpStatus ? info.errorCode() : 0;
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus && (!httpStatus || status < 400)) return;
    if (handlers_.navigateError)
        handlers_.navigateError(info.url().toString(), status != 0 ? status : info.errorCode());
}

namespace {

// The web engine draws through a context shared with every other; Qt creates that shared
// context at start-up only when asked before the application exists, which costs every
// start the time of bringing up OpenGL. The panel is loaded seconds later, so it makes the
// context itself, the way Qt would have.
void EnsureGlobalShareContext() {
    if (QOpenGLContext::globalShareContext()) return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    if (context->create()) qt_gl_set_global_share_context(context);
}

QQuickView* LoadPage() {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    auto* view = new QQuickView();
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    view->setInitialProperties({{"arrivalToken", QUuid::createUuid().toString(QUuid::WithoutBraces)}});
    view->setSource(QUrl("qrc:/varnex/advert/AdvertPage.qml"));
    if (view->status() == QQuickView::Ready && view->rootObject()) return view;
    for (const QQmlError& error : view->errors()) {
        std::cerr << "Varnex 2010: no advert panel: " << error.toString().toStdString() << "\n";
    }
    delete view;
    return nullptr;
}

}  // namespace

AdvertPanel* WebAdvertPanelFactory::Create(QWidget* parent, AdvertPanel::Handlers handlers) {
    EnsureGlobalShareContext();
    QQuickView* view = LoadPage();
    if (!view) return nullptr;
    // The panel's place becomes a native window; its siblings, the labels and lists over the
    // window's picture, stay drawn by the main window.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QWidget* container = QWidget::createWindowContainer(view, parent);
    container->setObjectName("adbrowserView");
    container->setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    auto* panel = new WebAdvertPanel(view, std::move(handlers));
    panel->setParent(container);
    return panel;
}

}  // namespace varnex::ui
