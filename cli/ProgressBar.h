#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "Messages.h"

namespace varnex::cli {

// The one progress line of a run on a terminal: for one input, its bytes done, rate and time
// left ("varnex: big.txt: 5.0 MiB of 8.0 MiB, 90.1 MiB/s, 0:01 left"); for a batch, the files
// done of all, then the same for the bytes of all ("varnex: 12 of 40 files, ..."). It shows
// once more than kShownFrom bytes are to be converted, at most ten times a second. Fed from
// any thread.
class ProgressBar {
public:
    static constexpr std::uint64_t kShownFrom = 4u << 20;

    // name: the one input's name, or "" for a batch of `files`. totalBytes: 0 when not known
    // (a pipe).
    ProgressBar(Messages& messages, std::string name, std::uint64_t totalBytes, std::size_t files);
    ~ProgressBar();

    void Advanced(std::uint64_t moreBytes);
    void FileDone();

private:
    using Clock = std::chrono::steady_clock;
    void ShowIfDue();
    std::string Line(std::uint64_t done, double seconds) const;

    Messages& messages_;
    std::string name_;
    std::uint64_t total_;
    std::size_t files_;
    std::atomic<std::uint64_t> done_{0};
    std::atomic<std::size_t> filesDone_{0};
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_{};
    bool shown_ = false;
    std::mutex showing_;
};

// "1.5 GiB", "12.0 MiB", "512 B".
std::string ByteCount(std::uint64_t bytes);

}  // namespace varnex::cli
