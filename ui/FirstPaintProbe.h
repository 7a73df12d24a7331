#pragma once

class QWidget;

namespace varnex::ui {

// For the start-up benchmark: when VARNEX_LAUNCH_NS holds the wall-clock time (ns since
// the epoch) at which the program was launched, prints the milliseconds from then to the
// window's first paint and ends the process. Without that variable it does nothing.
void WatchFirstPaint(QWidget& window);

}  // namespace varnex::ui
