#include "Interrupts.h"

#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace varnex::cli {

namespace {

// Written only while the signals are held, read only by the handler.
char temporaryPath[PATH_MAX + 1];

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void EndOnSignal(int number) {
    if (temporaryPath[0] != '\0') ::unlink(temporaryPath);
    ::_exit(128 + number);
}

sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : kEndingSignals) sigaddset(&set, number);
    return set;
}

}  // namespace

void InstallInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = EndOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : kEndingSignals) sigaddset(&action.sa_mask, number);
    for (const int number : kEndingSignals) ::sigaction(number, &action, nullptr);
    ::signal(SIGXFSZ, SIG_IGN);
}

SignalHold::SignalHold() {
    const sigset_t set = EndingSignals();
    ::sigprocmask(SIG_BLOCK, &set, &previous_);
}

SignalHold::~SignalHold() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

TemporaryFileGuard::TemporaryFileGuard(const std::filesystem::path& temporary) {
    const SignalHold hold;
    const std::string& text = temporary.native();
    const std::size_t length = text.size() < PATH_MAX ? text.size() : PATH_MAX;
    std::memcpy(temporaryPath, text.data(), length);
    temporaryPath[length] = '\0';
}

TemporaryFileGuard::~TemporaryFileGuard() {
    const SignalHold hold;
    temporaryPath[0] = '\0';
}

}  // namespace varnex::cli
