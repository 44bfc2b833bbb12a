#include "document/StrokeMaskCache.h"

#include "document/DrawingCaches.h"

#include <QByteArray>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace StrokeMaskCache {

namespace {

template<typename T>
void put(QByteArray &key, T value)
{
    key.append(reinterpret_cast<const char *>(&value), sizeof value);
}

// The smallest factor the transform's linear part stretches a length by.
double leastStretch(const QTransform &t)
{
    const double sum = t.m11() * t.m11() + t.m12() * t.m12() + t.m21() * t.m21() + t.m22() * t.m22();
    const double det = t.m11() * t.m22() - t.m12() * t.m21();
    const double root = std::sqrt(std::max(0.0, sum * sum - 4.0 * det * det));
    return std::sqrt(std::max(0.0, (sum - root) / 2.0));
}

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Everything Qt's drawing of the stroke depends on but its colour; empty where the stroke is
// not one to cache.
QByteArray keyFor(const QPainter &painter, const QImage &image, Way way, const QPainterPath &path, const QPen &pen,
                  const QTransform &transform)
{
    const int count = path.elementCount();
    QByteArray key;
    key.reserve(128 + count * 20);
    put(key, int(way));
    put(key, image.width());
    put(key, image.height());
    put(key, int(painter.renderHints()));
    for (double m : {transform.m11(), transform.m12(), transform.m13(), transform.m21(), transform.m22(),
                     transform.m23(), transform.m31(), transform.m32(), transform.m33()})
        put(key, m);
    put(key, pen.widthF());
    put(key, int(pen.style()));
    put(key, int(pen.capStyle()));
    put(key, int(pen.joinStyle()));
    put(key, pen.miterLimit());
    if (pen.style() != Qt::SolidLine) {
        put(key, pen.dashOffset());
        const QList<qreal> pattern = pen.dashPattern();
        put(key, int(pattern.size()));
        for (qreal length : pattern)
            put(key, length);
    }
    put(key, int(path.fillRule()));
    put(key, count);
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element &e = path.elementAt(i);
        if (!allFinite({e.x, e.y}))
            return {};
        put(key, int(e.type));
        put(key, e.x);
        put(key, e.y);
    }
    return key;
}

// The device pixels the stroke may touch: its path's control points widened by more than any
// join, cap or dash reaches, a pixel or two more for the rasteriser's rounding.
QRect reach(const QPainterPath &path, const QPen &pen, const QTransform &transform, const QImage &image)
{
    const double grow = pen.widthF() * (std::max(pen.miterLimit(), 1.0) + 1.0);
    const QRectF device = transform.mapRect(path.controlPointRect().adjusted(-grow, -grow, grow, grow));
    if (!allFinite({device.left(), device.top(), device.right(), device.bottom()}))
        return image.rect();
    const double left = std::max(0.0, std::floor(device.left()) - 2);
    const double top = std::max(0.0, std::floor(device.top()) - 2);
    const double right = std::min(double(image.width()), std::ceil(device.right()) + 2);
    const double bottom = std::min(double(image.height()), std::ceil(device.bottom()) + 2);
    if (right <= left || bottom <= top)
        return {};
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

} // namespace

bool draw(QPainter &painter, Way way, const QPainterPath &path, const QPen &pen, const QtDrawing &qtDraw, bool *result)
{
    if (!DrawingCaches::enabled())
        return false;
    QPaintDevice *device = painter.device();
    const QPaintEngine *engine = painter.paintEngine();
    if (!device || device->devType() != QInternal::Image || !engine || engine->type() != QPaintEngine::Raster
        || painter.hasClipping() || !engine->systemClip().isEmpty()
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    QImage &image = *static_cast<QImage *>(device);
    if (image.format() != QImage::Format_ARGB32_Premultiplied || image.devicePixelRatio() != 1.0)
        return false;
    // Solid colours only; a cosmetic pen, or one a pixel wide or less, is drawn by Qt's
    // pixel-wide stroker, which may blend a pixel more than once.
    if (pen.style() == Qt::NoPen || pen.brush().style() != Qt::SolidPattern
        || pen.color().spec() == QColor::ExtendedRgb || path.elementCount() < 2)
        return false;
    const bool stroke = way != Way::Fill;
    if (stroke && pen.isCosmetic())
        return false;
    // A dashed line with flat or square caps Qt draws dash by dash, blending a pixel two dashes
    // share twice.
    if (way == Way::Line && pen.style() != Qt::SolidLine && pen.capStyle() != Qt::RoundCap)
        return false;
    const QTransform transform = painter.combinedTransform();
    if (transform.type() > QTransform::TxShear
        || !allFinite({transform.m11(), transform.m12(), transform.m21(), transform.m22(), transform.dx(),
                       transform.dy(), pen.widthF(), pen.miterLimit(), pen.dashOffset(), painter.opacity()})
        || (stroke && !(pen.widthF() * leastStretch(transform) > 1.0)))
        return false;

    const QByteArray key = keyFor(painter, image, way, path, pen, transform);
    if (key.isEmpty())
        return false;
    const auto putDown = [&](const CoverageMaskCache::Mask &mask) {
        // Asked of Qt only for a stroke put down from a mask, as that costs a drawing of its own.
        const quint32 colour = CoverageMaskCache::fillColour(pen.brush(), painter.opacity());
        if (colour != 0)
            CoverageMaskCache::blend(image, mask, colour);
        if (result)
            *result = mask.result;
    };
    if (const CoverageMaskCache::Mask *mask = CoverageMaskCache::find(key)) {
        putDown(*mask);
        return true;
    }
    // A stroke drawn once (a card of its own) is Qt's to draw: a mask pays where it is drawn again.
    if (!CoverageMaskCache::seenBefore(key))
        return false;
    CoverageMaskCache::Making making{image.size(), transform, painter.renderHints(), reach(path, pen, transform, image),
                                     [&](QPainter &scratch, bool &, const std::function<void()> &) {
                                         QPen white(pen);
                                         white.setColor(Qt::white);
                                         return qtDraw(scratch, white);
                                     },
                                     false};
    return CoverageMaskCache::withMask(key, making, putDown);
}

bool fill(QPainter &painter, const QPainterPath &path, const QBrush &brush)
{
    if (brush.style() != Qt::SolidPattern)
        return false;
    // The brush rides on a pen for the mask's key and for Qt's drawing.
    const QPen carrier(brush, 1.0);
    return draw(painter, Way::Fill, path, carrier, [&path](QPainter &target, const QPen &drawn) {
        target.fillPath(path, drawn.brush());
        return false;
    });
}

int maskCount()
{
    return CoverageMaskCache::maskCount();
}

qint64 maskBytes()
{
    return CoverageMaskCache::threadBytes();
}

} // namespace StrokeMaskCache
