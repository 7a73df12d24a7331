#include "documents/PackageReader.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>

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

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Head(const std::filesystem::path& path, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string head(count, '\0');
    file.read(head.data(), static_cast<std::streamsize>(count));
    head.resize(static_cast<std::size_t>(file.gcount()));
    return head;
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
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive_) {
        const std::string problem =
            code == ZIP_ER_EXISTS ? "two of its parts have the same name" : ZipProblem(code);
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + problem);
    }
    try {
        ListEntries();
    } catch (...) {
        zip_discard(archive_);
        throw;
    }
}

PackageReader::~PackageReader() { zip_discard(archive_); }

void PackageReader::ListEntries() {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > kMaxEntries) {
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + std::to_string(count) + " entries");
    }
    std::set<std::string> seen;
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
        if (!seen.insert(LowerCase(stat.name)).second) {
            throw Failure(
                kBadFileFormat,
                shown_ + ": damaged package: two of its parts have the same name, " + std::string(stat.name));
        }
        entries_.push_back({stat.name, stat.size, stat.comp_size, stat.comp_method});
    }
}

std::optional<std::size_t> PackageReader::Find(const std::string& name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (SameIgnoringCase(entries_[i].name, name)) return i;
    }
    return std::nullopt;
}

std::string PackageReader::Read(std::size_t index) {
    const PackageEntry& entry = entries_.at(index);
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
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (!file) {
        throw Failure(kBadFileFormat,
                      shown_ + ": damaged package: " + entry.name + ": " + zip_strerror(archive_));
    }
    std::string data(entry.size, '\0');
    std::uint64_t done = 0;
    zip_int64_t got = 0;
    while (done < entry.size && (got = zip_fread(file, data.data() + done, entry.size - done)) > 0) {
        done += static_cast<std::uint64_t>(got);
    }
    const std::string problem = got < 0 ? zip_file_strerror(file) : "";
    char extra = 0;
    // a stream that goes on past its declared size is as damaged as one that ends early
    const bool longer = got >= 0 && zip_fread(file, &extra, 1) > 0;
    zip_fclose(file);
    if (got < 0 || done != entry.size || longer) {
        throw Failure(kBadFileFormat, shown_ + ": damaged package: " + entry.name + ": " +
                                          (problem.empty() ? "its length is not the declared one" : problem));
    }
    return data;
}

}  // namespace varnex
