#include "ProgressBar.h"

#include <cstdio>

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

ProgressBar::ProgressBar(Messages& messages, std::string name, std::uint64_t totalBytes, std::size_t files)
    : messages_(messages), name_(std::move(name)), total_(totalBytes), files_(files) {}

ProgressBar::~ProgressBar() { messages_.ClearProgress(); }

std::string ProgressBar::Line(std::uint64_t done, double seconds) const {
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    std::string line = "varnex: ";
    line += name_.empty() ? std::to_string(filesDone_.load()) + " of " + std::to_string(files_) + " files, "
                          : name_ + ": ";
    line += ByteCount(done);
    if (total_ > 0) line += " of " + ByteCount(total_);
    line += ", " + ByteCount(static_cast<std::uint64_t>(rate)) + "/s";
    if (total_ > done && rate > 0)
        line += ", " + Duration(static_cast<double>(total_ - done) / rate) + " left";
    return line;
}

void ProgressBar::Advanced(std::uint64_t moreBytes) {
    done_ += moreBytes;
    ShowIfDue();
}

void ProgressBar::FileDone() {
    ++filesDone_;
    ShowIfDue();
}

void ProgressBar::ShowIfDue() {
    const std::uint64_t done = done_.load();
    if ((total_ > 0 ? total_ : done) <= kShownFrom) return;
    const std::unique_lock lock(showing_, std::try_to_lock);  // another thread is showing it
    if (!lock.owns_lock()) return;
    const Clock::time_point now = Clock::now();
    if (shown_ && now - lastShown_ < kShowEvery) return;
    lastShown_ = now;
    shown_ = true;
    messages_.Progress(Line(done, std::chrono::duration<double>(now - start_).count()));
}

}  // namespace varnex::cli
