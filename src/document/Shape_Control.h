#pragma once

#include "document/LMNGraphic.h"

#include <QPainterPath>

// Shape_Control: a shape given by _shape_type, filled and stroked inside the element's bounds.
class Shape_Control : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Shape; }
    GraphicPtr clone() const override { return std::make_shared<Shape_Control>(*this); }

    bool hitTest(const QPointF &point) const override;
    QRectF drawingBounds() const override;

    // The outline of a shape code in `rect`: "R" rectangle, "C" inscribed ellipse, "RR"
    // rectangle with corners of `cornerRadius` (at most half the shorter side), "T" triangle
    // with its apex at the top centre, "D" diamond through the edge midpoints, "S" five-pointed
    // star, "DS" star of `starPoints` points (3 to 100), "P" regular polygon of
    // `polygonCorners` corners (3 to 100). Stars and polygons stand on a point at the top and
    // are stretched to fill the rectangle. Any other code gives the rectangle.
    static QPainterPath shapePath(const QString &code, const QRectF &rect, double cornerRadius, int starPoints,
                                  int polygonCorners);
    QPainterPath path() const;

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
