#include "document/StrokeMaskCache.h"

#include "document/RasterRounding.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace StrokeMaskCache {

namespace {

using RasterRounding::byteMul;

// Coverage pictures are made for devices up to this many pixels (a card at 1200 dpi); larger
// ones are left to Qt.
constexpr qint64 kMaxDevicePixels = qint64(16) << 20;
// The coverage picture is kept from one mask to the next up to this many pixels (a card at
// 600 dpi); a larger one is made for each mask.
constexpr qint64 kKeptScratchPixels = qint64(4) << 20;
// Runs of covered pixels in a row are joined across fewer uncovered pixels than this.
constexpr int kJoinGap = 8;
// Pen colours kept per thread with the painter opacity they were worked out for.
constexpr qsizetype kMaxColours = 256;

// Runs of whole coverage at least this long are kept without their bytes.
constexpr int kLeastWholeRun = 4;

// Pixels of one row from `x` on: wholly covered, or with their coverage at `offset` in the
// mask's bytes.
struct Run
{
    int y;
    int x;
    int length;
    int offset;
    bool whole;
};

// Where one stroke covers the device, and what its Qt drawing returned.
struct Mask
{
    std::vector<Run> runs;
    std::vector<uchar> coverage;
    bool result = false;

    qint64 bytes() const
    {
        return qint64(runs.capacity() * sizeof(Run) + coverage.capacity()) + qint64(sizeof(Mask));
    }
};

struct Cache
{
    QHash<QByteArray, Mask> masks;
    qint64 bytes = 0;
    // Zero everywhere between drawings; as large as the last device a mask was made for.
    QImage scratch;
    QHash<QByteArray, quint32> colours;
};

Cache &cache()
{
    thread_local Cache instance;
    return instance;
}

template<typename T>
void put(QByteArray &key, T value)
{
    key.append(reinterpret_cast<const char *>(&value), sizeof value);
}

// The premultiplied 32-bit colour Qt's raster engine fills a stroke of `brush` with at the
// painter opacity `opacity`, asked of Qt itself: a fill of that brush wholly covering one
// transparent pixel leaves exactly that colour.
quint32 fillColour(const QBrush &brush, double opacity)
{
    // Qt's raster engine fills a solid colour by its 16-bit channels, whatever model the colour
    // was given in (draw() leaves extended-range colours to Qt).
    QByteArray key;
    const QRgba64 rgba = brush.color().rgba64();
    put(key, quint64(rgba));
    put(key, opacity);
    QHash<QByteArray, quint32> &colours = cache().colours;
    const auto found = colours.constFind(key);
    if (found != colours.constEnd())
        return *found;
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.fill(0);
    QPainter painter(&pixel);
    painter.setOpacity(opacity);
    // Not a rectangle, so that it is filled as the outline of a stroke is.
    QPainterPath cover;
    cover.moveTo(-2, -2);
    cover.lineTo(6, -2);
    cover.lineTo(-2, 6);
    cover.closeSubpath();
    painter.fillPath(cover, QBrush(brush.color()));
    painter.end();
    const quint32 colour = *reinterpret_cast<const quint32 *>(pixel.constScanLine(0));
    if (colours.size() >= kMaxColours)
        colours.clear();
    colours.insert(key, colour);
    return colour;
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

// Keeps the pixels of `line` from `first` to before `end`: long stretches of whole coverage
// as whole runs, the rest with their coverage.
void addRun(Mask &mask, const uchar *line, int y, int first, int end)
{
    const auto partial = [&](int from, int to) {
        if (from >= to)
            return;
        mask.runs.push_back({y, from, to - from, int(mask.coverage.size()), false});
        mask.coverage.insert(mask.coverage.end(), line + from, line + to);
    };
    int pending = first;
    for (int x = first; x < end;) {
        if (line[x] != 255) {
            ++x;
            continue;
        }
        int whole = x;
        while (whole < end && line[whole] == 255)
            ++whole;
        if (whole - x >= kLeastWholeRun) {
            partial(pending, x);
            mask.runs.push_back({y, x, whole - x, 0, true});
            pending = whole;
        }
        x = whole;
    }
    partial(pending, end);
}

// The covered pixels of `area` in the scratch picture as runs, the area left cleared.
void takeRuns(QImage &scratch, const QRect &area, Mask &mask)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uchar *line = scratch.scanLine(y);
        const int end = area.left() + area.width();
        int x = area.left();
        while (x < end) {
            // Eight uncovered pixels at a time.
            while (x + 8 <= end) {
                quint64 eight;
                std::memcpy(&eight, line + x, 8);
                if (eight)
                    break;
                x += 8;
            }
            while (x < end && line[x] == 0)
                ++x;
            if (x >= end)
                break;
            const int first = x;
            int last = x;
            while (x < end && x - last < kJoinGap) {
                if (line[x])
                    last = x;
                ++x;
            }
            addRun(mask, line, y, first, last + 1);
            std::memset(line + first, 0, std::size_t(last + 1 - first));
            x = last + 1;
        }
    }
    mask.runs.shrink_to_fit();
    mask.coverage.shrink_to_fit();
}

// The stroke's mask; none where no coverage picture could be had.
std::optional<Mask> makeMask(const QPainter &painter, const QImage &image, const QPainterPath &path, const QPen &pen,
              const QTransform &transform, const QtDrawing &qtDraw)
{
    Cache &c = cache();
    if (c.scratch.size() != image.size()) {
        c.scratch = QImage();
        c.scratch = QImage(image.size(), QImage::Format_Alpha8);
        if (c.scratch.isNull())
            return std::nullopt;
        c.scratch.fill(0);
    }
    Mask mask;
    {
        QPainter scratch(&c.scratch);
        scratch.setRenderHints(painter.renderHints());
        scratch.setTransform(transform);
        QPen white(pen);
        white.setColor(Qt::white);
        mask.result = qtDraw(scratch, white);
    }
    takeRuns(c.scratch, reach(path, pen, transform, image), mask);
    if (qint64(c.scratch.width()) * c.scratch.height() > kKeptScratchPixels)
        c.scratch = QImage();
    return mask;
}

#if defined(__SSE2__)
// byteMul() of four pixels by four factors, each factor in both 16-bit halves of its pixel's lane.
inline __m128i byteMul4(__m128i pixels, __m128i factors)
{
    const __m128i redBlue = _mm_set1_epi32(0x00ff00ff);
    const __m128i half = _mm_set1_epi16(0x80);
    __m128i ag = _mm_mullo_epi16(_mm_srli_epi16(pixels, 8), factors);
    __m128i rb = _mm_mullo_epi16(_mm_and_si128(pixels, redBlue), factors);
    ag = _mm_add_epi16(_mm_add_epi16(ag, _mm_srli_epi16(ag, 8)), half);
    rb = _mm_add_epi16(_mm_add_epi16(rb, _mm_srli_epi16(rb, 8)), half);
    return _mm_or_si128(_mm_andnot_si128(redBlue, ag), _mm_srli_epi16(rb, 8));
}

// Source-over of `colour` through four coverage bytes onto four pixels.
inline __m128i blend4(__m128i pixels, quint32 cover, __m128i colour)
{
    __m128i factors = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(cover)), _mm_setzero_si128());
    factors = _mm_unpacklo_epi16(factors, factors);
    const __m128i source = byteMul4(colour, factors);
    __m128i keep = _mm_srli_epi32(source, 24);
    keep = _mm_sub_epi16(_mm_set1_epi16(255), _mm_or_si128(keep, _mm_slli_epi32(keep, 16)));
    return _mm_add_epi32(source, byteMul4(pixels, keep));
}
#endif

// Source-over of the premultiplied colour through `cover` (whole coverage where null) onto
// `length` pixels of `line`, as Qt's raster engine blends a solid colour through coverage.
// Whole coverage and none come out of the same sums as the colour and the pixel unchanged.
void blendSpan(quint32 *line, const uchar *cover, int length, quint32 colour)
{
    int i = 0;
    if (!cover && qAlpha(colour) == 255) {
        std::fill_n(line, length, colour);
        return;
    }
#if defined(__SSE2__)
    const __m128i colours = _mm_set1_epi32(int(colour));
    for (; i + 4 <= length; i += 4) {
        quint32 four = 0xffffffffu;
        if (cover)
            std::memcpy(&four, cover + i, 4);
        if (four == 0)
            continue;
        __m128i *at = reinterpret_cast<__m128i *>(line + i);
        _mm_storeu_si128(at, blend4(_mm_loadu_si128(at), four, colours));
    }
#endif
    for (; i < length; ++i) {
        const quint32 source = cover ? byteMul(colour, cover[i]) : colour;
        line[i] = source + byteMul(line[i], 255 - qAlpha(source));
    }
}

// Source-over of the premultiplied colour through the mask.
void blend(QImage &image, const Mask &mask, quint32 colour)
{
    uchar *bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    for (const Run &run : mask.runs) {
        quint32 *line = reinterpret_cast<quint32 *>(bits + run.y * bytesPerLine) + run.x;
        blendSpan(line, run.whole ? nullptr : mask.coverage.data() + run.offset, run.length, colour);
    }
}

} // namespace

bool draw(QPainter &painter, Way way, const QPainterPath &path, const QPen &pen, const QtDrawing &qtDraw, bool *result)
{
    QPaintDevice *device = painter.device();
    const QPaintEngine *engine = painter.paintEngine();
    if (!device || device->devType() != QInternal::Image || !engine || engine->type() != QPaintEngine::Raster
        || painter.hasClipping() || !engine->systemClip().isEmpty()
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    QImage &image = *static_cast<QImage *>(device);
    if (image.format() != QImage::Format_ARGB32_Premultiplied || image.devicePixelRatio() != 1.0
        || qint64(image.width()) * image.height() > kMaxDevicePixels)
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

    const quint32 colour = fillColour(pen.brush(), painter.opacity());
    const QByteArray key = keyFor(painter, image, way, path, pen, transform);
    if (key.isEmpty())
        return false;
    Cache &c = cache();
    auto found = c.masks.constFind(key);
    if (found == c.masks.constEnd()) {
        std::optional<Mask> made = makeMask(painter, image, path, pen, transform, qtDraw);
        if (!made)
            return false;
        Mask &mask = *made;
        const qint64 bytes = mask.bytes() + key.size();
        if (bytes > kMaxBytes / 4) {
            // Too large to keep: drawn this once from the mask.
            blend(image, mask, colour);
            if (result)
                *result = mask.result;
            return true;
        }
        if (c.masks.size() >= kMaxMasks || c.bytes + bytes > kMaxBytes) {
            c.masks.clear();
            c.bytes = 0;
        }
        c.bytes += bytes;
        found = c.masks.insert(key, std::move(mask));
    }
    if (colour != 0)
        blend(image, *found, colour);
    if (result)
        *result = found->result;
    return true;
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
    return int(cache().masks.size());
}

qint64 maskBytes()
{
    return cache().bytes;
}

} // namespace StrokeMaskCache
