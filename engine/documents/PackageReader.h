#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct zip;

namespace varnex {

// One entry of a zip package, as its central directory describes it.
struct PackageEntry {
    std::string name;
    std::uint64_t size = 0;  // inflated
    std::uint64_t compressedSize = 0;
    std::int32_t method = 0;  // zip's compression method
    // A later entry has the same name: it is the one read, as office suites read the last.
    bool shadowed = false;
};

// The limits a package must keep before any part of it is inflated: a part past them is a
// zip bomb, or a document no word processor writes.
inline constexpr std::uint64_t kMaxPartSize = 512ull << 20;
inline constexpr std::uint64_t kMaxInflatedTotal = 1ull << 30;
inline constexpr std::uint64_t kMaxRatio = 1000;
inline constexpr std::size_t kMaxEntries = 100000;

// A zip package opened for reading, checked as it opens: no entry encrypted, and the entries'
// headers and compressed data fit the file without sharing bytes (a zip bomb that reuses one
// stream for many entries is refused). Layouts that office suites read are read: data
// descriptors, extra fields that differ between the local and the central header, ZIP64
// records that are not needed. Of two entries of one name the later is the one read and
// written, as LibreOffice reads it. Throws Failure naming `shownName` ("damaged package",
// "encrypted package").
class PackageReader {
public:
    PackageReader(const std::filesystem::path& path, std::string shownName);
    ~PackageReader();
    PackageReader(const PackageReader&) = delete;
    PackageReader& operator=(const PackageReader&) = delete;

    const std::vector<PackageEntry>& Entries() const { return entries_; }
    // The entry of that name: the same name first, else the same letters in another case (OPC
    // part names ignore case); never a shadowed entry.
    std::optional<std::size_t> Find(const std::string& name) const;
    // The inflated part, refused ("part too large") past the size and ratio limits and
    // past kMaxInflatedTotal over all parts read, and ("damaged package") when it inflates
    // to another size than its directory entry says, counted as it is read. Throws Failure.
    std::string Read(std::size_t index);
    zip* Archive() const { return archive_; }
    const std::string& ShownName() const { return shown_; }

private:
    void ListEntries(std::uint64_t fileSize);
    void CheckLocalHeader(std::uint64_t index, const char* name);
    void MarkShadowed();
    void CheckLimits(const PackageEntry& entry);

    zip* archive_ = nullptr;
    std::string shown_;
    std::vector<PackageEntry> entries_;
    std::uint64_t inflated_ = 0;
};

// True when the file begins as a zip package does (a local file header).
bool HasZipSignature(const std::filesystem::path& path);

// True when the file begins as an OLE compound file: a binary or encrypted Office document.
bool HasCompoundFileSignature(const std::filesystem::path& path);

}  // namespace varnex
