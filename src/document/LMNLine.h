#pragma once

#include "document/LMNGraphic.h"

// LMNLine: a straight line across the bounds, oriented by _line_ori, with cap style, dash code and stroke opacity.
class LMNLine : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Line; }
    GraphicPtr clone() const override { return std::make_shared<LMNLine>(*this); }

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
