#include "FrmMain.h"

#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

#include "Launcher.h"
#include "LauncherPlatform.h"

namespace varnex::uninstall {

namespace {

QIcon LauncherIcon() {
    QSvgRenderer renderer(QStringLiteral(":/uninstall/uninstaller-icon.svg"));
    QIcon icon;
    for (int side : {32, 16}) {
        QPixmap image(side, side);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(image);
    }
    return icon;
}

void ShowCritical(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

}  // namespace

FrmMain::FrmMain() {
    setObjectName("frmMain");
    setWindowTitle("Morvell Uninstaller");
    setWindowIcon(LauncherIcon());
    const double twipsPerPixel = 1440.0 / (screen() ? screen()->logicalDotsPerInch() : 96.0);
    resize(qRound(780 / twipsPerPixel), qRound(30 / twipsPerPixel));
}

void FrmMain::Load() { RunLauncher(OwnFolder, {FileExists, StartDetached, ShowCritical}); }

}  // namespace varnex::uninstall
