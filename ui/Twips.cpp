#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace varnex::ui {

namespace {
double Dpi(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}
}  // namespace

double TwipsPerPixelX() { return kTwipsPerInch / Dpi(true); }
double TwipsPerPixelY() { return kTwipsPerInch / Dpi(false); }
int PixelsX(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int PixelsY(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

QRect PixelRect(double left, double top, double width, double height) {
    return QRect(PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height));
}

}  // namespace varnex::ui
