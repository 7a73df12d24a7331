#include "HotSpotLabel.h"

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

QString Tag(const QObject* object) { return object->property("Tag").toString(); }
void SetTag(QObject* object, const QString& tag) { object->setProperty("Tag", tag); }

}  // namespace varnex::ui
