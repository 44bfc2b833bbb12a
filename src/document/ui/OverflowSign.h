#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>

class QPainter;

// The small sign a canvas puts at the lower-right corner of an element whose content does not
// fit its frame, as page-layout programs do: a red box with a plus, drawn in screen pixels so
// it keeps its size at every zoom. Only for the screen: exports, prints and mail never show it.
namespace OverflowSign {

// The sign's box for an element whose lower-right corner is at `corner` (widget pixels): just
// inside the element's frame.
QRectF rect(const QPointF &corner);
void paint(QPainter &painter, const QPointF &corner);
// The sign's colour.
QColor colour();

} // namespace OverflowSign
