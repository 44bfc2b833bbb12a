#include "document/LMNBarcode.h"

#include "document/GreyPictures.h"
#include "document/PaintStyles.h"
#include "document/ThreadCacheBudget.h"

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

// The 32-bit picture an 8-bit grey one holds the grey of. The last few made on this thread are
// kept, within the thread's share of memory for drawing: a canvas draws the same pictures on
// every repaint.
QImage thirtyTwoBit(const QImage &grey)
{
    struct Kept
    {
        qint64 key;
        QImage picture;
    };
    struct KeptPictures
    {
        std::vector<Kept> pictures;
        ~KeptPictures() { clear(); }
        void pop()
        {
            ThreadCacheBudget::giveBack(pictures.back().picture.sizeInBytes());
            pictures.pop_back();
        }
        void clear()
        {
            while (!pictures.empty())
                pop();
        }
    };
    constexpr std::size_t kKept = 4;
    thread_local KeptPictures kept;
    std::vector<Kept> &pictures = kept.pictures;
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        if (it->key == grey.cacheKey()) {
            std::rotate(pictures.begin(), it, it + 1);
            return pictures.front().picture;
        }
    }
    const QImage picture = GreyPictures::toThirtyTwoBit(grey);
    if (pictures.size() >= kKept)
        kept.pop();
    bool room = ThreadCacheBudget::take(picture.sizeInBytes());
    if (!room && !pictures.empty()) {
        kept.clear();
        room = ThreadCacheBudget::take(picture.sizeInBytes());
    }
    if (room)
        pictures.insert(pictures.begin(), Kept{grey.cacheKey(), picture});
    return picture;
}

// Enlarged modules stay sharp-edged; a reduced picture is smoothed so thin bars do not vanish.
void drawBarcodePicture(QPainter &painter, const QImage &picture, const QRectF &target)
{
    const double devicePixels = target.width() * std::hypot(painter.deviceTransform().m11(), painter.deviceTransform().m12());
    const bool reduced = devicePixels < picture.width();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, reduced);
    // Qt smooths and places 8-bit grey pixels otherwise than 32-bit ones: a grey picture is
    // drawn as the 32-bit picture whose grey it holds, so that cards look the same whichever it is.
    if (picture.format() == QImage::Format_Grayscale8)
        painter.drawImage(target, thirtyTwoBit(picture));
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
