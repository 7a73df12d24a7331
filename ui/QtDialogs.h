#pragma once

#include <QPointer>
#include <QWidget>

#include "Dialogs.h"

namespace varnex::ui {

// The real message boxes and prompts. A box given no title shows "Varnex 2010". A
// system-modal box becomes an application-modal box that stays on top of other windows.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer Show(const Message& message) override;
    std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                       const std::string& preset) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace varnex::ui
