#include "batch/DetectedDocument.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "Failure.h"
#include "batch/DocumentBytes.h"
#include "batch/DocumentFontDetection.h"
#include "batch/DocumentInput.h"
#include "batch/InputList.h"
#include "documents/DocumentConversion.h"
#include "jobs/StreamConversion.h"
#include "map/FontNameMatch.h"

namespace varnex {

namespace {

// An unnamed file in the folder for temporary files, for a package between two conversions.
class ScratchPackage {
public:
    // where the filesystem has no unnamed files, a named one removed at once
    ScratchPackage() {
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        const std::string where = error ? "/tmp" : folder.string();
        fd_ = ::open(where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            std::string name = where + "/varnex-document-XXXXXX";
            fd_ = ::mkostemp(name.data(), O_CLOEXEC);
            if (fd_ >= 0) ::unlink(name.c_str());
        }
        if (fd_ < 0)
            throw Failure(kPathAccessError,
                          "no temporary file for a document: " + std::string(std::strerror(errno)));
    }
    ~ScratchPackage() { ::close(fd_); }
    ScratchPackage(const ScratchPackage&) = delete;
    ScratchPackage& operator=(const ScratchPackage&) = delete;

    std::unique_ptr<NewFile> Writer() const {
        const int copy = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
        if (copy < 0)
            throw Failure(kPathAccessError,
                          "no temporary file for a document: " + std::string(std::strerror(errno)));
        return std::make_unique<NewFile>(copy, "a temporary file");
    }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_ = -1;
};

using Sources = std::vector<std::pair<std::string, std::vector<std::string>>>;

bool SameName(const std::string& a, const std::string& b) { return !MatchFontName({a}, b).font.empty(); }

// Each conversion renames its fonts to the target's name and converts the runs of its own
// names, matched as -f matches: no name may match one of another conversion, and the font
// whose names match the target's converts first, before any run carries the target's name.
void OrderConversions(Sources& sources, const std::string& written, const std::string& shown) {
    for (std::size_t i = 0; i < sources.size(); ++i) {
        for (std::size_t j = i + 1; j < sources.size(); ++j) {
            for (const std::string& a : sources[i].second) {
                for (const std::string& b : sources[j].second) {
                    if (!SameName(a, b)) continue;
                    throw Failure(kBadFileFormat, shown + ": the document fonts " + a + " and " + b +
                                                      " are one name, but their text is in " +
                                                      sources[i].first + " and " + sources[j].first +
                                                      "; convert them one at a time with -f and --doc-font");
                }
            }
        }
    }
    const auto namesTarget = std::find_if(sources.begin(), sources.end(), [&](const auto& source) {
        return std::any_of(source.second.begin(), source.second.end(),
                           [&](const std::string& name) { return SameName(name, written); });
    });
    if (namesTarget != sources.end()) std::rotate(sources.begin(), namesTarget, namesTarget + 1);
}

// The map fonts that the document's fonts are in, each with the document's names of it, in
// the order first found; each told to the observer. With --doc-font only the fonts it names
// count, and their text is taken as a legacy font's.
Sources DetectedSources(const ConversionRun& run, const std::string& path, const std::string& shown) {
    Sources sources;
    std::string unsure;
    const std::string& target = run.documentFonts.target;
    const std::vector<std::string>& named = run.request.docFonts;
    for (const DocumentFontFinding& finding : DetectDocumentFonts(run.detector->Get(), path, shown, named)) {
        if (!named.empty() && MatchFontName(named, finding.font).font.empty()) continue;
        const Candidate* best = finding.detection.Best();
        if (finding.holds == DocumentFontFinding::Holds::CannotTell)
            unsure += (unsure.empty() ? "" : ", ") + finding.font;
        if (finding.holds != DocumentFontFinding::Holds::MapFont) continue;
        const std::string where = shown + ": " + finding.font;
        const bool isTarget = std::count(best->fonts.begin(), best->fonts.end(), target) > 0;
        run.observer.Detected(where, {isTarget ? target : best->fonts.front(), best->confidence,
                                      best->language, "", "", isTarget});
        if (isTarget || IsUnicodeFont(best->fonts.front())) continue;
        auto found = std::find_if(sources.begin(), sources.end(),
                                  [&](const auto& source) { return source.first == best->fonts.front(); });
        if (found == sources.end()) found = sources.insert(sources.end(), {best->fonts.front(), {}});
        found->second.push_back(finding.font);
    }
    if (sources.empty() && !unsure.empty()) {
        throw Failure(kBadFileFormat, shown + ": cannot tell which font the text of " + unsure +
                                          " is in; give -f FONT and --doc-font NAME");
    }
    OrderConversions(sources, run.documentFonts.WrittenTarget(), shown);
    return sources;
}

}  // namespace

std::uint64_t ConvertDetectedDocumentInput(const ConversionRun& run, const std::string& input,
                                           NewFile& output, DocumentTotals& totals, std::string& firstFont) {
    const std::string path = DocumentPathOf(input), shown = ShownName(input);
    const auto sources = DetectedSources(run, path, shown);
    const std::uint64_t size = std::filesystem::file_size(path);
    DocumentBytes progress(run.observer, size);
    if (sources.empty()) {  // no text in a font of the map but the target: the package as it is
        FoundFont none{"", 1, "", "", "", true};
        none.noMapFont = true;
        run.observer.Detected(shown, none);
        SourceFile source(path);
        StreamTotals copied;
        CopyStream(source, output, copied, nullptr);
        progress.Finished();
        return size;
    }
    firstFont = sources.front().first;
    // one conversion for each font found, each from the package the one before it wrote
    std::vector<std::unique_ptr<ScratchPackage>> between;
    std::string from = path;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const auto& [font, names] = sources[i];
        const bool last = i + 1 == sources.size();
        std::unique_ptr<NewFile> scratch;
        if (!last) {
            between.push_back(std::make_unique<ScratchPackage>());
            scratch = between.back()->Writer();
        }
        const DocumentRequest request{
            run.pairs->Between(font, run.documentFonts.target),
            {{}, font, run.documentFonts.target, names, run.documentFonts.targetName},
            run.request.strict};
        ConvertDocument(from, shown, last ? output : *scratch, request, totals, &progress);
        if (!last) {
            scratch->Close();
            from = between.back()->Path();
        }
    }
    progress.Finished();
    return size;
}

}  // namespace varnex
