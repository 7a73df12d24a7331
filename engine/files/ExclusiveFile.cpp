#include "files/ExclusiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>

#include "Failure.h"

namespace varnex {

namespace {

Failure OpenFailure(const std::filesystem::path& path, int error) {
    const std::string name = "\"" + path.string() + "\"";
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Failure(kFileNotFound, "The font map " + name + " was not found.");
        case EACCES:
        case EPERM:
            return Failure(kPathAccessError, "The font map " + name + " may not be read (access denied).");
        default:
            return Failure(kPathAccessError,
                           "The font map " + name + " cannot be opened: " + std::strerror(error) + ".");
    }
}

}  // namespace

ExclusiveFile::ExclusiveFile(const std::filesystem::path& path, std::chrono::milliseconds wait) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw OpenFailure(path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw Failure(kPathAccessError, "The font map \"" + path.string() + "\" is not a file.");
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
            throw Failure(kFileInUse, "The font map \"" + path.string() +
                                          "\" is in use by another program. Please try again.");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ExclusiveFile::~ExclusiveFile() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
}

std::string ExclusiveFile::ReadHead(std::size_t count) const {
    std::string head(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::pread(fd_, head.data() + got, count - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
}

}  // namespace varnex
