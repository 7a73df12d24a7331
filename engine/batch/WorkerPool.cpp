#include "batch/WorkerPool.h"

#include <sched.h>

#include <algorithm>

namespace varnex {

WorkerPool::WorkerPool(std::size_t count, unsigned threads, BatchHooks& hooks,
                       std::function<void(std::size_t)> task)
    : count_(count), task_(std::move(task)) {
    hooks.StartWorkers([&] {
        for (unsigned i = 0; i < threads; ++i) {
            threads_.emplace_back([this, &hooks] {
                hooks.WorkerStarted();
                Work();
            });
        }
    });
}

WorkerPool::~WorkerPool() { Wait(); }

void WorkerPool::Wait() {
    for (auto& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
}

void WorkerPool::Work() {
    for (std::size_t i = next_++; i < count_; i = next_++) task_(i);
}

unsigned ThreadCount(unsigned asked, std::size_t inputs) {
    cpu_set_t allowed;  // the processors this process may run on (taskset, a container's share)
    const int count = ::sched_getaffinity(0, sizeof allowed, &allowed) == 0 ? CPU_COUNT(&allowed) : 0;
    const unsigned processors =
        count > 0 ? static_cast<unsigned>(count) : std::max(1u, std::thread::hardware_concurrency());
    const unsigned wanted = asked ? asked : processors;
    return static_cast<unsigned>(std::clamp<std::size_t>(inputs, 1, wanted));
}

}  // namespace varnex
