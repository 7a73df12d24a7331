#include "DocumentInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "Failure.h"
#include "documents/DocumentConversion.h"

namespace varnex::cli {

namespace {

// Tells the progress line the bytes of the package done, from the share of the document.
class DocumentBar : public DocumentProgress {
public:
    DocumentBar(ProgressBar& bar, std::uint64_t size) : bar_(bar), size_(size) {}
    void Advanced(double shareDone) override {
        const auto done = static_cast<std::uint64_t>(shareDone * static_cast<double>(size_));
        if (done > told_) bar_.Advanced(done - told_);
        told_ = std::max(told_, done);
    }
    bool CancelRequested() override { return false; }
    void Finished() {
        if (size_ > told_) bar_.Advanced(size_ - told_);
    }

private:
    ProgressBar& bar_;
    std::uint64_t size_;
    std::uint64_t told_ = 0;
};

std::string CodePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// An input is read as a document only when it is a regular file (varnex < letter.docx too): a
// zip package is read by seeking, and a pipe (a FIFO, /dev/stdin, <(zcat ...)) can be read
// only once, by the text conversion. A name that cannot be looked at goes on, to be told.
std::string PathOf(const std::string& input) {
    struct stat info {};
    if (input != "-") return ::stat(input.c_str(), &info) != 0 || S_ISREG(info.st_mode) ? input : "";
    return ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode) ? "/proc/self/fd/0" : "";
}

std::string NameOf(const std::string& input) { return input == "-" ? "standard input" : input; }

}  // namespace

std::string DocumentReport(const std::string& input, const DocumentTotals& totals) {
    std::string text =
        NameOf(input) + ": " + std::to_string(totals.convertedCharacters) + " characters converted; ";
    const std::uint64_t count = totals.WithoutCodeCount();
    if (count == 0) text += "none without a code";
    if (count != 0)
        text += std::to_string(count) + (count == 1 ? " character" : " characters") + " without a code kept:";
    const char* separator = " ";
    for (const auto& [character, times] : totals.withoutCode) {
        text += separator + CodePoint(character) + " (" + std::to_string(times) + "x)";
        separator = ", ";
    }
    if (const std::uint64_t dropped = totals.DroppedCount()) {
        const bool characters = totals.dropped.empty();
        text += "; " + std::to_string(dropped) +
                (characters ? (dropped == 1 ? " character" : " characters")
                            : (dropped == 1 ? " code" : " codes")) +
                " without an entry dropped:";
        separator = " ";
        for (const auto& [code, times] : totals.dropped) {
            text += separator + std::to_string(code) + " (" + std::to_string(times) + "x)";
            separator = ", ";
        }
        for (const auto& [character, times] : totals.droppedCharacters) {
            text += separator + CodePoint(character) + " (" + std::to_string(times) + "x)";
            separator = ", ";
        }
    }
    return text;
}

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

std::uint64_t ConvertDocumentInput(const ConvertOptions& options, const FontMap& map,
                                   const DocumentFonts& fonts, const std::string& input, NewFile& output,
                                   DocumentTotals& totals, ProgressBar* progress) {
    const std::string path = PathOf(input);
    const std::uint64_t size = std::filesystem::file_size(path);
    std::optional<DocumentBar> bar;
    if (progress) bar.emplace(*progress, size);
    ConvertDocument(path, NameOf(input), output, {map, fonts, options.strict}, totals, bar ? &*bar : nullptr);
    if (bar) bar->Finished();
    return size;
}

}  // namespace varnex::cli
