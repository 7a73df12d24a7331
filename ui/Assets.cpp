#include "Assets.h"

#include <QImage>
#include <QResource>

// The resources live in a static library, so they are registered by hand before first use.
static void RegisterAssets() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace varnex::ui {

namespace {

// An asset drawn at build time from assets/NAME.svg at this size.
QImage Rendered(const QString& name, QSize size,
                QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    RegisterAssets();
    const QResource pixels(
        QString(":/pictures/%1-%2x%3.argb").arg(name).arg(size.width()).arg(size.height()));
    if (!pixels.isValid() || pixels.compressionAlgorithm() != QResource::NoCompression ||
        pixels.size() != qint64(size.width()) * size.height() * 4) {
        return {};
    }
    // the resource lives as long as the program: no copy is needed
    return QImage(pixels.data(), size.width(), size.height(), format);
}

// Window pictures are opaque: no alpha channel to blend.
QPixmap Picture(const QString& name, QSize size) {
    return QPixmap::fromImage(Rendered(name, size, QImage::Format_RGB32));
}

}  // namespace

QPixmap MainPicture() { return Picture("main", QSize(600, 380)); }
QPixmap HelpPicture() { return Picture("help", QSize(400, 200)); }

QIcon MainIcon() {
    QIcon icon;
    icon.addPixmap(
        QPixmap::fromImage(Rendered("icon", QSize(16, 16)).convertToFormat(QImage::Format_Indexed8)));
    for (int side : {48, 32, 24, 16}) icon.addPixmap(QPixmap::fromImage(Rendered("icon", QSize(side, side))));
    return icon;
}

QIcon HelpIcon() {
    QIcon icon;
    for (int side : {32, 16}) icon.addPixmap(QPixmap::fromImage(Rendered("help-icon", QSize(side, side))));
    return icon;
}

QCursor FilePointer() { return QCursor(QPixmap::fromImage(Rendered("pointer-hand", QSize(32, 32))), 10, 5); }
QCursor VersionPointer() {
    return QCursor(QPixmap::fromImage(Rendered("pointer-cancel", QSize(32, 32))), 16, 16);
}

}  // namespace varnex::ui
