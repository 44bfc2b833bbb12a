#pragma once

#include "document/LMNGraphic.h"

#include <QLineF>

// LMNLine: a straight line across the bounds, oriented by _line_ori, with cap style, dash code
// and stroke opacity. A line is always stroked.
class LMNLine : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Line; }
    GraphicPtr clone() const override { return std::make_shared<LMNLine>(*this); }

    bool hitTest(const QPointF &point) const override;
    QRectF drawingBounds() const override;

    // The line in the bounds by _line_ori: 0 horizontal through the middle, 1 vertical through
    // the middle, 2 top-left to bottom-right, 3 bottom-left to top-right (other values: 0).
    QLineF line() const;
    // The stroke pen with the cap of _line_cap_style: 0 butt, 1 round, 2 square (other values: butt).
    QPen linePen() const;

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
