#include "files/SafeOutput.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "Failure.h"

namespace varnex {

namespace {

[[noreturn]] void Fail(int number, const std::string& what, const std::filesystem::path& path, int error) {
    throw Failure(number, path.string() + ": " + what + ": " + std::strerror(error));
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

mode_t CreationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // the rename is already done; a folder that cannot be synced loses nothing
    ::close(fd);
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

}  // namespace

std::string TemporaryPrefix(const std::filesystem::path& finalPath) {
    return "." + finalPath.filename().string() + ".varnex-";
}

SafeOutput::SafeOutput(const std::filesystem::path& finalPath) : final_(finalPath) {
    const std::string pattern = (FolderOf(finalPath) / (TemporaryPrefix(finalPath) + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) Fail(kPathAccessError, "cannot create a file in its folder", finalPath, errno);
    temporary_ = name.data();
    ::fchmod(fd, CreationMode());
    file_ = std::make_unique<NewFile>(fd, finalPath);
}

SafeOutput::~SafeOutput() {
    if (committed_) return;
    file_.reset();
    ::unlink(temporary_.c_str());
}

void SafeOutput::Commit(bool replace) {
    file_->Sync();
    file_->Close();
    struct stat replaced {};
    if (replace && ::stat(final_.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        // a replaced file keeps who may read it
        ::chmod(temporary_.c_str(), replaced.st_mode & 07777);
    }
    const int result =
        replace ? ::rename(temporary_.c_str(), final_.c_str()) : RenameNoReplace(temporary_, final_);
    if (result != 0) {
        const int error = errno;
        if (error == EEXIST) {
            throw Failure(kPathAccessError, final_.string() + ": exists already (--force replaces it)");
        }
        Fail(kPathAccessError, "cannot put the new file in place", final_, error);
    }
    committed_ = true;
    SyncFolder(FolderOf(final_));
}

}  // namespace varnex
