#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "files/SafeOutput.h"

namespace varnex {

struct InPlaceRequest {
    std::string backupSuffix;    // keep the original as NAME + suffix; empty: do not keep it
    bool replaceBackup = false;  // an existing NAME + suffix may be replaced
    bool keepTime = false;       // the new file keeps the original's access and modification times
};

// The conversion of a file that takes the file's own place, as sed -i does: the text goes to
// a safe output in the file's folder, takes the file's permissions and owner, and replaces
// the file only when it is complete; until then, and after any failure, the file is as it
// was. The file must be a regular file (never a link), and must not change meanwhile.
class InPlaceOutput {
public:
    // Throws Failure when the file is not a regular file or no temporary file can be made.
    InPlaceOutput(const std::filesystem::path& file, InPlaceRequest request,
                  TemporaryFile kind = TemporaryFile::Unnamed);

    NewFile& File() { return output_.File(); }
    SafeOutput& Output() { return output_; }
    const std::filesystem::path& BackupPath() const { return backup_; }

    // After the last write: the new file takes the original's permissions, owner and times.
    void Finish();
    // Keeps the original under its backup name, if asked, then puts the new file in its
    // place, without syncing (a batch syncs as a whole before). Throws Failure.
    void Place();
    // Syncs, then places, then syncs the folder.
    void Commit();

private:
    bool KeepOriginal();
    void CheckUnchanged() const;

    std::filesystem::path file_;
    InPlaceRequest request_;
    std::filesystem::path backup_;
    struct stat original_ {};
    SafeOutput output_;
};

}  // namespace varnex
