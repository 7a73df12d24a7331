#pragma once

#include <signal.h>

#include <filesystem>

namespace varnex::cli {

// SIGINT, SIGTERM and SIGHUP end the program at once with 128 + the signal's number, after
// removing the temporary file of an output being written (a blocked read cannot delay it).
// SIGXFSZ is ignored, so that a file size limit is a write failure like a full disk.
void InstallInterruptHandlers();

// While one lives, the interrupt handlers remove `temporary` before ending the program.
// Signals are held while the path is registered and while it is dropped, so that a
// temporary file renamed into place is never removed under its new name.
class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(const std::filesystem::path& temporary);
    ~TemporaryFileGuard();
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;
};

// Holds SIGINT, SIGTERM and SIGHUP for its lifetime (for a rename into place).
class SignalHold {
public:
    SignalHold();
    ~SignalHold();
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;

private:
    sigset_t previous_;
};

}  // namespace varnex::cli
