#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace varnex {

// A file without a name that holds bytes for a while: what an ordered output keeps of an
// input whose turn has not come, once memory would not hold it (as sort does). It is made in
// `folder` (O_TMPFILE; where the filesystem has none, a named file removed at once), and
// goes with the object.
class SpillFile {
public:
    explicit SpillFile(const std::filesystem::path& folder);  // throws Failure
    ~SpillFile();
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;

    // Appends the bytes. Throws Failure (a full disk).
    void Append(const std::uint8_t* data, std::size_t size);
    // Gives all that was appended back in order, a piece at a time. Throws Failure.
    void ReadBack(const std::function<void(const std::uint8_t* data, std::size_t size)>& piece) const;
    std::uint64_t Size() const { return size_; }

private:
    std::filesystem::path folder_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace varnex
