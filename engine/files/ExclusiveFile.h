#pragma once

#include <chrono>
#include <filesystem>

namespace varnex {

// A file opened read-only and held under an exclusive advisory lock until destruction.
// Another copy of the program that holds the lock is waited for up to `wait`, since its
// load ends within milliseconds and failing at once would end this program.
class ExclusiveFile {
public:
    explicit ExclusiveFile(const std::filesystem::path& path,
                           std::chrono::milliseconds wait = std::chrono::milliseconds(1000));
    ~ExclusiveFile();
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    int Descriptor() const { return fd_; }
    // Up to `count` bytes from the start of the file (fewer when the file is shorter).
    std::string ReadHead(std::size_t count) const;

private:
    int fd_ = -1;
};

}  // namespace varnex
