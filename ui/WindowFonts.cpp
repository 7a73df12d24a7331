#include "WindowFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace varnex::ui {

namespace {

// Only installed families count: hasFamily() would also run the name through the system's
// substitution rules, which cost as much as the query this choice avoids.
QString InstalledOrStandIn(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive)
               ? family
               : QStringLiteral("Liberation Sans");
}

}  // namespace

QFont WindowFont() {
    QFont font(InstalledOrStandIn("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}

QFont FontListFont() {
    QFont font = WindowFont();
    font.setBold(true);
    return font;
}

QFont FileFont() { return ArialFont(9, true); }

QFont ArialFont(double points, bool bold) {
    QFont font(InstalledOrStandIn("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace varnex::ui
