#include "FailingSync.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<int> failWith{0};

}  // namespace

extern "C" int fsync(int fd) {
    if (const int error = failWith.load()) {
        errno = error;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int syncfs(int fd) {
    if (const int error = failWith.load()) {
        errno = error;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_syncfs, fd));
}

namespace varnex::test {

FailingSync::FailingSync(int error) { failWith = error; }
FailingSync::~FailingSync() { failWith = 0; }

}  // namespace varnex::test
