#pragma once

#include <QLabel>

namespace varnex::ui {

// What a hot spot stands for to the keyboard and to assistive technology: a part of the
// picture, or a button or link drawn in it.
enum class HotSpotKind { Picture, Button, Link };

// A label of the window: shows its caption, takes no keyboard focus, and reports presses,
// releases, clicks and double-clicks of any mouse button. Mouse positions are in pixels
// inside the label. A button or a link that is given the focus is pressed with Space or Enter.
class HotSpotLabel : public QLabel {
    Q_OBJECT
public:
    explicit HotSpotLabel(const QString& name, QWidget* parent);

signals:
    void pressed(Qt::MouseButton button, QPoint position);
    void released(Qt::MouseButton button, QPoint position);
    void clicked();
    void doubleClicked();
    void captionChanged(const QString& caption);

public:
    void SetCaption(const QString& caption);

    // The name is what assistive technology reads; without one it reads the caption, and with
    // one the caption is the value. The description is the tooltip unless one is given.
    void Present(HotSpotKind kind, const QString& name, const QString& description = {});
    HotSpotKind Kind() const { return kind_; }

    // Does what a click with the left button in the middle of the label does.
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool afterDoubleClick_ = false;  // the release that ends a double-click is no click
    HotSpotKind kind_ = HotSpotKind::Picture;
};

// The spare text that every window and control carries.
QString Tag(const QObject* object);
void SetTag(QObject* object, const QString& tag);

}  // namespace varnex::ui
