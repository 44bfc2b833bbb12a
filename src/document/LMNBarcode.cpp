#include "document/LMNBarcode.h"

#include "document/GreyPictures.h"
#include "document/PaintStyles.h"

#include <QDir>
#include <QMutex>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QMutex sampleMutex;
LMNBarcode::SampleMaker sampleMaker = nullptr;
QImage madeSample;
bool sampleMade = false;

// Enlarged modules stay sharp-edged; a reduced picture is smoothed so thin bars do not vanish.
void drawBarcodePicture(QPainter &painter, const QImage &picture, const QRectF &target)
{
    const double devicePixels = target.width() * std::hypot(painter.deviceTransform().m11(), painter.deviceTransform().m12());
    const bool reduced = devicePixels < picture.width();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, reduced);
    // Qt smooths and places 8-bit grey pixels otherwise than 32-bit ones: a grey picture is
    // drawn as the 32-bit picture whose grey it holds, so that cards look the same whichever it is.
    if (picture.format() == QImage::Format_Grayscale8)
        painter.drawImage(target, GreyPictures::keptThirtyTwoBit(picture));
    else
        painter.drawImage(target, picture);
}

} // namespace

void LMNBarcode::setSampleMaker(SampleMaker maker)
{
    const QMutexLocker lock(&sampleMutex);
    if (maker != sampleMaker) {
        sampleMaker = maker;
        sampleMade = false;
        madeSample = QImage();
    }
}

QImage LMNBarcode::samplePicture()
{
    const QMutexLocker lock(&sampleMutex);
    if (!sampleMade && sampleMaker) {
        madeSample = sampleMaker();
        sampleMade = true;
    }
    return madeSample;
}

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
        drawBarcodePicture(painter, _barcode_image, target);
        return;
    }
    if (context.resourcePath.isEmpty() || _bounds.isEmpty())
        return;
    QImage sample = samplePicture();
    if (sample.isNull())
        sample = PaintStyles::cachedPicture(QDir(context.resourcePath).filePath(QStringLiteral("barcode_sample.png")));
    if (sample.isNull())
        return;
    const QSizeF natural = PaintStyles::pictureSizeInPoints(sample);
    if (natural.isEmpty())
        return;
    const double scale = std::min(_bounds.width() / natural.width(), _bounds.height() / natural.height());
    const QSizeF size = natural * scale;
    const QPointF corner = _bounds.topLeft() + QPointF(_bounds.width() - size.width(), _bounds.height() - size.height()) / 2;
    drawBarcodePicture(painter, sample, QRectF(corner, size));
}
