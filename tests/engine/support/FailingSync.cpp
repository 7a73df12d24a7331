#include "FailingSync.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<int> failWith{0};
std::atomic<unsigned> failing{0};

// Whether `call` is to fail now; sets errno when it is.
bool Fails(unsigned call) {
    const int error = failWith.load();
    if (error == 0 || (failing.load() & call) == 0) return false;
    errno = error;
    return true;
}

}  // namespace

using varnex::test::FailingSync;

extern "C" int fsync(int fd) {
    if (Fails(FailingSync::kFsync)) return -1;
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int syncfs(int fd) {
    if (Fails(FailingSync::kSyncfs)) return -1;
    return static_cast<int>(::syscall(SYS_syncfs, fd));
}

extern "C" int sync_file_range(int fd, off64_t offset, off64_t count, unsigned int flags) {
    if (Fails(FailingSync::kSyncFileRange)) return -1;
    return static_cast<int>(::syscall(SYS_sync_file_range, fd, offset, count, flags));
}

namespace varnex::test {

FailingSync::FailingSync(int error, unsigned calls) {
    failing = calls;
    failWith = error;
}
FailingSync::~FailingSync() { failWith = 0; }

}  // namespace varnex::test
