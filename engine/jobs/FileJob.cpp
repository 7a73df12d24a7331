#include "jobs/FileJob.h"

#include <cmath>
#include <optional>

#include "Failure.h"
#include "files/JobFiles.h"
#include "jobs/ConvertBuffer.h"

namespace varnex {

std::uint64_t ProgressHundredths(std::uint64_t length, std::uint64_t position) {
    const double share = static_cast<double>(length - position) / static_cast<double>(length) * 100;
    // Rounded from the double's exact binary value, share = mantissa / 2^shift, so that a
    // double just above or below a half (82.92500000000001) is not taken for a tie.
    int exponent = 0;
    const double fraction = std::frexp(share, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    __extension__ typedef unsigned __int128 Wide;
    const Wide scaled = static_cast<Wide>(mantissa) * 100;
    if (shift <= 0) return static_cast<std::uint64_t>(scaled << -shift);
    if (shift >= 127) return 0;  // below a hundredth of a hundredth
    const Wide one = static_cast<Wide>(1) << shift;
    Wide hundredths = scaled >> shift;
    const Wide remainder = scaled & (one - 1);
    const Wide half = one >> 1;
    if (remainder > half || (remainder == half && hundredths % 2 == 1)) ++hundredths;
    return static_cast<std::uint64_t>(hundredths);
}

std::string ProgressCaption(std::uint64_t hundredths, const std::string& decimalSeparator) {
    const std::uint64_t whole = hundredths / 100;
    const auto fraction = static_cast<unsigned>(hundredths % 100);
    std::string text = "Remaining: " + std::to_string(whole);
    if (fraction != 0) {
        text += decimalSeparator + std::to_string(fraction / 10);
        if (fraction % 10 != 0) text += std::to_string(fraction % 10);
    }
    return text + "%";
}

std::string ProgressText(std::uint64_t length, std::uint64_t position, const std::string& decimalSeparator) {
    return ProgressCaption(ProgressHundredths(length, position), decimalSeparator);
}

std::int64_t RoundedSeconds(double seconds) { return static_cast<std::int64_t>(std::nearbyint(seconds)); }

namespace {

void ShowCaption(JobHost& host, const std::string& caption) {
    host.SetCaption(caption);
    host.Yield();
}

}  // namespace

JobEnd RunFileJob(const std::filesystem::path& sourcePath, const std::filesystem::path& newPath,
                  const FontMap& map, JobHost& host, Dialogs& dialogs) {
    SourceFile source(sourcePath);
    if (SameFile(sourcePath, newPath)) {
        throw Failure(kPathAccessError, "Path/File access error: the new file \"" + newPath.string() +
                                            "\" is the source file itself.");
    }
    DeleteQuietly(newPath);
    host.Yield();
    NewFile output(newPath);
    const std::string separator = host.DecimalSeparator();
    const std::uint64_t length = source.Length();
    ShowCaption(host, "Remaining: " + std::to_string(length));
    const double start = host.Seconds();
    // The caption changes at most once per hundredth, so the job compares hundredths and
    // builds the text only when they change.
    std::optional<std::uint64_t> shown;
    PieceConversion conversion(map);
    for (std::uint64_t position = 1; position <= length; position += kJobBlockSize) {
        if (host.CancelRequested()) {
            output.Close();
            return JobEnd::Cancelled;
        }
        const std::uint64_t left = length - position + 1;
        const std::string_view block = source.ReadNext(left < kJobBlockSize ? left : kJobBlockSize);
        ConvertBuffer(block, conversion, output, dialogs);
        output.Check();
        const std::uint64_t hundredths = ProgressHundredths(length, position);
        if (hundredths == shown) continue;
        shown = hundredths;
        // Whatever runs during the yield may end the program at once: everything converted
        // so far goes to the file first.
        output.Flush();
        ShowCaption(host, ProgressCaption(hundredths, separator));
    }
    conversion.Finish();
    // "Completed" means the new file is on the disk, not only in the system's cache.
    output.Sync();
    output.Close();
    const double end = host.Seconds();
    ShowCaption(host, "FINISHED");
    dialogs.Show(
        {"File conversion was completed in " + std::to_string(RoundedSeconds(end - start)) + " seconds.",
         "Varnex", MessageIcon::Information, MessageButtons::Ok, false, true});
    return JobEnd::Finished;
}

}  // namespace varnex
