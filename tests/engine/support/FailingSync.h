#pragma once

namespace varnex::test {

// While one of these lives, the chosen calls among fsync, syncfs and sync_file_range fail
// with the given error in this test program (which holds its own in place of the C
// library's): how a disk reports a write that it could not complete only when it is asked
// to sync.
class FailingSync {
public:
    enum Calls : unsigned { kFsync = 1, kSyncfs = 2, kSyncFileRange = 4, kAll = 7 };
    explicit FailingSync(int error, unsigned calls = kAll);
    ~FailingSync();
    FailingSync(const FailingSync&) = delete;
    FailingSync& operator=(const FailingSync&) = delete;
};

}  // namespace varnex::test
