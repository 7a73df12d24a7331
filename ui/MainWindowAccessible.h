#pragma once

#include <QAccessibleWidget>

namespace varnex::ui {

// The main window as assistive technology sees it: a window named by its caption, also
// while it is minimised, when the caption carries a running file job's progress. (Qt names
// a minimised window by its icon text, which this window never sets.)
class MainWindowAccessible : public QAccessibleWidget {
public:
    explicit MainWindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override;
};

}  // namespace varnex::ui
