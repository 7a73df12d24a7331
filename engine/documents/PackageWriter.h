#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct zip;

namespace varnex {

class PackageReader;

// A new zip package written to an open, empty file (the temporary file of a SafeOutput), in the
// order its entries are added. The descriptor stays the caller's.
class PackageWriter {
public:
    PackageWriter(int descriptor, std::string shownName);  // throws Failure
    ~PackageWriter();
    PackageWriter(const PackageWriter&) = delete;
    PackageWriter& operator=(const PackageWriter&) = delete;

    // The entry as it is in `from`: its compressed data copied, never inflated.
    void Copy(PackageReader& from, std::size_t index);
    // A part with new contents, compressed by `method` (zip's number). `data` must live until
    // Finish() returns.
    void Add(const std::string& name, const std::string& data, std::int32_t method);

    // Writes the package. `progress` is told the share written (0..1); `cancelled` is asked
    // between steps and ends the writing, without a package, when it answers true. Throws
    // Failure; a cancel throws DocumentCancelled.
    void Finish(const std::function<void(double)>& progress, const std::function<bool()>& cancelled);

    struct Target;  // the descriptor and the callbacks, as libzip's callbacks see them

private:
    void Place(std::int64_t index, const std::string& name, std::int32_t method);

    std::unique_ptr<Target> target_;
    zip* archive_ = nullptr;
    std::string shown_;
};

}  // namespace varnex
