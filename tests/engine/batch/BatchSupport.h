#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "TestDatabase.h"
#include "batch/BatchHooks.h"
#include "batch/BatchObserver.h"
#include "map/LoadedMap.h"

namespace varnex::test {

// A map of two fonts: "Upper" writes the letters A-Z, "Lower" the same characters as a-z;
// line breaks and blanks map to themselves.
LoadedMap CaseMap();

// The names of the files in a folder, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// Everything a batch tells, in order; guarded, since workers tell it.
class RecordingObserver : public BatchObserver {
public:
    bool ShowsProgress() const override { return showsProgress; }
    void Planned(std::size_t files, std::uint64_t bytes, const std::string& only) override;
    void Advanced(std::uint64_t moreBytes) override { advanced += moreBytes; }
    void Converted(const std::string& input) override { Add(converted, input); }
    void Placed(const std::string& input) override { Add(placed, input); }
    void Failed(const std::string& message) override { Add(failed, message); }
    void Skipped(const std::string& message) override { Add(skipped, message); }
    void Reported(const FileReport& report) override { Add(reports, report.Line()); }
    void Finished(const BatchTotals& told) override { totals = told, ++finished; }
    bool CancelRequested() override;

    bool showsProgress = false;
    std::size_t cancelAfterPlaced = SIZE_MAX;  // asks to stop once this many are placed
    bool cancelOnceAdvanced = false;           // asks to stop once any bytes are converted
    std::size_t plannedFiles = 0;
    std::uint64_t plannedBytes = 0;
    std::string plannedOnly;
    std::atomic<std::uint64_t> advanced{0};
    std::vector<std::string> converted, placed, failed, skipped, reports;
    BatchTotals totals;
    int finished = 0;

private:
    void Add(std::vector<std::string>& list, const std::string& entry);
    std::mutex mutex_;
};

// Hooks that record the temporary names they are told and the workers that start.
class RecordingHooks : public BatchHooks {
public:
    void Step(const std::function<void()>& step) override;
    void NameTemporary(const std::filesystem::path& temporary) override;
    void WorkerStarted() override { ++workers; }

    std::atomic<int> steps{0}, workers{0}, namedOutsideSteps{0};
    std::vector<std::filesystem::path> named;

private:
    std::mutex mutex_;
};

}  // namespace varnex::test
