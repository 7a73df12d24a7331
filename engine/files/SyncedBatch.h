#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

namespace varnex {

// The outputs of a batch, synced and put in place in groups. Syncing ten thousand small files
// one by one costs a journal commit each; here each group costs one syncfs per filesystem
// before any of its outputs gets its name, and one after, for the names. An output still
// appears only once it is complete and on the disk. syncfs reports only the write errors of
// its filesystem since its own descriptor was opened; each output's own are asked of the
// output after it (sync_file_range, which then has nothing to write). Should either report
// a write error,
// the outputs of that filesystem are synced one by one, so that the failure is told of the
// file it hit and the others are placed. Add() may be called from several threads.
class SyncedBatch {
public:
    // One output waiting for its group.
    class Output {
    public:
        virtual ~Output() = default;
        // An open descriptor of the new file, whatever its filesystem.
        virtual int Descriptor() const = 0;
        // Syncs, places and syncs its folder: the output alone. Throws Failure.
        virtual void Commit() = 0;
        // Puts the output in place, its data already synced. Throws Failure.
        virtual void Place() = 0;
        // Told once, after the output is in place or after it failed.
        virtual void Placed() = 0;
        virtual void Failed(const std::exception& failure) = 0;
    };

    // A group is synced and placed when it holds `groupFiles` outputs or `groupBytes` bytes.
    SyncedBatch(std::size_t groupFiles, std::uint64_t groupBytes);
    ~SyncedBatch();
    SyncedBatch(const SyncedBatch&) = delete;
    SyncedBatch& operator=(const SyncedBatch&) = delete;

    // The output is complete: its bytes written to the file, nothing buffered.
    void Add(std::unique_ptr<Output> output, std::uint64_t bytes);
    // Syncs and places what is waiting.
    void Finish();

private:
    using Group = std::vector<std::unique_ptr<Output>>;
    static void Flush(Group group);

    std::mutex mutex_;
    Group waiting_;
    std::uint64_t waitingBytes_ = 0;
    std::size_t groupFiles_;
    std::uint64_t groupBytes_;
};

// How many outputs a group may hold when `threads` threads convert at once: each waiting
// output holds a descriptor open. Raises the soft limit of open files to the hard one.
std::size_t BatchGroupFiles(unsigned threads);

}  // namespace varnex
