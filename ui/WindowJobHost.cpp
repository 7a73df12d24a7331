#include "WindowJobHost.h"

#include <chrono>

#include "FrmMain.h"
#include "Yield.h"

namespace varnex::ui {

void WindowJobHost::SetCaption(const std::string& caption) {
    window_.setWindowTitle(QString::fromStdString(caption));
}

void WindowJobHost::Yield() { YieldToEvents(); }

bool WindowJobHost::CancelRequested() const { return window_.CancelRequested; }

double WindowJobHost::Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string WindowJobHost::DecimalSeparator() const { return window_.locale().decimalPoint().toStdString(); }

}  // namespace varnex::ui
