#pragma once

#include <chrono>
#include <memory>

#include "Messages.h"
#include "ProgressBar.h"
#include "batch/BatchObserver.h"

namespace varnex::cli {

// What a batch tells, shown on standard error: its messages as lines, the progress line on a
// terminal, and after a batch of more than one file (or any folder) the summary line.
class TerminalObserver : public BatchObserver {
public:
    TerminalObserver(Messages& messages, bool folders, bool report)
        : messages_(messages), folders_(folders), report_(report) {}

    void Began() override { start_ = std::chrono::steady_clock::now(); }
    bool ShowsProgress() const override { return messages_.Terminal(); }
    void Planned(std::size_t files, std::uint64_t bytes, const std::string& only) override;
    void Advanced(std::uint64_t moreBytes) override {
        if (progress_) progress_->Advanced(moreBytes);
    }
    void Converted(const std::string&) override {
        if (progress_) progress_->FileDone();
    }
    void Detected(const std::string& input, const FoundFont& found) override;
    void ReadsAs(const std::string& input, const std::string& better, const std::string& named) override {
        messages_.Line(input + " reads as " + better + ", not " + named);
    }
    void Failed(const std::string& message) override { messages_.Line(message); }
    void Skipped(const std::string& message) override { messages_.Line(message + " (skipped)"); }
    void Reported(const FileReport& report) override { messages_.Line(report.Line()); }
    void Finished(const BatchTotals& totals) override;

private:
    Messages& messages_;
    bool folders_;
    bool report_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::unique_ptr<ProgressBar> progress_;
};

}  // namespace varnex::cli
