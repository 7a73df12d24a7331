#include "WindowFonts.h"

namespace varnex::ui {

void InstallFontSubstitutes() {
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
}

QFont WindowFont() {
    QFont font("MS Sans Serif");
    font.setPointSizeF(8.25);
    return font;
}

QFont FontListFont() {
    QFont font = WindowFont();
    font.setBold(true);
    return font;
}

QFont FileFont() {
    QFont font("Arial");
    font.setPointSize(9);
    font.setBold(true);
    return font;
}

}  // namespace varnex::ui
