#pragma once

#include <filesystem>
#include <functional>

namespace varnex {

// What only a program can do around a batch: keep the named temporary files of the outputs
// being written known to its signal handler, and set up the threads that convert. The
// defaults do nothing of the kind.
class BatchHooks {
public:
    virtual ~BatchHooks() = default;
    // Runs `step`, which makes, names, renames or removes the calling thread's output files;
    // a program that ends on a signal lets none end it meanwhile.
    virtual void Step(const std::function<void()>& step) { step(); }
    // Within a step: the calling thread's named temporary file from now on, or none (empty).
    virtual void NameTemporary(const std::filesystem::path&) {}
    // Runs `start`, which starts the worker threads: they begin with the caller's signal mask.
    virtual void StartWorkers(const std::function<void()>& start) { start(); }
    // The first thing each worker thread does.
    virtual void WorkerStarted() {}
};

}  // namespace varnex
