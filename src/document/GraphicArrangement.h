#pragma once

#include "document/SetBoundsCommand.h"

#include <QSizeF>

class LMNGrid;

// The arithmetic of the layout commands: given the selected elements in list order (index 0
// the topmost) and the card size in points, the bounds each element is to take. Locked
// elements are never moved or resized, except by natural size, which every selected element
// performs. Elements whose bounds would not change are left out.
class GraphicArrangement
{
public:
    enum class Alignment { Left, Right, Top, Bottom, HorizontalCentre, VerticalCentre };

    // Every unlocked element centred on the card in both directions, sizes kept.
    static QList<BoundsChange> centreOnCard(const GraphicList &selected, const QSizeF &card);

    // Two or more elements: the first is the reference and every other unlocked one takes its
    // edge (centre line). Exactly one unlocked element: it goes to the card's edge (centre).
    static QList<BoundsChange> align(const GraphicList &selected, Alignment alignment, const QSizeF &card);

    // Two or more elements: every unlocked one after the first takes the first's width
    // (height), keeping its origin. Fewer: nothing.
    static QList<BoundsChange> sameWidth(const GraphicList &selected);
    static QList<BoundsChange> sameHeight(const GraphicList &selected);

    // Each element's natural size as its kind defines it.
    static QList<BoundsChange> naturalSize(const GraphicList &selected);

    // Every unlocked element's bounds rounded to the grid (LMNGrid::alignedRect).
    static QList<BoundsChange> alignWithGrid(const GraphicList &selected, const LMNGrid &grid);

    // Every unlocked element moved by `delta`.
    static QList<BoundsChange> moveBy(const GraphicList &selected, const QPointF &delta);
};
