#include "batch/InputConversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "Cancelled.h"
#include "Failure.h"
#include "batch/DocumentInput.h"
#include "jobs/StreamConversion.h"

namespace varnex {

namespace {

constexpr int kPipeSize = 1 << 20;

// Standard input as a SourceFile; a larger pipe buffer means fewer, larger reads.
std::unique_ptr<SourceFile> OpenInput(const Input& input) {
    if (input.name != "-") return std::make_unique<SourceFile>(input.name);
    ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, kPipeSize);
    const int fd = ::dup(STDIN_FILENO);
    if (fd < 0) throw Failure(kDeviceError, ShownName(input) + ": cannot be read");
    return std::make_unique<SourceFile>(fd, ShownName(input));
}

// Tells the observer how far one stream is, and asks it whether to stop.
class StreamProgress : public StreamObserver {
public:
    explicit StreamProgress(BatchObserver& observer) : observer_(observer) {}
    void Advanced(std::uint64_t bytesIn) override {
        observer_.Advanced(bytesIn - told_);
        told_ = bytesIn;
        if (observer_.CancelRequested()) throw ConversionCancelled();
    }

private:
    BatchObserver& observer_;
    std::uint64_t told_ = 0;
};

MissingCodes MissingPolicy(const BatchRequest& request) {
    if (request.strict) return MissingCodes::Fail;
    return request.report ? MissingCodes::Count : MissingCodes::Drop;
}

// A sink that throws at its first failed write, or a NewFile, which ConvertStream checks.
template <class Sink>
Converted ConvertTextInto(const ConversionRun& run, const Input& input, Sink& output) {
    const std::unique_ptr<SourceFile> source = OpenInput(input);
    StreamProgress progress(run.observer);
    StreamTotals totals;
    ConvertStream(*source, ShownName(input), output, run.map, MissingPolicy(run.request), totals, &progress);
    if (run.request.report) run.observer.Reported({ShownName(input), run.map.ReadsUtf8(), totals, {}});
    return {totals.bytesIn, totals.MissingCount()};
}

}  // namespace

std::uint64_t KnownSize(const Input& input) {
    struct stat info {};
    const int result = input.name == "-" ? ::fstat(STDIN_FILENO, &info) : ::stat(input.name.c_str(), &info);
    return result == 0 && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

Converted ConvertText(const ConversionRun& run, const Input& input, ByteSink& output) {
    return ConvertTextInto(run, input, output);
}

Converted ConvertIntoFile(const ConversionRun& run, const Input& input, NewFile& output) {
    if (!input.document) return ConvertTextInto(run, input, output);
    DocumentTotals totals;
    const std::uint64_t size = ConvertDocumentInput(run, input.name, output, totals);
    if (run.request.report) run.observer.Reported({ShownName(input), false, {}, totals});
    return {size, totals.DroppedCount()};
}

}  // namespace varnex
