#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/ByteSink.h"

namespace varnex {

// A buffer that grows to what is asked, and is never filled with zeros first.
class GrowingBuffer {
public:
    std::uint8_t* Data() { return data_.get(); }
    std::size_t Capacity() const { return capacity_; }
    // At least `wanted` bytes, keeping the first `keep`.
    void Reserve(std::size_t wanted, std::size_t keep);

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t capacity_ = 0;
};

// The source of a file job, read in order. Reads ahead in large pieces, so that a job of
// 1,024-byte blocks does not pay a system call per block.
class SourceFile {
public:
    explicit SourceFile(const std::filesystem::path& path);  // throws Failure
    // Reads an open descriptor (standard input, a pipe); `name` names it in messages. The
    // descriptor is closed with the SourceFile.
    SourceFile(int descriptor, const std::filesystem::path& name);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // The file's length in bytes as it is now. Throws Failure.
    std::uint64_t Length() const;
    // The next `size` bytes (at most the read-ahead piece), valid until the next call.
    // Throws Failure when the file ends before.
    std::string_view ReadNext(std::size_t size);
    // What is read ahead, or the next piece read: at most `size` bytes, empty only at the end
    // of the input. For inputs whose length is not known up front. Throws Failure.
    std::string_view ReadAvailable(std::size_t size);
    // The next `size` bytes, or all that is left when fewer, without taking them: the reads
    // after it give them again. Blocks on a pipe until it has them or ends. Throws Failure.
    std::string_view Peek(std::size_t size);
    // The same without waiting: what is read ahead, or what one read gives, at most `size`.
    std::string_view PeekAvailable(std::size_t size);

private:
    void Refill();
    std::size_t ReadMore();

    std::filesystem::path path_;
    int fd_ = -1;
    std::size_t firstPiece_;  // what the first read asks for: the read-ahead, or a small file whole
    GrowingBuffer buffer_;
    std::size_t begin_ = 0, end_ = 0;
};

// The output of a file job: created empty, filled through a buffer that is written out in
// large pieces. A write failure is kept and reported by Check(); Flush() hands what is
// buffered to the file, Close() writes the rest and closes it.
class NewFile : public ByteSink {
public:
    explicit NewFile(const std::filesystem::path& path);  // throws Failure
    // Writes to an open descriptor (a temporary file, standard output); `name` names it in
    // messages. The descriptor is closed by Close().
    NewFile(int descriptor, const std::filesystem::path& name);
    ~NewFile() override;
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    std::uint8_t* Reserve(std::size_t size) override;
    void Commit(std::size_t size) override;
    // Appends `size` bytes written straight from `data`, after what is buffered: for large
    // pieces converted elsewhere. A failure is kept for Check(), as a buffered write's.
    void Write(const std::uint8_t* data, std::size_t size);
    // Throws the first write failure, if there was one.
    void Check() const;
    // Writes what is buffered, so that the file holds everything committed so far even if
    // the process ends right after. Throws Failure.
    void Flush();
    // Flush(), and the buffer's memory given back: for a complete file that waits for its name.
    void Release();
    // Writes what is buffered and closes the file. Throws Failure.
    void Close();
    // Writes what is buffered and waits until the file's data is on the disk. Throws Failure.
    void Sync();
    // For writers that place bytes themselves (a zip package): Flush() first.
    int Descriptor() const { return fd_; }

private:
    void WriteBuffered();
    void WriteAll(const std::uint8_t* data, std::size_t size);

    std::filesystem::path path_;
    int fd_ = -1;
    GrowingBuffer buffer_;
    std::size_t used_ = 0;
    std::string failure_;
};

// Deletes the one file or link at `path` (a name, never a pattern; never a folder or a
// device) and ignores any failure.
void DeleteQuietly(const std::filesystem::path& path);

// True when both paths reach the same file (same device and inode), by whatever spelling.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// True when something exists at exactly that path.
bool FileExists(const std::filesystem::path& path);

}  // namespace varnex
