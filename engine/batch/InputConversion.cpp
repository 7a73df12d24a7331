#include "batch/InputConversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <type_traits>

#include "Cancelled.h"
#include "Failure.h"
#include "batch/DetectedDocument.h"
#include "batch/DocumentInput.h"
#include "batch/SourceChoice.h"
#include "convert/PieceConversion.h"
#include "detect/Sample.h"
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

// Converts what is written into it once more, with a second map, onto the end of `output`:
// for text read in the wrong font and saved again.
class ConvertingSink : public ByteSink {
public:
    ConvertingSink(ByteSink& output, const FontMap& map) : output_(output), conversion_(map) {}
    std::uint8_t* Reserve(std::size_t size) override {
        buffer_.Reserve(size, 0);
        return buffer_.Data();
    }
    void Commit(std::size_t size) override {
        const std::string_view piece(reinterpret_cast<const char*>(buffer_.Data()), size);
        std::uint8_t* out = output_.Reserve(conversion_.Capacity(size));
        output_.Commit(conversion_.Convert(piece, out));
    }
    void Finish() { conversion_.Finish(); }

private:
    ByteSink& output_;
    PieceConversion conversion_;
    GrowingBuffer buffer_;
};

// A sink that throws at its first failed write, or a NewFile, which ConvertStream checks.
template <class Sink>
void Convert(const ConversionRun& run, const SourceChoice& choice, SourceFile& source,
             const std::string& name, Sink& output, StreamTotals& totals, StreamObserver& progress) {
    switch (choice.way) {
        case SourceChoice::Way::Map:
            return ConvertStream(source, name, output, *choice.map, MissingPolicy(run.request), totals,
                                 &progress);
        case SourceChoice::Way::Copy:
            return CopyStream(source, output, totals, &progress);
        case SourceChoice::Way::Twice: {
            ConvertingSink twice(output, *choice.map);
            ConvertStream(source, name, static_cast<ByteSink&>(twice), *choice.first,
                          MissingPolicy(run.request), totals, &progress);
            twice.Finish();
            if constexpr (std::is_same_v<Sink, NewFile>) output.Check();
            return;
        }
    }
}

template <class Sink>
Converted ConvertTextInto(const ConversionRun& run, const Input& input, Sink& output) {
    const std::unique_ptr<SourceFile> source = OpenInput(input);
    const std::string shown = ShownName(input);
    // detection waits for its whole sample; a named font's check takes what is there
    const std::string_view sample =
        run.detects ? source->Peek(kSampleSize) : source->PeekAvailable(kSampleSize);
    const SourceChoice choice = ChooseSource(run, shown, sample);
    if (run.detects) run.observer.Detected(shown, choice.found);
    StreamProgress progress(run.observer);
    StreamTotals totals;
    Convert(run, choice, *source, shown, output, totals, progress);
    const FontMap* first = choice.first ? choice.first : choice.map;
    if (run.request.report) run.observer.Reported({shown, first && first->ReadsUtf8(), totals, {}});
    return {totals.bytesIn, totals.MissingCount(), choice.found.font};
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
    std::string found;
    const std::uint64_t size = run.detects
                                   ? ConvertDetectedDocumentInput(run, input.name, output, totals, found)
                                   : ConvertDocumentInput(run, input.name, output, totals);
    if (run.request.report) run.observer.Reported({ShownName(input), false, {}, totals});
    return {size, totals.DroppedCount(), found};
}

}  // namespace varnex
