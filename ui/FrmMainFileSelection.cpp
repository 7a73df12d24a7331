// The choice of the source file.
#include "FrmMain.h"
#include "jobs/AskNewFileName.h"

namespace varnex::ui {

namespace {

const QStringList kSourceFilters = {"Plain Text Files (*.txt)", "All Files (*)"};

}  // namespace

void FrmMain::SelectSourceFile() {
    try {
        const std::optional<QString> path =
            cdb->ShowOpen("Select a Plain Text file for conversion", kSourceFilters);
        if (!path) return;
        SetTag(lblFile, *path);
        const ChosenSource chosen = DescribeSource(path->toStdString());
        const QString name = path->mid(path->lastIndexOf('/') + 1);
        lblFile->SetCaption(name);
        // also when the caption stays the same: a file of that name from another folder
        lblFile->setToolTip(" " + Tag(lblFile) + " ");
        SourceBaseName = QString::fromStdString(chosen.baseName);
        SourceFolder = QString::fromStdString(chosen.folder);
    } catch (const std::exception& failure) {
        dialogs_.Show({failure.what(), "Varnex Error - Loading File", MessageIcon::Critical});
    }
}

}  // namespace varnex::ui
