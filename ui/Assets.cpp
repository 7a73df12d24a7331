#include "Assets.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library, so they are registered by hand before first use.
static void RegisterAssets() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(assets);
        return true;
    }();
    (void)registered;
}

namespace varnex::ui {

namespace {

QImage Render(const QString& name, QSize size) {
    RegisterAssets();
    QSvgRenderer renderer(":/assets/" + name);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// A picture is shown as a 24-bit bitmap, without transparency.
QPixmap Opaque(const QString& name, QSize size) {
    return QPixmap::fromImage(Render(name, size).convertToFormat(QImage::Format_RGB888));
}

}  // namespace

QPixmap MainPicture() { return Opaque("main.svg", QSize(600, 380)); }
QPixmap HelpPicture() { return Opaque("help.svg", QSize(400, 200)); }

QIcon MainIcon() {
    QIcon icon;
    icon.addPixmap(
        QPixmap::fromImage(Render("icon.svg", QSize(16, 16)).convertToFormat(QImage::Format_Indexed8)));
    for (int side : {48, 32, 24, 16})
        icon.addPixmap(QPixmap::fromImage(Render("icon.svg", QSize(side, side))));
    return icon;
}

QIcon HelpIcon() {
    QIcon icon;
    for (int side : {32, 16}) icon.addPixmap(QPixmap::fromImage(Render("help-icon.svg", QSize(side, side))));
    return icon;
}

QCursor FilePointer() {
    return QCursor(QPixmap::fromImage(Render("pointer-hand.svg", QSize(32, 32))), 10, 5);
}
QCursor VersionPointer() {
    return QCursor(QPixmap::fromImage(Render("pointer-cancel.svg", QSize(32, 32))), 16, 16);
}

}  // namespace varnex::ui
