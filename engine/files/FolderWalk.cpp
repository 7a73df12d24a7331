#include "files/FolderWalk.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <vector>

#include "files/FileIdentity.h"

namespace varnex {

namespace {

struct Entry {
    std::string name;
    struct stat info {};
    bool link = false;
    bool reached = true;  // for a link: whether what it names exists
};

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// The folder's entries with what each is (a link's target for a link), sorted by name;
// false when the folder cannot be read.
bool ReadEntries(const std::string& folder, std::vector<Entry>& entries, int& error) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        error = errno;
        return false;
    }
    const int fd = ::dirfd(dir);
    for (;;) {
        errno = 0;  // readdir tells an error only by errno; what is skipped below may have set it
        const dirent* found = ::readdir(dir);
        if (!found) break;
        const std::string name = found->d_name;
        if (name == "." || name == "..") continue;
        Entry entry{name};
        if (::fstatat(fd, found->d_name, &entry.info, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
        if (S_ISLNK(entry.info.st_mode)) {
            entry.link = true;
            entry.reached = ::fstatat(fd, found->d_name, &entry.info, 0) == 0;
        }
        entries.push_back(std::move(entry));
    }
    error = errno;
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return error == 0;
}

void Walk(const std::string& folder, FolderVisitor& visitor, std::set<FileIdentity>& seen) {
    std::vector<Entry> entries;
    int error = 0;
    if (!ReadEntries(folder, entries, error)) {
        visitor.Unreadable(folder, error);
        if (entries.empty()) return;  // what was read before a failure is still walked
    }
    for (const Entry& entry : entries) {
        const std::string path = Joined(folder, entry.name);
        if (entry.link && !entry.reached) {
            visitor.Skipped(path, WalkSkip::BrokenLink);
        } else if (S_ISDIR(entry.info.st_mode)) {
            if (entry.link) {
                visitor.Skipped(path, WalkSkip::LinkToFolder);
            } else if (!seen.insert(IdentityOf(entry.info)).second) {
                visitor.Skipped(path, WalkSkip::FolderAgain);
            } else if (visitor.Enter(path, entry.name)) {
                Walk(path, visitor, seen);
            }
        } else if (S_ISREG(entry.info.st_mode)) {
            visitor.File(path, entry.name, entry.info, entry.link);
        } else {
            visitor.Skipped(path, WalkSkip::Special);
        }
    }
}

}  // namespace

void WalkFolder(const std::string& folder, FolderVisitor& visitor) {
    std::set<FileIdentity> seen;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) seen.insert(IdentityOf(info));
    Walk(folder, visitor, seen);
}

}  // namespace varnex
