#pragma once

#include <QObject>

class QWidget;

#include <QMargins>

// Opens a window at a size that shows it whole wherever its screen has room, and reopens it
// exactly where it was left, frame included.
// - Size: Qt sizes a window it shows to its size hint cut to two thirds of the screen (a
//   window whose part scrolls then opens scrolled on a large screen), and a form may set a size
//   short of its content; the keeper gives the window at least its whole hint as far as the
//   screen's free area allows, and holds a larger window to that area.
// - Place: Qt on X11 shows a window hidden and shown again with its frame where its client area
//   was (a title bar lower each time it is first reopened); the keeper notes the frame's corner
//   when the window hides and puts it back there just before the window appears again. A place
//   on no screen any more is left to Qt.
class WindowPlaceKeeper : public QObject
{
    Q_OBJECT

public:
    // Keeps `window`'s size and place from one showing to the next (idempotent).
    static void keep(QWidget *window);

    // Room kept around a window for the window manager's title bar and borders before they
    // are known.
    static QMargins assumedFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
    static void fitOnScreen(QWidget *window);
};
