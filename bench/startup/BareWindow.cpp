// The yardsticks of the start-up benchmark: a bare Qt window of the main window's size that
// paints a rectangle, and with --with-text the same window holding a label and a drop-down
// list, which loads Qt's font and text machinery as any window with text does.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include "FirstPaintProbe.h"

namespace {

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(192, 255, 192)); }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setFixedSize(600, 380);
    if (argc > 1 && QString(argv[1]) == "--with-text") {
        (new QLabel("Source font", &window))->move(20, 20);
        auto* list = new QComboBox(&window);
        list->addItems({"KOI8-R", "Windows-1251"});
        list->move(20, 50);
    }
    varnex::ui::WatchFirstPaint(window);
    window.show();
    return app.exec();
}
