#pragma once

#include <QScrollArea>

class QLayout;

// A part of a window's layout moved into a scroll area in its place. The window's minimum size
// then no longer depends on the part, so the window, its buttons included, fits a small
// screen; it still asks for the part's whole size and shows it whole where the screen has
// room (WindowPlaceKeeper sizes the window on its screen).
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

private:
    explicit ScrolledPart(QWidget *window);
};
