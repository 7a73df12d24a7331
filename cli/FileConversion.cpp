#include "FileConversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "DocumentInput.h"
#include "Failure.h"
#include "jobs/StreamConversion.h"

namespace varnex::cli {

namespace {

constexpr int kPipeSize = 1 << 20;

// Standard input as a SourceFile; a larger pipe buffer means fewer, larger reads.
std::unique_ptr<SourceFile> OpenInput(const Input& input) {
    if (input.name != "-") return std::make_unique<SourceFile>(input.name);
    ::fcntl(STDIN_FILENO, F_SETPIPE_SZ, kPipeSize);
    const int fd = ::dup(STDIN_FILENO);
    if (fd < 0) throw Failure(kDeviceError, "standard input: cannot be read");
    return std::make_unique<SourceFile>(fd, "standard input");
}

// Tells the progress line how far one stream is.
class StreamProgress : public StreamObserver {
public:
    explicit StreamProgress(ProgressBar& bar) : bar_(bar) {}
    void Advanced(std::uint64_t bytesIn) override {
        bar_.Advanced(bytesIn - told_);
        told_ = bytesIn;
    }

private:
    ProgressBar& bar_;
    std::uint64_t told_ = 0;
};

std::string CharacterName(char32_t character) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

std::string DroppedCodes(const StreamTotals& totals) {
    const std::uint64_t count = totals.MissingCount();
    std::string text =
        std::to_string(count) + (count == 1 ? " code" : " codes") + " without an entry dropped:";
    const char* separator = " ";
    for (int code = 0; code < 256; ++code) {
        if (totals.missing[code] == 0) continue;
        text += separator + std::to_string(code) + " (" + std::to_string(totals.missing[code]) + "x)";
        separator = ", ";
    }
    return text;
}

std::string MissingCharacters(const StreamTotals& totals) {
    const std::uint64_t count = totals.MissingCount() - totals.illFormed;
    std::string text;
    if (count != 0) {
        text = std::to_string(count) + (count == 1 ? " character" : " characters") +
               " without an entry dropped:";
        bool first = true;
        for (const auto& [character, times] : totals.missingCharacters) {
            text += (first ? " " : ", ") + CharacterName(character) + " (" + std::to_string(times) + "x)";
            first = false;
        }
    }
    if (totals.illFormed != 0) {
        text += (count != 0 ? "; " : "") + std::to_string(totals.illFormed) +
                (totals.illFormed == 1 ? " ill-formed byte sequence" : " ill-formed byte sequences") +
                " dropped";
    }
    return text;
}

std::string MissingReport(const Input& input, const StreamTotals& totals, bool characters) {
    std::string text = ShownName(input) + ": ";
    if (totals.MissingCount() == 0) return text + (characters ? "no characters dropped" : "no codes dropped");
    return text + (characters ? MissingCharacters(totals) : DroppedCodes(totals));
}

MissingCodes MissingPolicy(const ConvertOptions& options) {
    if (options.strict) return MissingCodes::Fail;
    return options.report ? MissingCodes::Count : MissingCodes::Drop;
}

// A sink that throws at its first failed write, or a NewFile, which ConvertStream checks.
template <class Sink>
Converted ConvertTextInto(const ConversionRun& run, const Input& input, Sink& output, Messages& messages,
                          ProgressBar* progress) {
    const std::unique_ptr<SourceFile> source = OpenInput(input);
    std::optional<StreamProgress> observer;
    if (progress) observer.emplace(*progress);
    StreamTotals totals;
    ConvertStream(*source, ShownName(input), output, run.map, MissingPolicy(run.options), totals,
                  observer ? &*observer : nullptr);
    if (run.options.report) messages.Line(MissingReport(input, totals, run.map.ReadsUtf8()));
    return {totals.bytesIn, totals.MissingCount()};
}

}  // namespace

std::uint64_t KnownSize(const Input& input) {
    struct stat info {};
    const int result = input.name == "-" ? ::fstat(STDIN_FILENO, &info) : ::stat(input.name.c_str(), &info);
    return result == 0 && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

Converted ConvertText(const ConversionRun& run, const Input& input, ByteSink& output, Messages& messages,
                      ProgressBar* progress) {
    return ConvertTextInto(run, input, output, messages, progress);
}

Converted ConvertIntoFile(const ConversionRun& run, const Input& input, NewFile& output, Messages& messages,
                          ProgressBar* progress) {
    if (!input.document) return ConvertTextInto(run, input, output, messages, progress);
    DocumentTotals totals;
    const std::uint64_t size =
        ConvertDocumentInput(run.options, run.map, run.documentFonts, input.name, output, totals, progress);
    if (run.options.report) messages.Line(DocumentReport(input.name, totals));
    return {size, totals.DroppedCount()};
}

}  // namespace varnex::cli
