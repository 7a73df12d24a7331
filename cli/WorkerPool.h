#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace varnex::cli {

// Runs task(i) for every i below `count` on `threads` threads, each taking the next i in
// order, so that the lowest unfinished i is always being worked on. The threads block the
// ending signals, which the main thread handles. A task must not throw.
class WorkerPool {
public:
    WorkerPool(std::size_t count, unsigned threads, std::function<void(std::size_t)> task);
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

// The threads to convert with: `asked` (from -j), or one per processor; never more than
// there are inputs.
unsigned ThreadCount(unsigned asked, std::size_t inputs);

}  // namespace varnex::cli
