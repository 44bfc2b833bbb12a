#pragma once

#include <QScrollArea>

class QLayout;

// A part of a window's layout moved into a scroll area in its place. The window's minimum size
// then no longer depends on the part, so the window, its buttons included, fits a small
// screen; it still asks for the part's whole size and shows it whole where the screen has
// room. Each time the window is shown it is made no larger than its screen's free area.
class ScrolledPart : public QScrollArea
{
    Q_OBJECT

public:
    // Moves `part`, a layout directly inside `window`'s top layout, into a new scroll area
    // that takes its place there and scrolls in the `scrolled` directions; in the others the
    // part keeps its minimum size.
    static ScrolledPart *wrap(QWidget *window, QLayout *part, Qt::Orientations scrolled);

    // The part whole, with the area's frame (QScrollArea caps its hint at a few lines of text).
    QSize sizeHint() const override;

    // Room kept around a window for the window manager's title bar and borders before they
    // are known.
    static QMargins assumedFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ScrolledPart(QWidget *window);
    void fitWindowOnScreen();

    QWidget *m_window;
};
