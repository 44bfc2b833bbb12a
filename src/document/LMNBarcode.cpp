#include "document/LMNBarcode.h"

#include "document/PaintStyles.h"

#include <QDir>
#include <QPainter>

#include <cmath>

QRectF LMNBarcode::pictureRect() const
{
    if (_barcode_image.isNull())
        return {};
    return QRectF(_bounds.topLeft(), PaintStyles::pictureSizeInPoints(_barcode_image));
}

QRectF LMNBarcode::drawingBounds() const
{
    return _barcode_image.isNull() ? _bounds : _bounds.united(pictureRect());
}

void LMNBarcode::makeNaturalSize()
{
    if (!_barcode_image.isNull())
        _bounds.setSize(PaintStyles::pictureSizeInPoints(_barcode_image));
}

void LMNBarcode::drawContents(QPainter &painter, const DrawContext &context) const
{
    if (!_barcode_image.isNull()) {
        const QRectF target = pictureRect();
        if (context.drawBarcode && context.drawBarcode(painter, *this, target))
            return;
        // Enlarged modules stay sharp-edged; a reduced picture is smoothed so thin bars do not vanish.
        const double devicePixels = target.width() * std::hypot(painter.deviceTransform().m11(), painter.deviceTransform().m12());
        painter.setRenderHint(QPainter::SmoothPixmapTransform, devicePixels < _barcode_image.width());
        painter.drawImage(target, _barcode_image);
        return;
    }
    if (context.resourcePath.isEmpty() || _bounds.isEmpty())
        return;
    const QImage sample = PaintStyles::cachedPicture(QDir(context.resourcePath).filePath(QStringLiteral("barcode_sample.png")));
    if (!sample.isNull())
        painter.drawImage(_bounds, sample);
}
