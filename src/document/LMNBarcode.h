#pragma once

#include "document/LMNGraphic.h"

// LMNBarcode: shows the picture the barcode designer made (_barcode_image) at the picture's
// own size in points (from its dots-per-metre, 72 dpi when it has none) at the element's
// origin; without one, the sample picture "barcode_sample.png" of the resource folder
// stretched into the bounds. It never draws itself from its settings.
class LMNBarcode : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Barcode; }
    GraphicPtr clone() const override { return std::make_shared<LMNBarcode>(*this); }

    // The bounds, and the picture's area where the picture reaches beyond them.
    QRectF drawingBounds() const override;
    // The picture's own size; nothing changes without a picture.
    void makeNaturalSize() override;

    // Where _barcode_image is drawn: its size in points at the element's origin (empty without one).
    QRectF pictureRect() const;

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
