#include "files/SyncedBatch.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

namespace varnex {

namespace {

constexpr std::size_t kMostGroupFiles = 512;
constexpr rlim_t kSpareDescriptors = 64;

void Tell(SyncedBatch::Output& output, void (SyncedBatch::Output::*step)()) {
    try {
        (output.*step)();
        output.Placed();
    } catch (const std::exception& failure) {
        output.Failed(failure);
    }
}

// After its filesystem's sync: whether writing the file back met an error. The wait reports
// (once) the error that the writeback left on the file's pages, which syncfs reports only to
// descriptors opened before it happened; it issues no flush of the disk's cache.
bool WrittenWell(int fd) {
    constexpr unsigned kWriteAndWait =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    return ::sync_file_range(fd, 0, 0, kWriteAndWait) == 0;
}

}  // namespace

SyncedBatch::SyncedBatch(std::size_t groupFiles, std::uint64_t groupBytes)
    : groupFiles_(std::max<std::size_t>(groupFiles, 1)), groupBytes_(groupBytes) {}

SyncedBatch::~SyncedBatch() { Finish(); }

void SyncedBatch::Add(std::unique_ptr<Output> output, std::uint64_t bytes) {
    Group full;
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(output));
        waitingBytes_ += bytes;
        if (waiting_.size() < groupFiles_ && waitingBytes_ < groupBytes_) return;
        full.swap(waiting_);
        waitingBytes_ = 0;
    }
    Flush(std::move(full));
}

void SyncedBatch::Finish() {
    Group rest;
    {
        const std::lock_guard lock(mutex_);
        rest.swap(waiting_);
        waitingBytes_ = 0;
    }
    Flush(std::move(rest));
}

void SyncedBatch::Flush(Group group) {
    if (group.size() == 1) {  // alone, a file's own sync costs less than its filesystem's
        Tell(*group.front(), &Output::Commit);
        return;
    }
    std::map<dev_t, std::vector<Output*>> byDevice;
    for (const auto& output : group) {
        struct stat info {};
        ::fstat(output->Descriptor(), &info);
        byDevice[info.st_dev].push_back(output.get());
    }
    for (const auto& [device, outputs] : byDevice) {
        // a descriptor of its own: placing an output closes the output's
        const int fd = ::dup(outputs.front()->Descriptor());
        const bool synced = fd >= 0 && ::syncfs(fd) == 0;
        for (Output* output : outputs)
            Tell(*output, synced && WrittenWell(output->Descriptor()) ? &Output::Place : &Output::Commit);
        if (fd < 0) continue;
        ::syncfs(fd);  // the new names; a folder that cannot be synced loses nothing
        ::close(fd);
    }
}

std::size_t BatchGroupFiles(unsigned threads) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    if (limit.rlim_cur == RLIM_INFINITY) return kMostGroupFiles;
    const rlim_t spare = limit.rlim_cur > kSpareDescriptors ? limit.rlim_cur - kSpareDescriptors : 1;
    // every thread may hold a full group while it syncs it, and one more is filling
    return std::clamp<std::size_t>(spare / (threads + 1), 1, kMostGroupFiles);
}

}  // namespace varnex
