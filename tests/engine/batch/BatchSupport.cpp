#include "BatchSupport.h"

#include <algorithm>
#include <filesystem>

namespace varnex::test {

LoadedMap CaseMap() {
    std::vector<std::vector<std::string>> rows = {{"10", "10"}, {"32", "32"}};
    for (int letter = 'A'; letter <= 'Z'; ++letter)
        rows.push_back({std::to_string(letter), std::to_string(letter - 'A' + 'a')});
    return {"case.map", MakeTable({"Upper", "Lower"}, rows)};
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void RecordingObserver::Planned(std::size_t files, std::uint64_t bytes, const std::string& only) {
    plannedFiles = files;
    plannedBytes = bytes;
    plannedOnly = only;
}

bool RecordingObserver::CancelRequested() {
    const std::lock_guard lock(mutex_);
    return placed.size() >= cancelAfterPlaced || (cancelOnceAdvanced && advanced > 0);
}

void RecordingObserver::Add(std::vector<std::string>& list, const std::string& entry) {
    const std::lock_guard lock(mutex_);
    list.push_back(entry);
}

namespace {

thread_local int stepDepth = 0;

}  // namespace

void RecordingHooks::Step(const std::function<void()>& step) {
    ++steps;
    ++stepDepth;
    step();
    --stepDepth;
}

void RecordingHooks::NameTemporary(const std::filesystem::path& temporary) {
    if (stepDepth == 0) ++namedOutsideSteps;
    const std::lock_guard lock(mutex_);
    if (!temporary.empty()) named.push_back(temporary);
}

}  // namespace varnex::test
