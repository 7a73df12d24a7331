#pragma once

#include <QRect>

namespace varnex::ui {

// Window positions and sizes are kept in twips (1/1440 inch), as the layout gives them.
inline constexpr double kTwipsPerInch = 1440.0;

double TwipsPerPixelX();
double TwipsPerPixelY();
int PixelsX(double twips);
int PixelsY(double twips);
// A rectangle given in twips, in pixels of the primary screen.
QRect PixelRect(double left, double top, double width, double height);

}  // namespace varnex::ui
