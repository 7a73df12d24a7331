#include "HotSpotLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariant>

namespace varnex::ui {

HotSpotLabel::HotSpotLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void HotSpotLabel::SetCaption(const QString& caption) {
    if (caption == text()) return;
    setText(caption);
    emit captionChanged(caption);
}

void HotSpotLabel::Present(HotSpotKind kind, const QString& name, const QString& description) {
    kind_ = kind;
    setAccessibleName(name);
    setAccessibleDescription(description);
}

void HotSpotLabel::Click() {
    const QPoint middle = rect().center();
    emit pressed(Qt::LeftButton, middle);
    emit released(Qt::LeftButton, middle);
    emit clicked();
}

void HotSpotLabel::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), event->position().toPoint());
}

void HotSpotLabel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    emit released(event->button(), position);
    if (!afterDoubleClick_ && rect().contains(position)) emit clicked();
    afterDoubleClick_ = false;
}

void HotSpotLabel::mouseDoubleClickEvent(QMouseEvent*) {
    afterDoubleClick_ = true;
    emit doubleClicked();
}

void HotSpotLabel::keyPressEvent(QKeyEvent* event) {
    const bool pressKey =
        event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (kind_ == HotSpotKind::Picture || !pressKey || event->modifiers() & ~Qt::KeypadModifier) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) Click();
}

QString Tag(const QObject* object) { return object->property("Tag").toString(); }
void SetTag(QObject* object, const QString& tag) { object->setProperty("Tag", tag); }

}  // namespace varnex::ui
