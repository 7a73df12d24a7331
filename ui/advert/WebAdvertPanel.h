#pragma once

#include <QObject>

#include "AdvertPanel.h"

class QQuickView;
class QWebEngineLoadingInfo;

namespace varnex::ui {

// The advert panel on Qt WebEngine, drawn by Qt Quick in a native window of its own inside
// the panel's place. A web view among the window's widgets would need the whole main window
// composed with OpenGL, and Qt would create the main window's native window anew for that
// when the advert arrives: the window would blink, lose its minimised state and its id.
class WebAdvertPanel : public QObject, public AdvertPanel {
    Q_OBJECT
public:
    // `view` shows the page (AdvertPage.qml) and is owned by the window container.
    WebAdvertPanel(QQuickView* view, Handlers handlers);
    void Navigate2(const QUrl& url) override;

private slots:
    void OnArrived(const QString& url);
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);

private:
    QObject* page_;
    Handlers handlers_;
};

class WebAdvertPanelFactory : public QObject, public AdvertPanelFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VARNEX_ADVERT_PANEL_FACTORY_IID)
    Q_INTERFACES(varnex::ui::AdvertPanelFactory)
public:
    AdvertPanel* Create(QWidget* parent, AdvertPanel::Handlers handlers) override;
};

}  // namespace varnex::ui
