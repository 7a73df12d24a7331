#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

#include "batch/BatchHooks.h"

namespace varnex {

// Runs task(i) for every i below `count` on `threads` threads, each taking the next i in
// order, so that the lowest unfinished i is always being worked on. The threads are started
// and begin through the hooks (a program blocks its ending signals in them). A task must not
// throw.
class WorkerPool {
public:
    WorkerPool(std::size_t count, unsigned threads, BatchHooks& hooks, std::function<void(std::size_t)> task);
    ~WorkerPool();  // waits for the tasks
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void Wait();

private:
    void Work();

    std::size_t count_;
    std::function<void(std::size_t)> task_;
    std::atomic<std::size_t> next_{0};
    std::vector<std::thread> threads_;
};

// The threads to convert with: `asked`, or (for 0) one per processor; never more than
// there are inputs.
unsigned ThreadCount(unsigned asked, std::size_t inputs);

}  // namespace varnex
