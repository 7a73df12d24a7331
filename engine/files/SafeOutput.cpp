#include "files/SafeOutput.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "Failure.h"
#include "files/TemporaryNames.h"

namespace varnex {

namespace {

constexpr int kNameAttempts = 100;

[[noreturn]] void Fail(int number, const std::string& what, const std::filesystem::path& path, int error) {
    throw Failure(number, path.string() + ": " + what + ": " + std::strerror(error));
}

[[noreturn]] void FailToPlace(const std::filesystem::path& path, int error) {
    if (error == EEXIST)
        throw Failure(kPathAccessError, path.string() + ": exists already (--force replaces it)");
    Fail(kPathAccessError, "cannot put the new file in place", path, error);
}

// The process's umask, read without changing it: umask() itself sets it, which races with
// other threads creating files.
mode_t ReadUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

mode_t CreationMode() {
    static const mode_t mode = 0666 & ~ReadUmask();
    return mode;
}

// Renames without replacing: fails with EEXIST when something is at `to`.
int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // file systems without RENAME_NOREPLACE: a hard link never replaces either
    if (::link(from.c_str(), to.c_str()) != 0) return -1;
    ::unlink(from.c_str());
    return 0;
}

// Gives the unnamed file behind `fd` a name; like link(), never replaces.
int LinkUnnamed(int fd, const std::filesystem::path& to) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return -1;
    return ::linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH);  // without /proc
}

int OpenUnnamed(const std::filesystem::path& folder) {
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

int OpenNamed(const std::filesystem::path& finalPath, std::filesystem::path& temporary) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = RandomTemporaryPath(finalPath);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::fchmod(fd, CreationMode());
            ::flock(fd, LOCK_SH);  // in use: --clean-temporary leaves it alone
            return fd;
        }
        if (errno != EEXIST) break;
    }
    temporary.clear();
    return -1;
}

}  // namespace

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // the rename is already done; a folder that cannot be synced loses nothing
    ::close(fd);
}

SafeOutput::SafeOutput(const std::filesystem::path& finalPath, TemporaryFile kind) : final_(finalPath) {
    int fd = kind == TemporaryFile::Unnamed ? OpenUnnamed(FolderOf(finalPath)) : -1;
    if (fd < 0) fd = OpenNamed(finalPath, temporary_);
    if (fd < 0) Fail(kPathAccessError, "cannot create a file in its folder", finalPath, errno);
    file_ = std::make_unique<NewFile>(fd, finalPath);
}

SafeOutput::~SafeOutput() {
    if (placed_) return;
    file_.reset();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void SafeOutput::TakeAttributes(const struct stat& original, bool keepTimes) {
    file_->Flush();
    const int fd = file_->Descriptor();
    // the group alone where the owner cannot be given (a user who is not root)
    if (::fchown(fd, original.st_uid, original.st_gid) != 0)
        ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
    if (::fchmod(fd, original.st_mode & 07777) != 0)
        Fail(kPathAccessError, "cannot give the new file the permissions of the old", final_, errno);
    const struct timespec times[2] = {original.st_atim, original.st_mtim};
    if (keepTimes && ::futimens(fd, times) != 0)
        Fail(kPathAccessError, "cannot give the new file the times of the old", final_, errno);
    attributesTaken_ = true;
}

void SafeOutput::NarrowMode(mode_t mode) { ::fchmod(file_->Descriptor(), CreationMode() & mode & 0777); }

void SafeOutput::Commit(bool replace) {
    file_->Sync();
    Place(replace);
    SyncFolder(FolderOf(final_));
}

void SafeOutput::Place(bool replace) {
    file_->Flush();
    struct stat replaced {};
    if (replace && !attributesTaken_ && ::stat(final_.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        ::fchmod(file_->Descriptor(), replaced.st_mode & 07777);  // a replaced file keeps who may read it
    }
    if (temporary_.empty()) {
        PlaceUnnamed(replace);
    } else {
        PlaceNamed(replace);
    }
    placed_ = true;
}

void SafeOutput::PlaceNamed(bool replace) {
    file_->Close();
    const int result =
        replace ? ::rename(temporary_.c_str(), final_.c_str()) : RenameNoReplace(temporary_, final_);
    if (result != 0) FailToPlace(final_, errno);
}

// linkat never replaces: a replacement is linked to a temporary name first and renamed over
// the final one.
void SafeOutput::PlaceUnnamed(bool replace) {
    const int fd = file_->Descriptor();
    if (!replace) {
        if (LinkUnnamed(fd, final_) != 0) FailToPlace(final_, errno);
        file_->Close();
        return;
    }
    std::filesystem::path named;
    int error = EEXIST;
    for (int attempt = 0; attempt < kNameAttempts && error == EEXIST; ++attempt) {
        named = RandomTemporaryPath(final_);
        error = LinkUnnamed(fd, named) == 0 ? 0 : errno;
    }
    if (error != 0) FailToPlace(final_, error);
    if (::rename(named.c_str(), final_.c_str()) != 0) {
        error = errno;
        ::unlink(named.c_str());
        FailToPlace(final_, error);
    }
    file_->Close();
}

}  // namespace varnex
