#pragma once

#include <QAccessibleTextInterface>

namespace varnex::ui {

// A control's value as read-only text, the form in which assistive technology on Linux
// reads the value of a control that is not a number: nothing can be selected or typed.
class AccessibleValueText : public QAccessibleTextInterface {
public:
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override { return static_cast<int>(ValueText().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

protected:
    virtual QString ValueText() const = 0;
};

}  // namespace varnex::ui
