#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "files/JobFiles.h"
#include "files/TemporaryNames.h"

namespace varnex {

// How the text waits for its name.
enum class TemporaryFile {
    Unnamed,  // O_TMPFILE where the filesystem has it: a killed process leaves nothing
    Named,    // always a named temporary file (the fallback, and a test's way to reach it)
};

// An output file that appears under its name only when it is complete: the text goes to a
// temporary file in the same folder, which is synced and then given its name. Where the
// filesystem can, the temporary file has no name at all (O_TMPFILE) and gets the final name
// by linkat; elsewhere it is a named temporary file (TemporaryPrefix + six random characters),
// renamed into place. Until then the final name is untouched; a SafeOutput destroyed
// without being placed leaves no file.
class SafeOutput {
public:
    // Throws Failure when no temporary file can be made in the output's folder.
    explicit SafeOutput(const std::filesystem::path& finalPath, TemporaryFile kind = TemporaryFile::Unnamed);
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    NewFile& File() { return *file_; }
    const std::filesystem::path& FinalPath() const { return final_; }
    // The named temporary file; empty while the text has no name.
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

    // Writes what is buffered and gives the new file the permissions and owner of `original`
    // (the owner only where the system allows it), and with keepTimes its access and
    // modification times. Nothing may be written after it. Throws Failure.
    void TakeAttributes(const struct stat& original, bool keepTimes);
    // Takes from the temporary file, before anything is written into it, the permissions that
    // `mode` does not give: a named one would otherwise show a private text while it grows.
    void NarrowMode(mode_t mode);

    // Syncs the text, puts it in place and syncs the folder. An existing file at the final
    // name is replaced only when `replace` is set; otherwise that is a Failure and nothing
    // changes. A replaced file's permissions are kept.
    void Commit(bool replace);
    // Puts the text in place as Commit does, without syncing anything: for a batch that
    // syncs its filesystems as a whole before (SyncedBatch). Throws Failure.
    void Place(bool replace);

private:
    void PlaceUnnamed(bool replace);
    void PlaceNamed(bool replace);

    std::filesystem::path final_;
    std::filesystem::path temporary_;
    std::unique_ptr<NewFile> file_;
    bool attributesTaken_ = false;
    bool placed_ = false;
};

// Syncs a folder's entries after a rename into it; a folder that cannot be synced is left.
void SyncFolder(const std::filesystem::path& folder);

}  // namespace varnex
