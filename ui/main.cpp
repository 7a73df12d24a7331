#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstdio>

#include "FirstPaintProbe.h"
#include "FrmMain.h"
#include "PlatformStart.h"
#include "ProgramEndSignals.h"
#include "QtDialogs.h"
#include "convert/CharacterRule.h"
#include "map/FontLoaders.h"

int main(int argc, char** argv) {
    try {
        varnex::ApplyVectorChoice();
    } catch (const std::exception& problem) {
        std::fprintf(stderr, "Varnex2010: %s\n", problem.what());
        return 2;
    }
    if (!varnex::ui::PrepareGuiStart("Varnex2010")) return 1;
    // Under a file size limit a write past it fails like a full disk and is reported, instead
    // of the signal ending the program in the middle of a job.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    // the window's class (WM_CLASS "Varnex2010") and the menu entry it belongs to, so that a
    // taskbar groups the window under the entry's icon
    app.setApplicationName("Varnex2010");
    app.setDesktopFileName("varnex2010");
    const varnex::ui::EndProgramOnSignals endOnSignals;
    varnex::ui::QtDialogs dialogs;
    const std::filesystem::path fontMap =
        QDir(QCoreApplication::applicationDirPath()).filePath(varnex::kFontMapFileName).toStdString();
    varnex::ui::FrmMain frmMain(dialogs, fontMap);
    dialogs.SetOwner(&frmMain);
    varnex::ui::WatchFirstPaint(frmMain);
    frmMain.Load();
    return app.exec();
}
