#pragma once

#include "document/LMNGraphic.h"

#include <QImage>

// LMNBarcode: shows the picture the barcode designer made (_barcode_image) at the picture's
// own size in points (from its dots-per-metre, 72 dpi when it has none) at the element's
// origin; without one, a sample fitted into the bounds (its shape kept, centred). It never
// draws itself from its settings.
class LMNBarcode : public LMNGraphic
{
public:
    // The sample is the picture the designer opens with for a new element, made once by the
    // maker the barcode subsystem sets (this class knows no barcode generator). Without a
    // maker, or when it makes no picture, the resource folder's "barcode_sample.png".
    using SampleMaker = QImage (*)();
    static void setSampleMaker(SampleMaker maker);
    static QImage samplePicture();

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
