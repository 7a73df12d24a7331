#include "documents/PackageReader.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string_view>
#include <unordered_map>

#include "Failure.h"
#include "text/LetterCase.h"

namespace varnex {

namespace {

std::string ZipProblem(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// The fixed sizes of zip's records: a local file header, a central directory header, the end
// of central directory record.
constexpr std::uint64_t kLocalHeaderSize = 30;
constexpr std::uint64_t kCentralHeaderSize = 46;
constexpr std::uint64_t kEndRecordSize = 22;

std::string Head(const std::filesystem::path& path, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string head(count, '\0');
    file.read(head.data(), static_cast<std::streamsize>(count));
    head.resize(static_cast<std::size_t>(file.gcount()));
    return head;
}

// The entry's data, counted as it inflates: `problem` tells a stream that fails, or that ends
// before or goes on past the size its directory entry gives.
std::string Inflate(zip_file_t* file, std::uint64_t size, std::string& problem) {
    std::string data(size, '\0');
    std::uint64_t done = 0;
    zip_int64_t got = 0;
    while (done < size && (got = zip_fread(file, data.data() + done, size - done)) > 0) {
        done += static_cast<std::uint64_t>(got);
    }
    char extra = 0;
    if (got < 0) {
        problem = zip_file_strerror(file);
    } else if (done < size) {
        problem = "it inflates to " + std::to_string(done) + " bytes, not the " + std::to_string(size) +
                  " that the directory says";
    } else if (const zip_int64_t more = zip_fread(file, &extra, 1); more < 0) {
        problem = zip_file_strerror(file);  // the check of its CRC, made at its end
    } else if (more > 0) {
        problem = "it inflates to more than the " + std::to_string(size) + " bytes that the directory says";
    }
    return data;
}

}  // namespace

bool HasZipSignature(const std::filesystem::path& path) {
    return Head(path, 4) == std::string("PK\x03\x04", 4);
}

bool HasCompoundFileSignature(const std::filesystem::path& path) {
    return Head(path, 8) == std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

PackageReader::PackageReader(const std::filesystem::path& path, std::string shownName)
    : shown_(std::move(shownName)) {
    std::error_code sizeError;
    const std::uint64_t fileSize = std::filesystem::file_size(path, sizeError);
    int code = 0;
    archive_ = sizeError ? nullptr : zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive_) {
        const std::string problem = sizeError ? sizeError.message() : ZipProblem(code);
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + problem);
    }
    try {
        ListEntries(fileSize);
        MarkShadowed();
    } catch (...) {
        zip_discard(archive_);
        throw;
    }
}

PackageReader::~PackageReader() { zip_discard(archive_); }

void PackageReader::ListEntries(std::uint64_t fileSize) {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxEntries) {
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + std::to_string(count) + " entries");
    }
    // the end of central directory record, then each entry's local and central header
    std::uint64_t footprint = kEndRecordSize;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !stat.name) {
            throw Failure(kBadFileFormat, shown_ + ": damaged package: entry " + std::to_string(i) +
                                              " cannot be read: " + zip_strerror(archive_));
        }
        if (stat.encryption_method != ZIP_EM_NONE) {
            throw Failure(kBadFileFormat,
                          shown_ + ": encrypted package: the part " + stat.name + " is encrypted");
        }
        const std::uint64_t name = std::strlen(stat.name);
        const std::uint64_t local = kLocalHeaderSize + name + stat.comp_size;
        if (stat.comp_size > fileSize || local > fileSize) {
            throw Failure(kBadFileFormat, shown_ + ": damaged package: the entry " + std::string(stat.name) +
                                              " claims " + std::to_string(stat.comp_size) +
                                              " compressed bytes, past the end of the file");
        }
        footprint += local + kCentralHeaderSize + name;
        CheckLocalHeader(static_cast<zip_uint64_t>(i), stat.name);
        entries_.push_back({stat.name, stat.size, stat.comp_size, stat.comp_method});
    }
    if (footprint > fileSize) {
        throw Failure(kBadFileFormat, shown_ + ": damaged package: its entries need at least " +
                                          std::to_string(footprint) + " bytes in a file of " +
                                          std::to_string(fileSize) + ": they overlap or lie outside it");
    }
}

// Opening an entry reads its local header: one that is not where the directory says is found
// here, not when the entry is copied into the new package.
void PackageReader::CheckLocalHeader(zip_uint64_t index, const char* name) {
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (!file) {
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + name + ": " + zip_strerror(archive_));
    }
    zip_fclose(file);
}

void PackageReader::MarkShadowed() {
    std::unordered_map<std::string_view, std::size_t> last;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto [at, added] = last.try_emplace(entries_[i].name, i);
        if (added) continue;
        entries_[at->second].shadowed = true;
        at->second = i;
    }
}

std::optional<std::size_t> PackageReader::Find(const std::string& name) const {
    std::optional<std::size_t> otherCase;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].shadowed) continue;
        if (entries_[i].name == name) return i;
        if (!otherCase && SameIgnoringCase(entries_[i].name, name)) otherCase = i;
    }
    return otherCase;
}

void PackageReader::CheckLimits(const PackageEntry& entry) {
    const std::string where =
        shown_ + ": part too large: " + entry.name + " inflates to " + std::to_string(entry.size) + " bytes";
    if (entry.size > kMaxPartSize) throw Failure(kBadFileFormat, where);
    if (entry.size > (1u << 20) &&
        entry.size / std::max<std::uint64_t>(entry.compressedSize, 1) > kMaxRatio) {
        throw Failure(kBadFileFormat,
                      where + ", more than " + std::to_string(kMaxRatio) + " times its compressed size");
    }
    inflated_ += entry.size;
    if (inflated_ > kMaxInflatedTotal) throw Failure(kBadFileFormat, where + ", past the package's limit");
}

std::string PackageReader::Read(std::size_t index) {
    const PackageEntry& entry = entries_.at(index);
    CheckLimits(entry);
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (!file) {
        throw Failure(kBadFileFormat,
                      shown_ + ": damaged package: " + entry.name + ": " + zip_strerror(archive_));
    }
    std::string problem;
    std::string data = Inflate(file, entry.size, problem);
    zip_fclose(file);
    if (!problem.empty())
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + entry.name + ": " + problem);
    return data;
}

}  // namespace varnex
