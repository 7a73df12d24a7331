#include "FocusRing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

#include "HotSpotLabel.h"

namespace varnex::ui {

FocusRing::FocusRing(QWidget* window) : QFocusFrame(window), window_(window) {
    setObjectName("focusRing");
    hide();
    qApp->installEventFilter(this);
}

FocusRing::~FocusRing() { qApp->removeEventFilter(this); }

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
        Follow(static_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)->reason());
    }
    return QFocusFrame::eventFilter(watched, event);
}

// The hot spots never move, so the ring takes its place once, beside the hot spot.
void FocusRing::Follow(QWidget* focused, Qt::FocusReason reason) {
    if (focused->window() != window_) return;
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) keyboardUsed_ = true;
    auto* hotSpot = qobject_cast<HotSpotLabel*>(focused);
    if (!keyboardUsed_ || !hotSpot || hotSpot->Kind() == HotSpotKind::Picture) {
        hide();
        return;
    }
    setParent(hotSpot->parentWidget());
    setGeometry(hotSpot->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
    clearMask();
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Base), 1));
    painter.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), kWidth));
    painter.drawRoundedRect(outer, 4, 4);
}

}  // namespace varnex::ui
