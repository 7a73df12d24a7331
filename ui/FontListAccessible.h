#pragma once

#include <QAccessibleWidget>
#include <QComboBox>

#include "AccessibleValueText.h"

namespace varnex::ui {

// A font list as assistive technology sees it: a combo box named by its accessible name
// whose value is the chosen font, with its drop-down list as its one child. Qt's own combo
// box on Linux is named by its value alone, so a reader cannot tell the two lists apart.
class FontListAccessible : public QAccessibleWidget, public AccessibleValueText {
public:
    explicit FontListAccessible(QComboBox* list);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;
    void* interface_cast(QAccessible::InterfaceType type) override;

protected:
    QString ValueText() const override;

private:
    QComboBox* List() const;
};

}  // namespace varnex::ui
