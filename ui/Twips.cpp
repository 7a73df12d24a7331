#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace varnex::ui {

namespace {
double Dpi(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96.0;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

// A stored position can hold any number; rounded straight into an int, a huge one wraps
// round to a place on the screen. Far beyond every screen is as good as any larger number:
// the loading steps pull the window back from there.
constexpr double kFarthestPixel = 1 << 24;

int ClampedPixels(double pixels) {
    if (std::isnan(pixels)) return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -kFarthestPixel, kFarthestPixel)));
}
}  // namespace

double TwipsPerPixelX() { return kTwipsPerInch / Dpi(true); }
double TwipsPerPixelY() { return kTwipsPerInch / Dpi(false); }
int PixelsX(double twips) { return ClampedPixels(twips / TwipsPerPixelX()); }
int PixelsY(double twips) { return ClampedPixels(twips / TwipsPerPixelY()); }

QRect PixelRect(double left, double top, double width, double height) {
    return QRect(PixelsX(left), PixelsY(top), PixelsX(width), PixelsY(height));
}

}  // namespace varnex::ui
