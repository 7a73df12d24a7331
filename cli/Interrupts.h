#pragma once

#include <signal.h>

#include <filesystem>
#include <functional>

#include "batch/BatchHooks.h"

namespace varnex::cli {

// SIGINT, SIGTERM and SIGHUP end the program at once with 128 + the signal's number, after
// removing the named temporary files of outputs being written (a blocked read cannot delay
// it). SIGXFSZ is ignored, so that a file size limit is a write failure like a full disk.
// Threads that convert block these signals (InterruptHooks), so the main thread handles them.
void InstallInterruptHandlers();

// Blocks the ending signals in the calling thread until it ends: for threads that convert,
// so that the main thread handles them.
void HoldSignalsForGood();

// What the interrupt handlers know of one thread's temporary files. A thread takes its slot
// on first use and gives it back when it ends.
class TemporarySlot {
public:
    // The calling thread's slot.
    static TemporarySlot& OfThisThread();

    // Runs `step`, which makes, names, renames or removes files: an ending signal that comes
    // meanwhile waits until the step is over, and once one has come no step begins (the
    // thread waits to be ended). Steps must be short: syncing belongs outside them.
    void Step(const std::function<void()>& step);
    // Within a step: this thread's named temporary file, which an ending signal removes, or
    // none (an empty path).
    void Name(const std::filesystem::path& temporary);

    struct State;
    explicit TemporarySlot(State& state) : state_(state) {}

private:
    State& state_;
};

// Holds SIGINT, SIGTERM and SIGHUP in the calling thread for its lifetime.
class SignalHold {
public:
    SignalHold();
    ~SignalHold();
    SignalHold(const SignalHold&) = delete;
    SignalHold& operator=(const SignalHold&) = delete;

private:
    sigset_t previous_;
};

// A batch's hooks for a program that ends on these signals: each thread's steps and named
// temporary file go through its slot, and the threads that convert block the signals.
class InterruptHooks : public BatchHooks {
public:
    void Step(const std::function<void()>& step) override;
    void NameTemporary(const std::filesystem::path& temporary) override;
    void StartWorkers(const std::function<void()>& start) override;
    void WorkerStarted() override;
};

}  // namespace varnex::cli
