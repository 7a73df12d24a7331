#pragma once

#include <QWebEngineView>

#include "AdvertPanel.h"

namespace varnex::ui {

// The advert panel on Qt WebEngine.
class WebAdvertPanel : public QWebEngineView, public AdvertPanel {
    Q_OBJECT
public:
    WebAdvertPanel(QWidget* parent, Handlers handlers);
    void Navigate2(const QUrl& url) override;

protected:
    // Pages cannot open windows (window.open, target=_blank): nothing leaves the panel.
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;

private:
    void OnLoadingChanged(const class QWebEngineLoadingInfo& info);

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
