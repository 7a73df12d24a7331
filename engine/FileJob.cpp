#include "FileJob.h"

#include <cmath>

#include "ConvertBuffer.h"
#include "Failure.h"
#include "JobFiles.h"

namespace varnex {

std::string ProgressText(std::uint64_t length, std::uint64_t position, const std::string& decimalSeparator) {
    // In hundredths of a per cent: (length - position) / length * 10000, rounded half to
    // even in exact integer arithmetic.
    __extension__ typedef unsigned __int128 Wide;
    const Wide scaled = static_cast<Wide>(length - position) * 10000;
    Wide hundredths = scaled / length;
    const Wide remainder = scaled % length;
    if (2 * remainder > length || (2 * remainder == length && hundredths % 2 == 1)) ++hundredths;
    const auto whole = static_cast<std::uint64_t>(hundredths / 100);
    const auto fraction = static_cast<unsigned>(hundredths % 100);
    std::string text = "Remaining: " + std::to_string(whole);
    if (fraction != 0) {
        text += decimalSeparator + std::to_string(fraction / 10);
        if (fraction % 10 != 0) text += std::to_string(fraction % 10);
    }
    return text + "%";
}

std::int64_t RoundedSeconds(double seconds) { return static_cast<std::int64_t>(std::nearbyint(seconds)); }

namespace {

void ShowCaption(JobHost& host, std::string& current, const std::string& caption) {
    current = caption;
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
    std::string caption;
    const std::string separator = host.DecimalSeparator();
    const std::uint64_t length = source.Length();
    ShowCaption(host, caption, "Remaining: " + std::to_string(length));
    const double start = host.Seconds();
    for (std::uint64_t position = 1; position <= length; position += kJobBlockSize) {
        if (host.CancelRequested()) {
            output.Close();
            return JobEnd::Cancelled;
        }
        const std::uint64_t left = length - position + 1;
        const std::string_view block = source.ReadNext(left < kJobBlockSize ? left : kJobBlockSize);
        ConvertBuffer(block, map, output, dialogs);
        output.Check();
        const std::string progress = ProgressText(length, position, separator);
        if (progress != caption) ShowCaption(host, caption, progress);
    }
    output.Close();
    const double end = host.Seconds();
    ShowCaption(host, caption, "FINISHED");
    dialogs.Show(
        {"File conversion was completed in " + std::to_string(RoundedSeconds(end - start)) + " seconds.",
         "Varnex", MessageIcon::Information, MessageButtons::Ok, false, true});
    return JobEnd::Finished;
}

}  // namespace varnex
