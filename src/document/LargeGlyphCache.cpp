#include "document/LargeGlyphCache.h"

#include "document/GreyPictures.h"
#include "document/RasterRounding.h"

#include <QColor>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace LargeGlyphCache {

namespace {

using RasterRounding::byteMul;

// Qt's raster engine draws glyphs up to this many device pixels from its own cache.
constexpr double kQtCachedGlyphPixels = 64.0;
// Glyph positions are kept to a quarter of a pixel each way.
constexpr int kSubPixelSteps = 4;
// A thread starts afresh beyond this many masks (a few fonts and sizes of all printable characters).
constexpr qsizetype kMaxMasks = 4096;
// Glyph origins beyond this many pixels from the picture's corner are left to Qt.
constexpr double kFarOff = 1.0e7;

// A glyph's outline depends on the font's own size (it is hinted to that size's pixel grid),
// not only on the size it comes out on the device: the font's size and the scale it is drawn
// at are kept apart, so that 28 pixels drawn twice as large never stand in for 56 pixels.
struct MaskKey
{
    QString family;
    QString style;
    int weight;
    int slant;
    double fontPixels;
    double scaleX;
    double scaleY;
    quint32 glyph;
    int phaseX;
    int phaseY;

    friend bool operator==(const MaskKey &, const MaskKey &) = default;
};

size_t qHash(const MaskKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.family, key.style, key.weight, key.slant, key.fontPixels, key.scaleX, key.scaleY,
                      key.glyph, key.phaseX, key.phaseY);
}

// Coverage of one glyph, 0 to 255, and where its top-left pixel lies from the pixel that
// holds the glyph's origin. Each row keeps the columns from its first to its last covered pixel.
struct Mask
{
    QImage coverage;
    int left = 0;
    int top = 0;
    std::vector<std::pair<int, int>> rows;
};

QHash<MaskKey, Mask> &masks()
{
    thread_local QHash<MaskKey, Mask> cache;
    return cache;
}

// Qt's FreeType engine sets a glyph's sub-pixel position on the font face as a shift whenever it
// makes a glyph picture, and leaves it set. Outlines read afterwards (QRawFont::pathForGlyph(),
// and Qt's own filling of large text) are moved by that shift, a fraction of a font unit, which
// after rounding to 1/64 pixel changes the edges of some glyphs: the same text came out a little
// otherwise by what the thread had drawn before (14-point text at 600 dpi differed in about two
// thousand edge pixels after 72 dpi text). A glyph loaded at no shift sets it back to none; an
// engine of another size on the same face holds no glyph yet, so it does load.
void clearOutlineShift(const QRawFont &font, quint32 glyph)
{
    QRawFont fresh = font;
    fresh.setPixelSize(font.pixelSize() * 2.0);
    fresh.boundingRect(glyph);
}

Mask makeMask(const QRawFont &font, quint32 glyph, double scaleX, double scaleY, double phaseX, double phaseY)
{
    QPainterPath path = font.pathForGlyph(glyph);
    // As Qt fills outlines of text: overlapping contours stay filled.
    path.setFillRule(Qt::WindingFill);
    path = QTransform(scaleX, 0, 0, scaleY, phaseX, phaseY).map(path);
    Mask mask;
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty())
        return mask;
    mask.left = int(std::floor(bounds.left()));
    mask.top = int(std::floor(bounds.top()));
    const int width = int(std::ceil(bounds.right())) - mask.left;
    const int height = int(std::ceil(bounds.bottom())) - mask.top;
    mask.coverage = QImage(width, height, QImage::Format_Alpha8);
    if (mask.coverage.isNull())
        return {};
    mask.coverage.fill(0);
    QPainter painter(&mask.coverage);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(-mask.left, -mask.top);
    painter.fillPath(path, Qt::black);
    painter.end();
    mask.rows.reserve(std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const uchar *line = mask.coverage.constScanLine(y);
        int first = 0;
        int end = width;
        while (first < end && line[first] == 0)
            ++first;
        while (end > first && line[end - 1] == 0)
            --end;
        mask.rows.emplace_back(first, end);
    }
    return mask;
}

// Calls blendRow(line, cover, first, end) for each row of the mask placed at (x, y) that lies
// in the image: `line` is the image row (pixels of type Pixel) and `cover` the mask row, both
// from the mask's left edge; columns from `first` to before `end` are covered and inside.
template<typename Pixel, typename BlendRow>
void forEachRow(QImage &image, const Mask &mask, int x, int y, BlendRow &&blendRow)
{
    const int left = x + mask.left;
    const int top = y + mask.top;
    const int firstRow = std::max(0, -top);
    const int endRow = std::min(mask.coverage.height(), image.height() - top);
    uchar *bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    const uchar *coverage = mask.coverage.constBits();
    const qsizetype coveragePerLine = mask.coverage.bytesPerLine();
    for (int row = firstRow; row < endRow; ++row) {
        const int first = std::max(mask.rows[std::size_t(row)].first, -left);
        const int end = std::min(mask.rows[std::size_t(row)].second, image.width() - left);
        blendRow(reinterpret_cast<Pixel *>(bits + (top + row) * bytesPerLine) + left,
                 coverage + row * coveragePerLine, first, end);
    }
}

// Source-over of the premultiplied colour through the mask at (x, y) of the image, as Qt's
// raster engine blends a solid colour through partial coverage.
void blend(QImage &image, const Mask &mask, int x, int y, quint32 colour)
{
    const bool opaque = qAlpha(colour) == 255;
    forEachRow<quint32>(image, mask, x, y, [colour, opaque](quint32 *line, const uchar *cover, int first, int end) {
        if (opaque) {
            // Inside the strokes coverage is whole: the ink replaces the pixel.
            for (int i = first; i < end; ++i) {
                const quint32 c = cover[i];
                if (c == 255) {
                    line[i] = colour;
                } else if (c != 0) {
                    const quint32 source = byteMul(colour, c);
                    line[i] = source + byteMul(line[i], 255 - qAlpha(source));
                }
            }
            return;
        }
        for (int i = first; i < end; ++i) {
            const quint32 source = byteMul(colour, cover[i]);
            line[i] = source + byteMul(line[i], 255 - qAlpha(source));
        }
    });
}

// x * a / 255 on one channel, rounded as byteMul() rounds each of its four. Every step stays
// within 16 bits, so that loops of it run many pixels at once.
inline quint16 channelMul(quint16 x, quint16 a)
{
    const quint16 t = quint16(x * a);
    return quint16((t + (t >> 8) + 0x80) >> 8);
}

// The same source-over for an opaque grey `level` on an 8-bit grey image: every channel of
// the 32-bit blend takes the same steps, so the grey pixels are those of the 32-bit picture.
void blendGrey(QImage &image, const Mask &mask, int x, int y, quint32 level)
{
    const quint16 ink = quint16(level);
    forEachRow<uchar>(image, mask, x, y, [ink](uchar *__restrict line, const uchar *__restrict cover, int first, int end) {
        // The source's alpha, byteMul(255, c), is c itself: the pixel keeps 255 - c of its own.
        // Whole and no coverage come out as the ink and the pixel unchanged.
        for (int i = first; i < end; ++i) {
            const quint16 c = cover[i];
            line[i] = uchar(channelMul(ink, c) + channelMul(line[i], quint16(255 - c)));
        }
    });
}

// The device pixels wholly inside `rect` (user units), within the image.
QRect innerPixels(const QRectF &rect, const QTransform &transform, const QImage &image)
{
    const QRectF device = transform.mapRect(rect).intersected(QRectF(image.rect()));
    if (!device.isValid())
        return {};
    const int left = int(std::ceil(device.left()));
    const int top = int(std::ceil(device.top()));
    return QRect(left, top, int(std::floor(device.right())) - left, int(std::floor(device.bottom())) - top);
}

// A glyph's mask and the pixel that holds its origin.
struct Placed
{
    MaskKey key;
    int pixelX;
    int pixelY;
};

// Draws unless a precondition fails or, given `allowed`, some touched pixel lies outside it.
bool drawRuns(QPainter &painter, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour,
              const QRectF *clip)
{
    QPaintDevice *device = painter.device();
    if (!device || device->devType() != QInternal::Image || (!clip && painter.hasClipping())
        || !painter.paintEngine() || !painter.paintEngine()->systemClip().isEmpty() || painter.opacity() != 1.0
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || !painter.testRenderHint(QPainter::TextAntialiasing))
        return false;
    QImage &image = *static_cast<QImage *>(device);
    // As Qt's raster engine premultiplies a solid pen colour.
    const quint32 premultiplied = colour.rgba64().premultiplied().toArgb32();
    // An 8-bit grey picture takes opaque grey ink only.
    const bool grey = image.format() == QImage::Format_Grayscale8;
    if (grey && !GreyPictures::isOpaqueGrey(premultiplied))
        return false;
    if (!grey && image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_RGB32)
        return false;
    const QTransform transform = painter.combinedTransform();
    if (transform.type() > QTransform::TxScale || !(transform.m11() > 0) || !(transform.m22() > 0))
        return false;
    for (const QGlyphRun &run : runs) {
        const double pixels = run.rawFont().pixelSize();
        if (pixels * std::min(transform.m11(), transform.m22()) <= kQtCachedGlyphPixels || run.isRightToLeft())
            return false;
    }
    QRect allowed;
    if (clip) {
        allowed = innerPixels(*clip, transform, image);
        if (painter.hasClipping())
            allowed &= innerPixels(painter.clipBoundingRect(), transform, image);
        if (allowed.isEmpty())
            return false;
    }

    QHash<MaskKey, Mask> &cache = masks();
    if (cache.size() > kMaxMasks)
        cache.clear();
    std::vector<Placed> placed;
    QRect ink;
    for (const QGlyphRun &run : runs) {
        const QRawFont font = run.rawFont();
        bool shiftCleared = false;
        MaskKey key{font.familyName(), font.styleName(), font.weight(), int(font.style()), font.pixelSize(),
                    transform.m11(), transform.m22(), 0, 0, 0};
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            const QPointF at = transform.map(origin + positions.at(i));
            // Far off the picture (or not a number): nothing to draw, and no pixel number to make.
            if (!(std::abs(at.x()) < kFarOff && std::abs(at.y()) < kFarOff))
                return false;
            // The pixel holding the glyph origin and the quarter pixel within it.
            const double stepsX = std::round(at.x() * kSubPixelSteps);
            const double stepsY = std::round(at.y() * kSubPixelSteps);
            const int pixelX = int(std::floor(stepsX / kSubPixelSteps));
            const int pixelY = int(std::floor(stepsY / kSubPixelSteps));
            key.glyph = glyphs.at(i);
            key.phaseX = int(stepsX) - pixelX * kSubPixelSteps;
            key.phaseY = int(stepsY) - pixelY * kSubPixelSteps;
            auto found = cache.constFind(key);
            if (found == cache.constEnd() && !std::exchange(shiftCleared, true))
                clearOutlineShift(font, key.glyph);
            if (found == cache.constEnd())
                found = cache.insert(key, makeMask(font, key.glyph, transform.m11(), transform.m22(),
                                                   double(key.phaseX) / kSubPixelSteps,
                                                   double(key.phaseY) / kSubPixelSteps));
            if (found->coverage.isNull())
                continue;
            ink |= QRect(pixelX + found->left, pixelY + found->top, found->coverage.width(), found->coverage.height());
            placed.push_back({key, pixelX, pixelY});
        }
    }
    if (clip && !ink.isEmpty() && !allowed.contains(ink))
        return false;
    for (const Placed &glyph : placed) {
        if (grey)
            blendGrey(image, cache[glyph.key], glyph.pixelX, glyph.pixelY, qRed(premultiplied));
        else
            blend(image, cache[glyph.key], glyph.pixelX, glyph.pixelY, premultiplied);
    }
    return true;
}

} // namespace

bool draw(QPainter &painter, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour)
{
    return drawRuns(painter, runs, origin, colour, nullptr);
}

bool drawInsideClip(QPainter &painter, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour,
                    const QRectF &clip)
{
    return drawRuns(painter, runs, origin, colour, &clip);
}

void prepareQtDrawing(const QPainter &painter, const QList<QGlyphRun> &runs)
{
    const QTransform transform = painter.combinedTransform();
    // As Qt's raster engine chooses between its glyph cache and the outlines.
    const double scale = std::sqrt(std::abs(transform.determinant()));
    for (const QGlyphRun &run : runs) {
        const QRawFont font = run.rawFont();
        if (font.pixelSize() * scale >= kQtCachedGlyphPixels && !run.glyphIndexes().isEmpty())
            clearOutlineShift(font, run.glyphIndexes().constFirst());
    }
}

int maskCount()
{
    return int(masks().size());
}

} // namespace LargeGlyphCache
