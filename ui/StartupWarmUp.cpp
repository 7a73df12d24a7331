#include "StartupWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QStringList>

namespace varnex::ui {

StartupWarmUp::StartupWarmUp() : thread_([] { FcInit(); }) {}

StartupWarmUp::~StartupWarmUp() { Wait(); }

void StartupWarmUp::ApplicationStarted() {
    Wait();
    thread_ = std::thread([] { QFontDatabase::families(); });
}

void StartupWarmUp::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace varnex::ui
