#include "CaptionAnnouncer.h"

#include <QAccessible>
#include <QWidget>

namespace varnex::ui {

CaptionAnnouncer::CaptionAnnouncer(QWidget* window, int intervalMs)
    : QObject(window), window_(window), intervalMs_(intervalMs) {
    pending_.setSingleShot(true);
    connect(&pending_, &QTimer::timeout, this, &CaptionAnnouncer::Announce);
    connect(window, &QWidget::windowTitleChanged, this, &CaptionAnnouncer::OnCaptionChanged);
}

void CaptionAnnouncer::OnCaptionChanged() {
    if (pending_.isActive()) return;
    if (!sinceLast_.isValid() || sinceLast_.elapsed() >= intervalMs_) {
        Announce();
        return;
    }
    pending_.start(static_cast<int>(intervalMs_ - sinceLast_.elapsed()));
}

void CaptionAnnouncer::Announce() {
    sinceLast_.start();
    QAccessibleEvent event(window_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
    emit announced();
}

}  // namespace varnex::ui
