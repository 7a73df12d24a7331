#pragma once

#include <sys/stat.h>

#include <compare>
#include <filesystem>
#include <optional>

namespace varnex {

// A file by device and inode: the same whatever the spelling, link or hard link.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    auto operator<=>(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& info);
// The file the path reaches, links followed; none when nothing is there.
std::optional<FileIdentity> IdentityOfPath(const std::filesystem::path& path);
// Only a regular file counts: a terminal or a pipe is no file that could be overwritten.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);

}  // namespace varnex
