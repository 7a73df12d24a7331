#pragma once

#include <thread>

namespace varnex::ui {

// The first window that shows text makes Qt read the system's font configuration and list its
// fonts. None of that needs the window, so it runs beside the start-up on a second thread:
// fontconfig's set-up while Qt connects to the display, then Qt's list of fonts while the
// window is built. Both are safe to share: fontconfig sets itself up once whichever thread asks
// first, and Qt guards its list of fonts with its own lock.
class StartupWarmUp {
public:
    StartupWarmUp();  // before the application object exists
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;
    ~StartupWarmUp();

    void ApplicationStarted();  // once the application object exists

private:
    void Wait();

    std::thread thread_;
};

}  // namespace varnex::ui
