#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <QtPlugin>
#include <functional>

namespace varnex::ui {

// The web panel that shows the maker's advert page. The web engine is large and slow to
// start, so the panel lives in a module that the window loads only when the advert is due.
class AdvertPanel {
public:
    struct Handlers {
        // A navigation in the panel has arrived, at this address.
        std::function<void(const QString& url)> navigateComplete2;
        // A navigation in the panel failed; for a server's answer, its HTTP status.
        std::function<void(const QString& url, int status)> navigateError;
    };
    virtual ~AdvertPanel() = default;
    // Starts loading the address and returns at once.
    virtual void Navigate2(const QUrl& url) = 0;
};

class AdvertPanelFactory {
public:
    virtual ~AdvertPanelFactory() = default;
    // A panel that fills `parent` (which owns it): no bars, no new windows, no navigation
    // to dropped links or files.
    virtual AdvertPanel* Create(QWidget* parent, AdvertPanel::Handlers handlers) = 0;
};

}  // namespace varnex::ui

#define VARNEX_ADVERT_PANEL_FACTORY_IID "org.varnex.AdvertPanelFactory/1.0"
Q_DECLARE_INTERFACE(varnex::ui::AdvertPanelFactory, VARNEX_ADVERT_PANEL_FACTORY_IID)
