#include "files/InPlaceOutput.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "Failure.h"
#include "files/FileIdentity.h"

namespace varnex {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& what, int error) {
    throw Failure(kPathAccessError, path.string() + ": " + what + ": " + std::strerror(error));
}

struct stat RegularFile(const std::filesystem::path& file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) Fail(file, "cannot be read", errno);
    if (S_ISLNK(info.st_mode))
        throw Failure(kPathAccessError, file.string() + ": is a symbolic link; name the file it points to");
    if (!S_ISREG(info.st_mode)) throw Failure(kPathAccessError, file.string() + ": is not a regular file");
    return info;
}

// The original copied whole into a safe output of the backup's name: for filesystems without
// hard links.
void CopyOriginal(const std::filesystem::path& file, const std::filesystem::path& backup, bool replace) {
    const int in = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) Fail(file, "cannot be read", errno);
    SafeOutput copy(backup);
    copy.File().Flush();
    off_t offset = 0;
    struct stat info {};
    ::fstat(in, &info);
    while (offset < info.st_size) {
        const ssize_t sent = ::sendfile(copy.File().Descriptor(), in, &offset,
                                        static_cast<std::size_t>(info.st_size - offset));
        if (sent <= 0) {
            const int error = sent < 0 ? errno : EIO;
            ::close(in);
            Fail(backup, "cannot be written", error);
        }
    }
    ::close(in);
    copy.TakeAttributes(info, true);
    copy.Commit(replace);
}

}  // namespace

InPlaceOutput::InPlaceOutput(const std::filesystem::path& file, InPlaceRequest request, TemporaryFile kind)
    : file_(file), request_(std::move(request)), original_(RegularFile(file)), output_(file, kind) {
    if (!request_.backupSuffix.empty()) backup_ = file_.string() + request_.backupSuffix;
    output_.NarrowMode(original_.st_mode);
}

void InPlaceOutput::Finish() { output_.TakeAttributes(original_, request_.keepTime); }

void InPlaceOutput::CheckUnchanged() const {
    struct stat now {};
    const bool same = ::lstat(file_.c_str(), &now) == 0 && IdentityOf(now) == IdentityOf(original_) &&
                      now.st_size == original_.st_size && now.st_mtim.tv_sec == original_.st_mtim.tv_sec &&
                      now.st_mtim.tv_nsec == original_.st_mtim.tv_nsec;
    if (!same) {
        throw Failure(kPathAccessError,
                      file_.string() + ": changed while it was converted; it is left as it is now");
    }
}

// A hard link keeps the original without copying it; true when it made one.
bool InPlaceOutput::KeepOriginal() {
    if (::link(file_.c_str(), backup_.c_str()) == 0) return true;
    int error = errno;
    if (error == EEXIST && !request_.replaceBackup)
        throw Failure(kPathAccessError, backup_.string() + ": exists already (--force replaces it)");
    if (error == EEXIST) {  // link() never replaces: a link under a temporary name, renamed over
        const std::filesystem::path named = RandomTemporaryPath(backup_);
        if (::link(file_.c_str(), named.c_str()) == 0) {
            if (::rename(named.c_str(), backup_.c_str()) == 0) {
                ::unlink(named.c_str());  // still there when the backup already was this file
                return true;
            }
            error = errno;
            ::unlink(named.c_str());
        } else {
            error = errno;
        }
    }
    if (error == EPERM || error == EOPNOTSUPP || error == EMLINK) {  // no hard links here
        CopyOriginal(file_, backup_, request_.replaceBackup);
        return false;
    }
    Fail(backup_, "cannot keep the original under this name", error);
}

void InPlaceOutput::Place() {
    CheckUnchanged();
    const bool linked = !backup_.empty() && KeepOriginal();
    try {
        output_.Place(true);
    } catch (...) {
        if (linked) ::unlink(backup_.c_str());  // the original is still under its own name
        throw;
    }
}

void InPlaceOutput::Commit() {
    output_.File().Sync();
    Place();
    SyncFolder(FolderOf(file_));
}

}  // namespace varnex
