// Renders an SVG asset at build time to raw pixels: 32 bits per pixel, premultiplied ARGB
// in the machine's byte order, rows top to bottom (QImage's ARGB32_Premultiplied). The
// program then shows ready pixels at start-up instead of loading an SVG renderer.
// An OUT ending in .png is written as a PNG file instead (the icons that are installed).
//   render_picture IN.svg OUT.argb|OUT.png WIDTH HEIGHT [opaque]
// "opaque" puts the picture on white, for window pictures that have no transparency.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: render_picture IN.svg OUT.argb WIDTH HEIGHT [opaque]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_picture: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(std::atoi(argv[3]), std::atoi(argv[4]), QImage::Format_ARGB32_Premultiplied);
    image.fill(argc == 6 && std::strcmp(argv[5], "opaque") == 0 ? Qt::white : Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    if (QString::fromLocal8Bit(argv[2]).endsWith(".png")) {
        if (image.save(QString::fromLocal8Bit(argv[2]), "PNG")) return 0;
        std::fprintf(stderr, "render_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    FILE* out = std::fopen(argv[2], "wb");
    bool written = out != nullptr;
    for (int y = 0; written && y < image.height(); ++y) {
        written = std::fwrite(image.constScanLine(y), 4, image.width(), out) == std::size_t(image.width());
    }
    if (out && std::fclose(out) != 0) written = false;
    if (!written) {
        std::fprintf(stderr, "render_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
