#include "FrmHelp.h"

#include <QKeyEvent>
#include <QPainter>

#include "Assets.h"
#include "MainLayout.h"
#include "Twips.h"
#include "WindowFonts.h"

namespace varnex::ui {

namespace {

const QColor kGrey(192, 192, 192);

}  // namespace

FrmHelp::FrmHelp(QWidget* over)
    : QDialog(over, Qt::Dialog | Qt::FramelessWindowHint), picture_(HelpPicture()) {
    setObjectName("frmHelp");
    setWindowTitle("About Varnex");
    setWindowIcon(HelpIcon());
    setModal(true);
    setFont(WindowFont());
    setFixedSize(PixelsX(layout::kHelpWindow.width), PixelsY(layout::kHelpWindow.height));
    if (over) move(over->geometry().center() - rect().center());

    lblTitle = AddLabel("lblTitle", layout::kHelpTitle, "Quick Conversion");
    QFont title = ArialFont(14.25, true);
    title.setUnderline(true);
    lblTitle->setFont(title);
    lblTitle->setStyleSheet("color: rgb(192, 0, 0);");
    lblTitle->adjustSize();

    Label1 =
        AddLabel("Label1", layout::kHelpLabel1,
                 "This button allows you to convert any text with just 1 click. Copy the text you wish to "
                 "convert from any application and click this button.");
    Label1->setFont(ArialFont(8.25));
    Label2 =
        AddLabel("Label2", layout::kHelpLabel2,
                 "The copied text is directly converted into font of your choice so you can use it anywhere "
                 "by pasting it into any application.");
    for (HotSpotLabel* label : {Label1, Label2}) label->setWordWrap(true);
}

HotSpotLabel* FrmHelp::AddLabel(const QString& name, const layout::Box& box, const QString& caption) {
    auto* label = new HotSpotLabel(name, this);
    label->setGeometry(PixelRect(box.left, box.top, box.width, box.height));
    label->setText(caption);
    label->setAttribute(Qt::WA_TranslucentBackground);
    connect(label, &HotSpotLabel::clicked, this, &QDialog::hide);
    return label;
}

void FrmHelp::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        hide();
    }
}

void FrmHelp::mouseReleaseEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) hide();
}

void FrmHelp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kGrey);
    painter.drawPixmap(0, 0, picture_);
}

}  // namespace varnex::ui
