#include "ProgressBar.h"

#include <cstdio>
#include <ostream>

namespace varnex::cli {

namespace {

constexpr auto kShowEvery = std::chrono::milliseconds(100);

std::string Formatted(const char* format, double value, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, format, value, unit);
    return text;
}

std::string Duration(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string ByteCount(std::uint64_t bytes) {
    const char* units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024 && unit < 4) {
        value /= 1024;
        ++unit;
    }
    return unit == 0 ? Formatted("%.0f %s", value, units[0]) : Formatted("%.1f %s", value, units[unit]);
}

ProgressBar::ProgressBar(std::ostream& terminal, std::string name, std::uint64_t total)
    : terminal_(terminal), name_(std::move(name)), total_(total) {}

ProgressBar::~ProgressBar() {
    if (shown_) terminal_ << "\r\x1b[K" << std::flush;
}

std::string ProgressBar::Line(std::uint64_t done, double seconds) const {
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    std::string line = "varnex: " + name_ + ": " + ByteCount(done);
    if (total_ > 0) line += " of " + ByteCount(total_);
    line += ", " + ByteCount(static_cast<std::uint64_t>(rate)) + "/s";
    if (total_ > done && rate > 0)
        line += ", " + Duration(static_cast<double>(total_ - done) / rate) + " left";
    return line;
}

void ProgressBar::Advanced(std::uint64_t bytesIn) {
    if ((total_ > 0 ? total_ : bytesIn) <= kShownFrom) return;
    const Clock::time_point now = Clock::now();
    if (shown_ && now - lastShown_ < kShowEvery) return;
    lastShown_ = now;
    shown_ = true;
    terminal_ << "\r" << Line(bytesIn, std::chrono::duration<double>(now - start_).count()) << "\x1b[K"
              << std::flush;
}

}  // namespace varnex::cli
