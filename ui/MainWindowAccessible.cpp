#include "MainWindowAccessible.h"

#include <QWidget>

namespace varnex::ui {

QString MainWindowAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return widget()->windowTitle();
    return QAccessibleWidget::text(t);
}

}  // namespace varnex::ui
