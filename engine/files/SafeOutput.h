#pragma once

#include <filesystem>
#include <memory>

#include "files/JobFiles.h"

namespace varnex {

// An output file that appears under its name only when it is complete: the text goes to a
// temporary file in the same folder, which is synced and then renamed into place. Until
// Commit() the final name is untouched; a SafeOutput destroyed without Commit() removes its
// temporary file.
class SafeOutput {
public:
    // Throws Failure when no temporary file can be made in the output's folder.
    explicit SafeOutput(const std::filesystem::path& finalPath);
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    NewFile& File() { return *file_; }
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

    // Syncs the text and renames it into place. An existing file at the final name is
    // replaced only when `replace` is set; otherwise that is a Failure and nothing changes.
    void Commit(bool replace);

private:
    std::filesystem::path final_;
    std::filesystem::path temporary_;
    std::unique_ptr<NewFile> file_;
    bool committed_ = false;
};

// The temporary name SafeOutput uses for `finalPath`, without the random part: tests and
// clean-up tools recognise leftovers by it.
std::string TemporaryPrefix(const std::filesystem::path& finalPath);

}  // namespace varnex
