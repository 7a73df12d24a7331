#include "files/FileIdentity.h"

namespace varnex {

FileIdentity IdentityOf(const struct stat& info) { return FileIdentity{info.st_dev, info.st_ino}; }

std::optional<FileIdentity> IdentityOfPath(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return IdentityOf(info);
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

}  // namespace varnex
