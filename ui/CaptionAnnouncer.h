#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

namespace varnex::ui {

// Tells assistive technology that a window's name changed when its caption changes, which
// Qt does not do by itself: a file job's progress in the caption then reaches a screen
// reader. A job changes the caption many times a second; it is told at most once per
// interval, and the last change of a burst is told when the interval ends.
class CaptionAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit CaptionAnnouncer(QWidget* window, int intervalMs = 2000);

signals:
    void announced();  // after each telling

private:
    void OnCaptionChanged();
    void Announce();

    QWidget* window_;
    int intervalMs_;
    QElapsedTimer sinceLast_;
    QTimer pending_;
};

}  // namespace varnex::ui
