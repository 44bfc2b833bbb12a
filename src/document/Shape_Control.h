#pragma once

#include "document/LMNGraphic.h"

// Shape_Control: a shape given by _shape_type (R, C, RR, T, D, S, DS, P) filled and stroked.
class Shape_Control : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Shape; }
    GraphicPtr clone() const override { return std::make_shared<Shape_Control>(*this); }

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
