#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/JobFiles.h"
#include "text/ByteSink.h"

namespace varnex {

// Thrown to an input that writes or waits after the output was given up.
class OutputAbandoned : public std::runtime_error {
public:
    OutputAbandoned() : std::runtime_error("the output was given up") {}
};

// The converted text of several inputs, converted at once on several threads, written into
// one output in the inputs' order: byte for byte what converting them one after the other
// writes. The input whose turn it is writes straight through; the others keep what they
// convert in memory, together at most `spoolLimit` bytes. Past that, an input goes on into a
// file without a name in `spillFolder` and is copied out at its turn; without a spill folder
// (or where no file can be made there) it waits for its turn. Each input's sink is used by one
// thread at a time.
class OrderedOutput {
public:
    OrderedOutput(NewFile& output, std::size_t inputs, std::uint64_t spoolLimit,
                  std::optional<std::filesystem::path> spillFolder = std::nullopt);
    ~OrderedOutput();
    OrderedOutput(const OrderedOutput&) = delete;
    OrderedOutput& operator=(const OrderedOutput&) = delete;

    // Where input `index` writes; `expected`: about how many bytes it will write, if known.
    // A write failure of the output gives the output up, and the input's writer gets the failure.
    // Throws OutputAbandoned once the output is given up.
    ByteSink& ForInput(std::size_t index, std::uint64_t expected = 0);
    // Input `index` is done: what it wrote stays and is written in its turn, also when its
    // conversion failed on the way (as it would have been, written straight through).
    void Finish(std::size_t index);
    // Every input that writes or waits from now on throws OutputAbandoned.
    void Abandon();
    // The first write failure of the output, or "".
    std::string Failure() const;

    class Slot;

private:
    friend class Slot;
    struct Buffer {
        std::unique_ptr<std::uint8_t[]> data;
        std::size_t capacity = 0;
    };
    Buffer TakeBuffer(std::size_t capacity);
    void GiveBack(Buffer buffer);
    void WaitForRoom(Slot& slot, std::size_t more, std::unique_lock<std::mutex>& lock);
    void TakeTurn(Slot& slot);
    void WriteSpool(Slot& slot);
    void FailedOutput(const std::exception& failure);
    bool Spill(Slot& slot, std::unique_lock<std::mutex>& lock);

    NewFile& output_;
    std::uint64_t spoolLimit_;
    std::optional<std::filesystem::path> spillFolder_;
    std::uint64_t spooled_ = 0;
    std::vector<std::unique_ptr<Slot>> slots_;
    std::vector<Buffer> free_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> abandoned_ = false;
    std::string failure_;
};

}  // namespace varnex
