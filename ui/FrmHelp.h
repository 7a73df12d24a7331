#pragma once

#include <QDialog>

#include "HotSpotLabel.h"
#include "MainLayout.h"

namespace varnex::ui {

// The help window: explains the quick conversion; a click anywhere on it, Esc or Enter
// hides it. Created on first use and kept.
class FrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit FrmHelp(QWidget* over);

    HotSpotLabel* lblTitle;
    HotSpotLabel* Label1;
    HotSpotLabel* Label2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    HotSpotLabel* AddLabel(const QString& name, const layout::Box& box, const QString& caption);

    QPixmap picture_;
};

}  // namespace varnex::ui
