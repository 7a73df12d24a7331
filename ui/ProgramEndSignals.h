#pragma once

#include <QSocketNotifier>
#include <memory>

namespace varnex::ui {

// While it lives, SIGTERM, SIGINT and SIGHUP (a logout, a kill) end the program as a close
// request does. The signal handler only writes to a pipe; the ending itself runs when the
// event loop next processes events (the main loop, a dialog, a file job's yield), so it
// comes between two of a job's blocks, never inside one.
class EndProgramOnSignals {
public:
    EndProgramOnSignals();
    // Puts back the handlers that were there before.
    ~EndProgramOnSignals();
    EndProgramOnSignals(const EndProgramOnSignals&) = delete;
    EndProgramOnSignals& operator=(const EndProgramOnSignals&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace varnex::ui
