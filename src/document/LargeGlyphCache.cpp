#include "document/LargeGlyphCache.h"

#include "document/CoverageMaskCache.h"
#include "document/DrawingCaches.h"
#include "document/GreyPictures.h"
#include "document/TextItemLayers.h"

#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace LargeGlyphCache {

namespace {

// Qt's raster engine draws glyphs up to this many device pixels from its own cache.
constexpr double kQtCachedGlyphPixels = 64.0;
// Text beyond this many pixels from the picture's corner is left to Qt.
constexpr double kFarOff = 1.0e7;
// Marks text keys apart from the keys of strokes.
constexpr int kTextKeys = 0x54657874;

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

// Qt draws the glyphs of colour fonts as pictures of their own, not by coverage.
bool isColourFont(const QRawFont &font)
{
    for (const char *table : {"COLR", "CBDT", "sbix", "SVG "})
        if (!font.fontTable(table).isEmpty())
            return true;
    return false;
}

template<typename T>
void put(QByteArray &key, T value)
{
    key.append(reinterpret_cast<const char *>(&value), sizeof value);
}

void put(QByteArray &key, const QString &text)
{
    put(key, int(text.size()));
    key.append(reinterpret_cast<const char *>(text.constData()), text.size() * qsizetype(sizeof(QChar)));
}

// Everything Qt's drawing of the text depends on but its colour; empty where it cannot be told.
QByteArray keyFor(const QPainter &painter, const QImage &image, Way way, const QList<QGlyphRun> &runs,
                  const QPointF &origin, const QTransform &transform)
{
    QByteArray key;
    key.reserve(96 + 64 * runs.size());
    put(key, kTextKeys);
    put(key, int(way));
    put(key, image.width());
    put(key, image.height());
    put(key, int(painter.renderHints()));
    for (double m : {transform.m11(), transform.m12(), transform.m13(), transform.m21(), transform.m22(),
                     transform.m23(), transform.m31(), transform.m32(), transform.m33(), origin.x(), origin.y()})
        put(key, m);
    for (const QGlyphRun &run : runs) {
        const QRawFont font = run.rawFont();
        put(key, font.familyName());
        put(key, font.styleName());
        put(key, font.weight());
        put(key, int(font.style()));
        put(key, font.pixelSize());
        put(key, int(font.hintingPreference()));
        put(key, int(run.flags()));
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        if (glyphs.size() != positions.size())
            return {};
        put(key, int(glyphs.size()));
        key.append(reinterpret_cast<const char *>(glyphs.constData()), glyphs.size() * qsizetype(sizeof(quint32)));
        for (const QPointF &at : positions) {
            if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
                return {};
            put(key, at.x());
            put(key, at.y());
        }
    }
    return key;
}

// The device pixels the text may cover: its glyphs' boxes and its runs' own, with room to spare
// for synthesised styles and decorations. Coverage found on its edge leaves the text to Qt.
QRect reach(const QList<QGlyphRun> &runs, const QPointF &origin, const QTransform &transform, const QImage &image)
{
    QRectF user;
    for (const QGlyphRun &run : runs) {
        const QRawFont font = run.rawFont();
        const double spare = font.pixelSize() / 4.0;
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
            user |= font.boundingRect(glyphs.at(i)).translated(origin + positions.at(i)).adjusted(-spare, -spare, spare, spare);
        user |= run.boundingRect().translated(origin);
    }
    const QRectF device = transform.mapRect(user);
    if (!(std::abs(device.left()) < kFarOff && std::abs(device.top()) < kFarOff && std::abs(device.right()) < kFarOff
          && std::abs(device.bottom()) < kFarOff))
        return {};
    const QRect pixels(QPoint(int(std::floor(device.left())) - 4, int(std::floor(device.top())) - 4),
                       QPoint(int(std::ceil(device.right())) + 4, int(std::ceil(device.bottom())) + 4));
    return pixels.intersected(image.rect().adjusted(-1, -1, 1, 1));
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

// Draws unless a precondition fails or, given `clip`, some covered pixel lies outside it.
bool drawRuns(QPainter &painter, Way way, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour,
              const QRectF *clip, const QtDrawing &qtDraw)
{
    if (!DrawingCaches::enabled())
        return false;
    QPaintDevice *device = painter.device();
    const QPaintEngine *engine = painter.paintEngine();
    if (runs.isEmpty() || !device || device->devType() != QInternal::Image || (!clip && painter.hasClipping()) || !engine
        || engine->type() != QPaintEngine::Raster || !engine->systemClip().isEmpty() || painter.opacity() != 1.0
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver
        || !painter.testRenderHint(QPainter::TextAntialiasing) || colour.spec() == QColor::ExtendedRgb)
        return false;
    QImage &image = *static_cast<QImage *>(device);
    if (image.devicePixelRatio() != 1.0)
        return false;
    // An 8-bit grey picture takes opaque grey ink only (told again below from Qt's own colour).
    const bool grey = image.format() == QImage::Format_Grayscale8;
    if (grey && !(colour.alpha() == 255 && colour.red() == colour.green() && colour.green() == colour.blue()))
        return false;
    if (!grey && image.format() != QImage::Format_ARGB32_Premultiplied && image.format() != QImage::Format_RGB32)
        return false;
    const QTransform transform = painter.combinedTransform();
    if (transform.type() > QTransform::TxScale || !(transform.m11() > 0) || !(transform.m22() > 0))
        return false;
    for (const QGlyphRun &run : runs) {
        const double pixels = run.rawFont().pixelSize();
        if (!(pixels * std::min(transform.m11(), transform.m22()) > kQtCachedGlyphPixels))
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
    const QByteArray key = keyFor(painter, image, way, runs, origin, transform);
    if (key.isEmpty())
        return false;
    const auto putDown = [&](const CoverageMaskCache::Mask &mask) {
        if (mask.leftToQt || (clip && !mask.bounds.isEmpty() && !allowed.contains(mask.bounds)))
            return false;
        // As Qt's raster engine fills an outline in a solid pen colour; asked of Qt only for
        // text put down from a mask, as that costs a drawing of its own.
        const quint32 premultiplied = CoverageMaskCache::fillColour(QBrush(colour), 1.0);
        if (grey && !GreyPictures::isOpaqueGrey(premultiplied))
            return false;
        if (grey)
            CoverageMaskCache::blendGrey(image, mask, uchar(qRed(premultiplied)));
        else
            CoverageMaskCache::blend(image, mask, premultiplied);
        return true;
    };
    if (const CoverageMaskCache::Mask *mask = CoverageMaskCache::find(key))
        return putDown(*mask);
    // Text drawn once (a record's own value) is Qt's to draw: a mask pays where it is drawn again.
    if (!CoverageMaskCache::seenBefore(key))
        return false;
    const QRect pixels = reach(runs, origin, transform, image);
    if (pixels.isEmpty())
        return false;
    // Qt fills every text item, and every face of a font of several, on its own: a pixel two of
    // them share is blended twice. Each fill becomes a layer of the mask, put down in Qt's order.
    const auto drawText = [&](QPainter &scratch, bool &leftToQt, const std::function<void()> &endLayer) {
        for (const QGlyphRun &run : runs)
            leftToQt = leftToQt || isColourFont(run.rawFont());
        prepareQtDrawing(scratch, runs);
        if (way == Way::GlyphRuns) {
            // The caller draws each run with QPainter::drawGlyphRun(), in order.
            if (runs.size() == 1) {
                qtDraw(scratch);
                return false;
            }
            for (const QGlyphRun &run : runs) {
                scratch.drawGlyphRun(origin, run);
                endLayer();
            }
            return false;
        }
        TextItemLayers items(scratch, image.size(), endLayer);
        QPainter drawing(&items);
        drawing.setRenderHints(scratch.renderHints());
        drawing.setTransform(scratch.transform());
        drawing.setPen(Qt::white);
        qtDraw(drawing);
        drawing.end();
        // Decorations and pictures are Qt's to draw.
        leftToQt = leftToQt || items.drewOtherThanText() || items.items() == 0;
        return false;
    };
    const CoverageMaskCache::Making making{image.size(), transform, painter.renderHints(), pixels, drawText, true};
    bool drawn = false;
    CoverageMaskCache::withMask(key, making, [&](const CoverageMaskCache::Mask &mask) { drawn = putDown(mask); });
    return drawn;
}

} // namespace

bool draw(QPainter &painter, Way way, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour,
          const QtDrawing &qtDraw)
{
    return drawRuns(painter, way, runs, origin, colour, nullptr, qtDraw);
}

bool drawInsideClip(QPainter &painter, Way way, const QList<QGlyphRun> &runs, const QPointF &origin,
                    const QColor &colour, const QRectF &clip, const QtDrawing &qtDraw)
{
    return drawRuns(painter, way, runs, origin, colour, &clip, qtDraw);
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
    return CoverageMaskCache::maskCount();
}

} // namespace LargeGlyphCache
