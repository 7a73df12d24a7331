#pragma once

#include <QLabel>

namespace varnex::ui {

// A label of the window: shows its caption, takes no keyboard focus, and reports presses,
// releases, clicks and double-clicks of any mouse button. Mouse positions are in pixels
// inside the label.
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

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool afterDoubleClick_ = false;  // the release that ends a double-click is no click
};

// The spare text that every window and control carries.
QString Tag(const QObject* object);
void SetTag(QObject* object, const QString& tag);

}  // namespace varnex::ui
