#include "HotSpotAccessible.h"

#include <QMetaObject>

namespace varnex::ui {

HotSpotAccessible::HotSpotAccessible(HotSpotLabel* label) : QAccessibleWidget(label) {}

HotSpotLabel* HotSpotAccessible::Label() const { return static_cast<HotSpotLabel*>(widget()); }

bool HotSpotAccessible::Pressable() const {
    return Label()->Kind() != HotSpotKind::Picture && !text(QAccessible::Name).isEmpty();
}

QAccessible::Role HotSpotAccessible::role() const {
    switch (Label()->Kind()) {
        case HotSpotKind::Button:
            return QAccessible::Button;
        case HotSpotKind::Link:
            return QAccessible::Link;
        case HotSpotKind::Picture:
            break;
    }
    return QAccessible::StaticText;
}

QString HotSpotAccessible::text(QAccessible::Text t) const {
    const HotSpotLabel* label = Label();
    switch (t) {
        case QAccessible::Name:
            return label->accessibleName().isEmpty() ? label->text() : label->accessibleName();
        case QAccessible::Description:
            return label->accessibleDescription().isEmpty() ? label->toolTip().trimmed()
                                                            : label->accessibleDescription();
        case QAccessible::Value:
            return ValueText();
        default:
            return QAccessibleWidget::text(t);
    }
}

QString HotSpotAccessible::ValueText() const {
    return Label()->accessibleName().isEmpty() ? QString() : Label()->text();
}

QAccessible::State HotSpotAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (text(QAccessible::Name).isEmpty()) state.invisible = true;
    return state;
}

QStringList HotSpotAccessible::actionNames() const {
    QStringList names;
    if (Pressable() && widget()->isEnabled()) names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

// The press comes back after the call: a click may open a modal box, and the caller (a
// screen reader across the accessibility bus) must get its answer before that box closes.
void HotSpotAccessible::doAction(const QString& action) {
    if (action != pressAction()) {
        QAccessibleWidget::doAction(action);
        return;
    }
    if (Pressable()) QMetaObject::invokeMethod(Label(), &HotSpotLabel::Click, Qt::QueuedConnection);
}

void* HotSpotAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface && Label()->Kind() != HotSpotKind::Picture) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

}  // namespace varnex::ui
