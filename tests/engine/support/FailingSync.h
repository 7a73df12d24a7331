#pragma once

namespace varnex::test {

// While one of these lives, fsync and syncfs fail with the given error in this test program
// (which holds its own in place of the C library's): how a disk reports a write that it could
// not complete only when it is asked to sync.
class FailingSync {
public:
    explicit FailingSync(int error);
    ~FailingSync();
    FailingSync(const FailingSync&) = delete;
    FailingSync& operator=(const FailingSync&) = delete;
};

}  // namespace varnex::test
