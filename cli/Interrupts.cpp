#include "Interrupts.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <optional>

#include "batch/BatchRequest.h"

namespace varnex::cli {

// One thread's slot. The handler reads `path` only while `named` is set and no step runs;
// a step writes it only while `busy` is set.
struct TemporarySlot::State {
    std::atomic<bool> taken{false};
    std::atomic<bool> busy{false};
    std::atomic<bool> named{false};
    char path[PATH_MAX + 1] = {};
};

namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler reads the slots");

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kSlots = kMostJobs + 8;  // the workers, the main thread and a margin

constinit TemporarySlot::State slots[kSlots];  // in zeroed memory: nothing to run or touch at start
constinit std::atomic<bool> ending{false};
thread_local bool signalsHeldForGood = false;

void EndOnSignal(int number) {
    ending.store(true);
    for (auto& slot : slots) {
        while (slot.busy.load()) {
        }
        if (slot.named.load()) ::unlink(slot.path);
    }
    ::_exit(128 + number);
}

sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int number : kEndingSignals) sigaddset(&set, number);
    return set;
}

TemporarySlot::State& TakeSlot() {
    for (auto& slot : slots) {
        bool free = false;
        if (slot.taken.compare_exchange_strong(free, true)) return slot;
    }
    ::abort();  // more threads than kMostJobs allows: a fault of the program
}

// Gives a thread's slot back when the thread ends.
struct SlotOwner {
    TemporarySlot::State& state = TakeSlot();
    TemporarySlot slot{state};
    ~SlotOwner() {
        state.named.store(false);
        state.taken.store(false);
    }
};

}  // namespace

void InstallInterruptHandlers() {
    struct sigaction action {};
    action.sa_handler = EndOnSignal;
    sigemptyset(&action.sa_mask);
    for (const int number : kEndingSignals) sigaddset(&action.sa_mask, number);
    for (const int number : kEndingSignals) ::sigaction(number, &action, nullptr);
    ::signal(SIGXFSZ, SIG_IGN);
}

TemporarySlot& TemporarySlot::OfThisThread() {
    thread_local SlotOwner owner;
    return owner.slot;
}

void HoldSignalsForGood() {
    const sigset_t set = EndingSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    signalsHeldForGood = true;
}

void TemporarySlot::Step(const std::function<void()>& step) {
    // the handler never waits for a step of its own thread
    std::optional<SignalHold> hold;
    if (!signalsHeldForGood) hold.emplace();
    state_.busy.store(true);
    if (ending.load()) {
        state_.busy.store(false);
        while (true) ::pause();
    }
    try {
        step();
    } catch (...) {
        state_.busy.store(false);
        throw;
    }
    state_.busy.store(false);
}

void TemporarySlot::Name(const std::filesystem::path& temporary) {
    const std::string& text = temporary.native();
    if (text.empty() || text.size() > PATH_MAX) {
        state_.named.store(false);
        return;
    }
    std::memcpy(state_.path, text.c_str(), text.size() + 1);
    state_.named.store(true);
}

SignalHold::SignalHold() {
    const sigset_t set = EndingSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

SignalHold::~SignalHold() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

void InterruptHooks::Step(const std::function<void()>& step) { TemporarySlot::OfThisThread().Step(step); }

void InterruptHooks::NameTemporary(const std::filesystem::path& temporary) {
    TemporarySlot::OfThisThread().Name(temporary);
}

void InterruptHooks::StartWorkers(const std::function<void()>& start) {
    const SignalHold hold;  // a new thread starts with its creator's signal mask
    start();
}

void InterruptHooks::WorkerStarted() { HoldSignalsForGood(); }

}  // namespace varnex::cli
