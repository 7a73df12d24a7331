// The file conversion job: the Start label, the job's steps around the engine's data path,
// the new file's name, and the cancel label.
#include "Failure.h"
#include "FrmMain.h"
#include "ModCommon.h"
#include "WindowJobHost.h"
#include "Yield.h"
#include "documents/DocumentConversion.h"
#include "files/JobFiles.h"
#include "jobs/AskNewFileName.h"
#include "jobs/DocumentJob.h"

namespace varnex::ui {

namespace {

const char kCancelCaption[] = "Cancel File Convertion";

}  // namespace

bool FrmMain::JobRunning() const { return windowTitle() != Tag(this); }

void FrmMain::OnStartClicked() {
    if (JobRunning()) return;
    try {
        WriteSetting("FontOld", SourceFont());
        WriteSetting("FontNew", TargetFont());
    } catch (const std::exception& failure) {
        dialogs_.Show({failure.what(), "Varnex Error - Convertion", MessageIcon::Critical, MessageButtons::Ok,
                       false, true});
        return;
    }
    ConvertFile();
}

void FrmMain::ConvertFile() {
    if (JobRunning()) return;
    setWindowTitle("Initiating...");
    lblVersion->SetCaption(kCancelCaption);
    std::optional<Failure> failure;
    bool busyPointer = false;
    try {
        if (Tag(lblFile).isEmpty())
            throw Failure(kNoSourceFileChosen, "Please select a file for convertion.");
        if (SourceFont() == TargetFont()) {
            throw Failure(kSameFontsChosen, "Please select a different font for the new file.");
        }
        setCursor(Qt::BusyCursor);  // the window's own: the job's prompts and boxes keep the arrow
        busyPointer = true;
        showMinimized();
        RunJobSteps();
    } catch (const Failure& caught) {
        failure = caught;
    } catch (const std::exception& caught) {
        failure = Failure(kDeviceError, caught.what());
    }
    EndJob(busyPointer, failure);
}

void FrmMain::RunJobSteps() {
    ChosenSource source{Tag(lblFile).toStdString(), SourceFolder.toStdString(), SourceBaseName.toStdString()};
    // A document keeps its extension, and a file it replaces stays until the new one is complete.
    const bool document = RecogniseDocument(source.path, source.path) != DocumentKind::Text;
    source.extension = NewFileExtension(source.path, document);
    const auto deleteQuietly = [document](const std::string& path) {
        if (!document) DeleteQuietly(path);
        YieldToEvents();
    };
    const std::optional<std::string> newPath =
        AskNewFileName(source, TargetFont().toStdString(), dialogs_, deleteQuietly);
    if (!newPath) return;
    NewFilePath = QString::fromStdString(*newPath);
    // The job keeps a map of its own: a quick conversion during a yield may load another.
    FontMap jobMap;
    if (!LoadFontMapOrEnd(jobMap)) return;
    fontMap = jobMap;
    WindowJobHost host(*this);
    if (document) {
        RunDocumentJob(source.path, *newPath, jobMap, DocumentFontsOf(), host, dialogs_);
    } else {
        RunFileJob(source.path, *newPath, jobMap, host, dialogs_);
    }
}

DocumentFonts FrmMain::DocumentFontsOf() const {
    DocumentFonts fonts;
    for (int i = 0; i < cmbFonts[0]->count(); ++i)
        fonts.mapFonts.push_back(cmbFonts[0]->itemText(i).toStdString());
    fonts.source = SourceFont().toStdString();
    fonts.target = TargetFont().toStdString();
    return fonts;
}

void FrmMain::EndJob(bool busyPointer, const std::optional<Failure>& failure) {
    showNormal();
    setWindowTitle(Tag(this));
    lblVersion->SetCaption(Tag(lblVersion));
    if (busyPointer) unsetCursor();
    CancelRequested = false;
    if (!failure) return;
    if (failure->Number() == kNoSourceFileChosen || failure->Number() == kSameFontsChosen) {
        dialogs_.Show({failure->what(), "General Error", MessageIcon::Information});
        if (failure->Number() == kNoSourceFileChosen) SelectSourceFile();
        return;
    }
    dialogs_.Show({failure->what(), "Varnex Error - Convertion", MessageIcon::Critical, MessageButtons::Ok,
                   false, true});
}

void FrmMain::OnVersionPressed() {
    if (lblVersion->text() != kCancelCaption || !JobRunning()) return;
    const MessageAnswer answer = dialogs_.Show({"Are you sure you wan't to cancel?", "Cancel Conversion?",
                                                MessageIcon::Question, MessageButtons::YesNo, true});
    if (answer == MessageAnswer::Yes) CancelRequested = true;
}

}  // namespace varnex::ui
