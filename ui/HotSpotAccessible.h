#pragma once

#include <QAccessibleWidget>

#include "AccessibleValueText.h"
#include "HotSpotLabel.h"

namespace varnex::ui {

// A hot spot as assistive technology sees it: a button or a link with a name, a description
// and a press action that does what a click does, or a piece of text. A hot spot that shows
// nothing and has no name is left out of what a screen reader reads.
class HotSpotAccessible : public QAccessibleWidget, public AccessibleValueText {
public:
    explicit HotSpotAccessible(HotSpotLabel* label);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    void* interface_cast(QAccessible::InterfaceType type) override;

protected:
    QString ValueText() const override;

private:
    HotSpotLabel* Label() const;
    bool Pressable() const;
};

}  // namespace varnex::ui
