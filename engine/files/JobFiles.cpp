#include "files/JobFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Failure.h"
#include "files/FileIdentity.h"

namespace varnex {

namespace {

constexpr std::size_t kPieceSize = 256 * 1024;
// A new file's buffer starts small and doubles up to kPieceSize, and a small source's holds
// the source: a batch of small files allocates and touches little.
constexpr std::size_t kFirstPiece = 64 * 1024;
constexpr std::size_t kSmallestSource = 4096;

int NumberFor(int error) {
    switch (error) {
        case ENOENT:
            return kFileNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return kPathAccessError;
        case EBUSY:
        case ETXTBSY:
            return kFileInUse;
        default:
            return kDeviceError;
    }
}

[[noreturn]] void Fail(int error, const std::string& what, const std::filesystem::path& path) {
    throw Failure(NumberFor(error), what + " \"" + path.string() + "\": " + std::strerror(error) + ".");
}

}  // namespace

void GrowingBuffer::Reserve(std::size_t wanted, std::size_t keep) {
    if (wanted <= capacity_) return;
    auto bigger = std::unique_ptr<std::uint8_t[]>(new std::uint8_t[wanted]);
    if (keep) std::memcpy(bigger.get(), data_.get(), keep);
    data_ = std::move(bigger);
    capacity_ = wanted;
}

SourceFile::SourceFile(const std::filesystem::path& path) : path_(path), firstPiece_(kPieceSize) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) Fail(errno, "Cannot open the source file", path);
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        Fail(EISDIR, "Cannot open the source file", path);
    }
    if (S_ISREG(info.st_mode)) {
        // one more byte than the file, so that its end shows in one read
        firstPiece_ =
            std::clamp<std::size_t>(static_cast<std::size_t>(info.st_size) + 1, kSmallestSource, kPieceSize);
    }
    if (firstPiece_ == kPieceSize)
        ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);  // read in several pieces
}

SourceFile::SourceFile(int descriptor, const std::filesystem::path& name)
    : path_(name), fd_(descriptor), firstPiece_(kPieceSize) {}

SourceFile::~SourceFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::uint64_t SourceFile::Length() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) Fail(errno, "Cannot read the length of", path_);
    return static_cast<std::uint64_t>(info.st_size);
}

void SourceFile::Refill() {
    if (begin_ > 0) {
        std::memmove(buffer_.Data(), buffer_.Data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (ReadMore() == 0) {
        throw Failure(kInputPastEndOfFile,
                      "Input past end of file: \"" + path_.string() + "\" became shorter.");
    }
}

std::size_t SourceFile::ReadMore() {
    buffer_.Reserve(firstPiece_, end_);
    while (true) {
        const ssize_t got = ::read(fd_, buffer_.Data() + end_, buffer_.Capacity() - end_);
        if (got >= 0) {
            end_ += static_cast<std::size_t>(got);
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) Fail(errno, "Cannot read", path_);
    }
}

std::string_view SourceFile::Peek(std::size_t size) {
    if (begin_ > 0) {
        std::memmove(buffer_.Data(), buffer_.Data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    buffer_.Reserve(std::max(size, firstPiece_), end_);
    while (end_ < size && ReadMore() != 0) {
    }
    return {reinterpret_cast<const char*>(buffer_.Data()), std::min(size, end_)};
}

std::string_view SourceFile::PeekAvailable(std::size_t size) {
    if (begin_ == end_) {
        begin_ = end_ = 0;
        ReadMore();
    }
    return {reinterpret_cast<const char*>(buffer_.Data()) + begin_, std::min(size, end_ - begin_)};
}

std::string_view SourceFile::ReadAvailable(std::size_t size) {
    if (begin_ == end_) {
        begin_ = end_ = 0;
        ReadMore();
    }
    const std::size_t count = std::min(size, end_ - begin_);
    const std::string_view piece(reinterpret_cast<const char*>(buffer_.Data()) + begin_, count);
    begin_ += count;
    return piece;
}

std::string_view SourceFile::ReadNext(std::size_t size) {
    if (buffer_.Capacity() < std::max(size, firstPiece_)) {  // a source grown since it was opened
        if (begin_ > 0) std::memmove(buffer_.Data(), buffer_.Data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        buffer_.Reserve(std::max({size, firstPiece_, kSmallestSource}), end_);
    }
    while (end_ - begin_ < size) Refill();
    const std::string_view block(reinterpret_cast<const char*>(buffer_.Data()) + begin_, size);
    begin_ += size;
    return block;
}

NewFile::NewFile(const std::filesystem::path& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) Fail(errno, "Cannot create the new file", path);
}

NewFile::NewFile(int descriptor, const std::filesystem::path& name) : path_(name), fd_(descriptor) {}

NewFile::~NewFile() {
    try {
        Close();
    } catch (const std::exception&) {
        // the job reports write failures through Check() and Close(); a destructor cannot
    }
}

std::uint8_t* NewFile::Reserve(std::size_t size) {
    if (used_ + size <= buffer_.Capacity()) return buffer_.Data() + used_;
    if (buffer_.Capacity() >= kPieceSize || used_ + size > kPieceSize) WriteBuffered();
    const std::size_t doubled = std::min(std::max(buffer_.Capacity() * 2, kFirstPiece), kPieceSize);
    buffer_.Reserve(std::max(used_ + size, doubled), used_);
    return buffer_.Data() + used_;
}

void NewFile::Commit(std::size_t size) { used_ += size; }

void NewFile::WriteBuffered() {
    WriteAll(buffer_.Data(), used_);
    used_ = 0;
}

void NewFile::WriteAll(const std::uint8_t* data, std::size_t size) {
    std::size_t written = 0;
    while (written < size && failure_.empty()) {
        const ssize_t put = ::write(fd_, data + written, size - written);
        if (put > 0) {
            written += static_cast<std::size_t>(put);
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else {
            const int error = put < 0 ? errno : ENOSPC;
            failure_ =
                "Device I/O error: cannot write \"" + path_.string() + "\": " + std::strerror(error) + ".";
        }
    }
}

void NewFile::Write(const std::uint8_t* data, std::size_t size) {
    if (fd_ < 0) return;
    WriteBuffered();
    WriteAll(data, size);
}

void NewFile::Check() const {
    if (!failure_.empty()) throw Failure(kDeviceError, failure_);
}

void NewFile::Flush() {
    if (fd_ >= 0) WriteBuffered();
    Check();
}

void NewFile::Release() {
    Flush();
    buffer_ = GrowingBuffer{};
}

void NewFile::Close() {
    if (fd_ < 0) return;
    WriteBuffered();
    if (::close(fd_) != 0 && failure_.empty()) {
        failure_ = "Device I/O error: cannot close \"" + path_.string() + "\": " + std::strerror(errno) + ".";
    }
    fd_ = -1;
    Check();
}

void NewFile::Sync() {
    Flush();
    Check();
    // EINVAL: a pipe or a device such as /dev/null, which has nothing to sync.
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        Fail(errno, "Device I/O error: cannot write", path_);
    }
}

void DeleteQuietly(const std::filesystem::path& path) {
    // Only files: a device such as /dev/null or a folder at that name is left alone.
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))) {
        ::unlink(path.c_str());
    }
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    const auto first = IdentityOfPath(a);
    return first && first == IdentityOfPath(b);
}

bool FileExists(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace varnex
