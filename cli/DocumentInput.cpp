#include "DocumentInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

#include "Failure.h"
#include "ProgressBar.h"
#include "documents/DocumentConversion.h"

namespace varnex::cli {

namespace {

// The terminal's progress bar, fed with the share of the document done.
class DocumentBar : public DocumentProgress {
public:
    DocumentBar(std::ostream& err, const std::string& input)
        : size_(std::filesystem::file_size(input)), bar_(err, input, size_) {}
    void Advanced(double shareDone) override { bar_.Advanced(static_cast<std::uint64_t>(shareDone * size_)); }
    bool CancelRequested() override { return false; }

private:
    std::uint64_t size_;
    ProgressBar bar_;
};

std::string CodePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

void Report(const std::string& input, const DocumentTotals& totals, std::ostream& err) {
    err << "varnex: " << input << ": " << totals.convertedCharacters << " characters converted; ";
    const std::uint64_t count = totals.WithoutCodeCount();
    if (count == 0) err << "none without a code";
    if (count != 0) err << count << (count == 1 ? " character" : " characters") << " without a code kept:";
    const char* separator = " ";
    for (const auto& [character, times] : totals.withoutCode) {
        err << separator << CodePoint(character) << " (" << times << "x)";
        separator = ", ";
    }
    if (const std::uint64_t dropped = totals.DroppedCount()) {
        const bool characters = totals.dropped.empty();
        err << "; " << dropped
            << (characters ? (dropped == 1 ? " character" : " characters")
                           : (dropped == 1 ? " code" : " codes"))
            << " without an entry dropped:";
        separator = " ";
        for (const auto& [code, times] : totals.dropped) {
            err << separator << code << " (" << times << "x)";
            separator = ", ";
        }
        for (const auto& [character, times] : totals.droppedCharacters) {
            err << separator << CodePoint(character) << " (" << times << "x)";
            separator = ", ";
        }
    }
    err << '\n';
}

// Standard input is read as a document only when it is a file (varnex < letter.docx): a zip
// package is read by seeking, which a pipe cannot do.
std::string PathOf(const std::string& input) {
    if (input != "-") return input;
    struct stat info {};
    return ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode) ? "/proc/self/fd/0" : "";
}

std::string NameOf(const std::string& input) { return input == "-" ? "standard input" : input; }

}  // namespace

bool IsDocumentInput(const std::string& input) {
    const std::string path = PathOf(input);
    return !path.empty() && RecogniseDocument(path, NameOf(input)) != DocumentKind::Text;
}

bool LooksLikeDocumentInput(const std::string& input) {
    try {
        return IsDocumentInput(input);
    } catch (const Failure&) {
        return true;
    }
}

void ConvertDocumentInput(const ConvertOptions& options, const FontMap& map, const DocumentFonts& fonts,
                          const std::string& input, NewFile& output, std::ostream& err) {
    std::unique_ptr<DocumentBar> bar;
    if (::isatty(STDERR_FILENO)) bar = std::make_unique<DocumentBar>(err, PathOf(input));
    DocumentTotals totals;
    ConvertDocument(PathOf(input), NameOf(input), output, {map, fonts, options.strict}, totals, bar.get());
    bar.reset();
    if (options.report) Report(NameOf(input), totals, err);
}

}  // namespace varnex::cli
