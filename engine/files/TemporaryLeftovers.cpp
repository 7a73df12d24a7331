#include "files/TemporaryLeftovers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "Failure.h"
#include "files/FolderWalk.h"
#include "files/TemporaryNames.h"

namespace varnex {

namespace {

// A writer holds a shared lock on its temporary file; an exclusive one is had only when none
// does. Returns the open descriptor, locked, or -1 with `error` set (EWOULDBLOCK: in use).
int LockUnused(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    error = errno;
    if (fd >= 0) ::close(fd);
    return -1;
}

class LeftoverFinder : public FolderVisitor {
public:
    explicit LeftoverFinder(bool below) : below_(below) {}
    bool Enter(const std::string&, const std::string&) override { return below_; }
    void File(const std::string& path, const std::string& name, const struct stat& info, bool link) override {
        if (link || !IsTemporaryName(name)) return;
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const double changed = static_cast<double>(info.st_mtim.tv_sec) + info.st_mtim.tv_nsec * 1e-9;
        Leftover found{path, static_cast<std::uint64_t>(info.st_size),
                       std::chrono::duration<double>(now).count() - changed};
        int error = 0;
        const int fd = LockUnused(path, error);
        found.inUse = fd < 0 && error == EWOULDBLOCK;
        if (fd >= 0) ::close(fd);
        leftovers.push_back(found);
    }
    void Skipped(const std::string&, WalkSkip) override {}
    void Unreadable(const std::string&, int) override {}

    std::vector<Leftover> leftovers;

private:
    bool below_;
};

}  // namespace

std::vector<Leftover> FindLeftovers(const std::string& folder, bool below) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        throw Failure(kFileNotFound, folder + ": " + std::strerror(errno));
    }
    if (!S_ISDIR(info.st_mode)) throw Failure(kPathAccessError, folder + ": is not a folder");
    LeftoverFinder finder(below);
    WalkFolder(folder, finder);
    return finder.leftovers;
}

void RemoveLeftover(const Leftover& leftover) {
    int error = 0;
    const int fd = LockUnused(leftover.path, error);
    if (fd < 0 && error == EWOULDBLOCK)
        throw Failure(kFileInUse, leftover.path + ": in use by a running program; left as it is");
    if (fd < 0)
        throw Failure(kPathAccessError, leftover.path + ": cannot be checked: " + std::strerror(error));
    const bool removed = ::unlink(leftover.path.c_str()) == 0;
    error = errno;
    ::close(fd);
    if (!removed)
        throw Failure(kPathAccessError, leftover.path + ": cannot be removed: " + std::strerror(error));
}

}  // namespace varnex
