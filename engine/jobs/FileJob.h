#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "Dialogs.h"
#include "convert/FontMap.h"

namespace varnex {

// What a running file job needs from the window around it.
class JobHost {
public:
    virtual ~JobHost() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    // Lets the window process its pending events; a cancel can arrive only here.
    virtual void Yield() = 0;
    virtual bool CancelRequested() const = 0;
    // A clock that runs steadily, in seconds, unaffected by midnight or clock changes.
    virtual double Seconds() = 0;
    // The decimal separator of the user's locale.
    virtual std::string DecimalSeparator() const = 0;
};

inline constexpr std::size_t kJobBlockSize = 1024;

enum class JobEnd { Finished, Cancelled };

// Converts the source into a new file at newPath, block by block, with the progress in the
// host's caption and the completion message at the end, once the new file is synced to the
// disk. Whatever was written stays on disk when the job is cancelled or fails. Throws Failure for a source or
// new file that cannot be opened, read or written.
JobEnd RunFileJob(const std::filesystem::path& sourcePath, const std::filesystem::path& newPath,
                  const FontMap& map, JobHost& host, Dialogs& dialogs);

// The share of the source after the block starting at `position` (1-based), in per cent
// computed in double precision, then rounded half to even to hundredths of a per cent.
std::uint64_t ProgressHundredths(std::uint64_t length, std::uint64_t position);

// "Remaining: " + that share in its shortest form, with the given decimal separator.
std::string ProgressCaption(std::uint64_t hundredths, const std::string& decimalSeparator);

// Both steps at once.
std::string ProgressText(std::uint64_t length, std::uint64_t position, const std::string& decimalSeparator);

// Whole seconds, rounded half to even.
std::int64_t RoundedSeconds(double seconds);

}  // namespace varnex
