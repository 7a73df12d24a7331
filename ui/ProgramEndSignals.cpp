#include "ProgramEndSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

#include "ProgramEnd.h"

namespace varnex::ui {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};
struct sigaction previous[std::size(kSignals)];

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request to end.
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void DrainPipe() {
    char bytes[64];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace

EndProgramOnSignals::EndProgramOnSignals() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("cannot create the signal pipe");
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
        DrainPipe();
        EndProgram();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &previous[i]);
}

EndProgramOnSignals::~EndProgramOnSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
    notifier_.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

}  // namespace varnex::ui
