#include "jobs/DocumentJob.h"

#include <cmath>
#include <optional>

#include "Failure.h"
#include "documents/DocumentCancelled.h"
#include "documents/DocumentConversion.h"
#include "files/SafeOutput.h"

namespace varnex {

namespace {

// The caption shows the share left, and the window gets its events whenever it changes.
class CaptionProgress : public DocumentProgress {
public:
    explicit CaptionProgress(JobHost& host) : host_(host), separator_(host.DecimalSeparator()) {}

    void Advanced(double shareDone) override {
        const auto hundredths = static_cast<std::uint64_t>(std::nearbyint((1.0 - shareDone) * 10000));
        if (hundredths == shown_) return;
        shown_ = hundredths;
        host_.SetCaption(ProgressCaption(hundredths, separator_));
        host_.Yield();
    }
    bool CancelRequested() override { return host_.CancelRequested(); }

private:
    JobHost& host_;
    std::string separator_;
    std::optional<std::uint64_t> shown_;
};

}  // namespace

JobEnd RunDocumentJob(const std::filesystem::path& sourcePath, const std::filesystem::path& newPath,
                      const FontMap& map, const DocumentFonts& fonts, JobHost& host, Dialogs& dialogs) {
    if (SameFile(sourcePath, newPath)) {
        throw Failure(kPathAccessError, "Path/File access error: the new file \"" + newPath.string() +
                                            "\" is the source file itself.");
    }
    const std::string shown = sourcePath.filename().string();
    SafeOutput output(newPath);
    host.SetCaption("Remaining: " + std::to_string(std::filesystem::file_size(sourcePath)));
    host.Yield();
    const double start = host.Seconds();
    CaptionProgress progress(host);
    DocumentTotals totals;
    try {
        ConvertDocument(sourcePath, shown, output.File(), {map, fonts, false}, totals, &progress);
    } catch (const DocumentCancelled&) {
        return JobEnd::Cancelled;
    }
    output.Commit(true);
    const double end = host.Seconds();
    host.SetCaption("FINISHED");
    host.Yield();
    dialogs.Show(
        {"File conversion was completed in " + std::to_string(RoundedSeconds(end - start)) + " seconds.",
         "Varnex", MessageIcon::Information, MessageButtons::Ok, false, true});
    return JobEnd::Finished;
}

}  // namespace varnex
