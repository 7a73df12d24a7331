#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "jobs/StreamConversion.h"

namespace varnex::cli {

// A one-line progress report on a terminal: bytes done, rate and, when the size is known,
// time left. It shows only once the input is larger than kShownFrom, and at most ten
// times a second.
class ProgressBar : public StreamObserver {
public:
    static constexpr std::uint64_t kShownFrom = 4u << 20;

    // total: the input's size in bytes, 0 when it is not known (a pipe).
    ProgressBar(std::ostream& terminal, std::string name, std::uint64_t total);
    ~ProgressBar() override;

    void Advanced(std::uint64_t bytesIn) override;

private:
    using Clock = std::chrono::steady_clock;
    std::string Line(std::uint64_t done, double seconds) const;

    std::ostream& terminal_;
    std::string name_;
    std::uint64_t total_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastShown_{};
    bool shown_ = false;
};

// "1.5 GiB", "12.0 MiB", "512 B".
std::string ByteCount(std::uint64_t bytes);

}  // namespace varnex::cli
