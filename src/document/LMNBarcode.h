#pragma once

#include "document/LMNGraphic.h"

// LMNBarcode: draws _barcode_image at its own size at the element's origin, else the sample picture barcode_sample.png.
class LMNBarcode : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Barcode; }
    GraphicPtr clone() const override { return std::make_shared<LMNBarcode>(*this); }

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
