#pragma once

#include <QObject>

class QWidget;

// Reopens a window exactly where it was left, frame included. Qt on X11 shows a window hidden
// and shown again with its frame where its client area was (a title bar lower each time it is
// first reopened); the keeper notes the frame's corner when the window hides and puts it back
// there just before the window appears again. A place on no screen any more is left to Qt.
class WindowPlaceKeeper : public QObject
{
    Q_OBJECT

public:
    // Keeps `window`'s place from one showing to the next (idempotent).
    static void keep(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
