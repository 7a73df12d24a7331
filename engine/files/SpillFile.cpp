#include "files/SpillFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "Failure.h"

namespace varnex {

namespace {

constexpr std::size_t kReadPiece = 256 * 1024;

[[noreturn]] void Fail(const std::filesystem::path& folder, const std::string& what, int error) {
    throw Failure(kDeviceError, folder.string() + ": " + what + " a temporary file: " + std::strerror(error));
}

}  // namespace

SpillFile::SpillFile(const std::filesystem::path& folder) : folder_(folder) {
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ >= 0) return;
    std::string name = (folder / ".varnex-spill-XXXXXX").string();
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) Fail(folder, "cannot make", errno);
    ::unlink(name.c_str());
}

SpillFile::~SpillFile() {
    if (fd_ >= 0) ::close(fd_);
}

void SpillFile::Append(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) Fail(folder_, "cannot write", written < 0 ? errno : ENOSPC);
        data += written;
        size -= static_cast<std::size_t>(written);
        size_ += static_cast<std::uint64_t>(written);
    }
}

void SpillFile::ReadBack(const std::function<void(const std::uint8_t* data, std::size_t size)>& piece) const {
    const auto buffer = std::make_unique<std::uint8_t[]>(kReadPiece);
    for (std::uint64_t offset = 0; offset < size_;) {
        const ssize_t got = ::pread(fd_, buffer.get(), kReadPiece, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) Fail(folder_, "cannot read back", got < 0 ? errno : EIO);
        piece(buffer.get(), static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
    }
}

}  // namespace varnex
