#pragma once

#include "document/LMNGraphic.h"

// LMNText: the text element: draws its text in the element's bounds with font, colour, alignment, case transform and kerning, over an optional fill and border.
class LMNText : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Text; }
    GraphicPtr clone() const override { return std::make_shared<LMNText>(*this); }

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
