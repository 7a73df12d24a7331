#include "FontListAccessible.h"

#include <QAbstractItemView>

namespace varnex::ui {

FontListAccessible::FontListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

QComboBox* FontListAccessible::List() const { return static_cast<QComboBox*>(widget()); }

QString FontListAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) return ValueText();
    return QAccessibleWidget::text(t);
}

QString FontListAccessible::ValueText() const { return List()->currentText(); }

QAccessible::State FontListAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.expandable = true;
    state.expanded = List()->view()->isVisible();
    state.collapsed = !state.expanded;
    return state;
}

int FontListAccessible::childCount() const { return 1; }

QAccessibleInterface* FontListAccessible::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
}

int FontListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && child->object() == static_cast<QObject*>(List()->view()) ? 0 : -1;
}

QStringList FontListAccessible::actionNames() const {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
}

// Both open the drop-down, or close it when it is open, as Qt's own combo box does.
void FontListAccessible::doAction(const QString& action) {
    if (action != showMenuAction() && action != pressAction()) {
        QAccessibleWidget::doAction(action);
        return;
    }
    if (List()->view()->isVisible()) {
        List()->hidePopup();
    } else {
        List()->showPopup();
    }
}

void* FontListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

}  // namespace varnex::ui
