#include <QApplication>
#include <QDir>

#include "FirstPaintProbe.h"
#include "FontLoaders.h"
#include "FrmMain.h"
#include "PlatformStart.h"
#include "QtDialogs.h"

int main(int argc, char** argv) {
    if (!varnex::ui::PrepareGuiStart("Varnex2010")) return 1;
    QApplication app(argc, argv);
    app.setApplicationName("Varnex 2010");
    varnex::ui::QtDialogs dialogs;
    const std::filesystem::path fontMap =
        QDir(QCoreApplication::applicationDirPath()).filePath(varnex::kFontMapFileName).toStdString();
    varnex::ui::FrmMain frmMain(dialogs, fontMap);
    dialogs.SetOwner(&frmMain);
    varnex::ui::WatchFirstPaint(frmMain);
    frmMain.Load();
    return app.exec();
}
