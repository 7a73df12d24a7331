#pragma once

#include <QFocusFrame>

namespace varnex::ui {

// The ring around the hot spot that has the keyboard focus, drawn over the window's picture
// in the system's focus colour (the palette's highlight), with a thin light edge inside it
// that sets it off from any picture. It appears once Tab or Shift+Tab has moved the focus in
// the window: a user of the mouse alone never sees it. (A focus frame, so that it takes no
// clicks and assistive technology does not read it as a part of the window.)
class FocusRing : public QFocusFrame {
    Q_OBJECT
public:
    static constexpr int kWidth = 2;  // pixels of focus colour, outside the light edge
    static constexpr int kMargin = kWidth + 1;

    explicit FocusRing(QWidget* window);
    ~FocusRing() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Follow(QWidget* focused, Qt::FocusReason reason);

    QWidget* window_;
    bool keyboardUsed_ = false;
};

}  // namespace varnex::ui
