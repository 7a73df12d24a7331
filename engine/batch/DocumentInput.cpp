#include "batch/DocumentInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "Failure.h"
#include "batch/DocumentBytes.h"
#include "batch/InputList.h"
#include "documents/DocumentConversion.h"

namespace varnex {

// An input is read as a document only when it is a regular file (varnex < letter.docx too): a
// zip package is read by seeking, and a pipe (a FIFO, /dev/stdin, <(zcat ...)) can be read
// only once, by the text conversion. A name that cannot be looked at goes on, to be told.
std::string DocumentPathOf(const std::string& input) {
    struct stat info {};
    if (input != "-") return ::stat(input.c_str(), &info) != 0 || S_ISREG(info.st_mode) ? input : "";
    return ::fstat(STDIN_FILENO, &info) == 0 && S_ISREG(info.st_mode) ? "/proc/self/fd/0" : "";
}

bool IsDocumentInput(const std::string& input) {
    const std::string path = DocumentPathOf(input);
    return !path.empty() && RecogniseDocument(path, ShownName(input)) != DocumentKind::Text;
}

bool LooksLikeDocumentInput(const std::string& input) {
    try {
        return IsDocumentInput(input);
    } catch (const Failure&) {
        return true;
    }
}

RecognisedInput RecogniseNamedInput(const std::string& input) {
    const std::string path = DocumentPathOf(input);
    if (path.empty()) return {InputKind::Text, ""};
    try {
        return RecogniseInput(path, ShownName(input));
    } catch (const Failure&) {
        return {LooksLikeDocumentInput(input) ? InputKind::Document : InputKind::Text, ""};
    }
}

std::uint64_t ConvertDocumentInput(const ConversionRun& run, const std::string& input, NewFile& output,
                                   DocumentTotals& totals) {
    const std::string path = DocumentPathOf(input);
    const std::uint64_t size = std::filesystem::file_size(path);
    DocumentBytes progress(run.observer, size);
    ConvertDocument(path, ShownName(input), output, {run.map, run.documentFonts, run.request.strict}, totals,
                    &progress);
    progress.Finished();
    return size;
}

}  // namespace varnex
