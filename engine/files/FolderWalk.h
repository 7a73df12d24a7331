#pragma once

#include <sys/stat.h>

#include <string>

namespace varnex {

// What a folder walk leaves out, and why.
enum class WalkSkip {
    LinkToFolder,  // a symbolic link to a folder: never followed, so no loop is possible
    BrokenLink,    // a symbolic link that reaches nothing
    Special,       // a pipe, socket or device (or a link to one)
    FolderAgain,   // a folder met a second time (a bind mount of a folder inside itself)
};

// What a walk meets, told in the order of the names (byte order) within each folder, a
// folder's contents where its name falls.
class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // A folder below the top; false leaves it out.
    virtual bool Enter(const std::string& path, const std::string& name) = 0;
    // A regular file, or a symbolic link to one (`info` is then the file's).
    virtual void File(const std::string& path, const std::string& name, const struct stat& info,
                      bool link) = 0;
    virtual void Skipped(const std::string& path, WalkSkip why) = 0;
    // A folder whose entries cannot be read; `error` is the errno.
    virtual void Unreadable(const std::string& path, int error) = 0;
};

// Walks everything below `folder` (followed itself if it is a link), depth first. Paths are
// `folder` + "/" + the names on the way. A folder is read whole and closed before the walk
// goes into its subfolders, so that a deep tree holds one descriptor at a time.
void WalkFolder(const std::string& folder, FolderVisitor& visitor);

}  // namespace varnex
