#include "barcode/BarcodeText.h"

#include "document/GreyPictures.h"
#include "document/LargeGlyphCache.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace BarcodeText {

namespace {

constexpr int kDotsPerMetreAt72Dpi = 2835;
// Fonts a thread keeps ready; a picture uses three at most.
constexpr std::size_t kFontsKept = 8;
// Laid-out lines and sizes are kept per thread for texts up to this many characters, which
// bounds their memory: a value as long as a paragraph is laid out afresh.
constexpr qsizetype kLongestKeptText = 1024;

// A device of 72 dots per inch, so that font metrics come out in points. One per thread:
// paint devices are not shared between threads.
const QPaintDevice *pointDevice()
{
    thread_local const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(kDotsPerMetreAt72Dpi);
        image.setDotsPerMeterY(kDotsPerMetreAt72Dpi);
        return image;
    }();
    return &device;
}

QFont baseFont(const CardFont &font)
{
    QFont qfont = font.toQFont();
    // Advances must not depend on the pixel grid, or a caption measured in points would not
    // fit where it is drawn at 600 dpi.
    qfont.setHintingPreference(QFont::PreferNoHinting);
    return qfont;
}

double pointSizeOf(const CardFont &font)
{
    return font.pointSize > 0 ? font.pointSize : 12.0;
}

// What a thread knows about one card font, made once: resolving a PostScript name and
// loading its metrics cost more than measuring a caption.
//
// Every font metric Qt answers takes its font database's lock, which threads drawing pictures
// at once would queue for: the metrics a picture asks for again and again are kept here.
struct FontSet
{
    explicit FontSet(const CardFont &font)
        : key(font)
        , points(fontFor(font, pointDevice()), pointDevice())
        , capHeight(points.capHeight())
        , leading(points.leading())
        , descent(points.descent())
    {
        // Text is laid out for no device: Qt then takes absolute letter spacing as it is,
        // whereas on a device it multiplies it by a whole-number ratio of resolutions (and
        // drops it below 96 dpi). A font of the screen's resolution sized so that one layout
        // unit is one point keeps the kerning in points on every device.
        layout = baseFont(font);
        const double screenDpi = QFontMetricsF(layout).fontDpi();
        layout.setPointSizeF(pointSizeOf(font) * 72.0 / (screenDpi > 0 ? screenDpi : 72.0));
    }

    CardFont key;
    QFontMetricsF points;
    double capHeight;
    double leading;
    double descent;
    QFont layout;
};

FontSet &fontSet(const CardFont &font)
{
    thread_local std::vector<std::unique_ptr<FontSet>> sets;
    for (auto it = sets.begin(); it != sets.end(); ++it) {
        if ((*it)->key == font) {
            if (it != sets.begin())
                std::rotate(sets.begin(), it, it + 1);
            return *sets.front();
        }
    }
    if (sets.size() >= kFontsKept)
        sets.pop_back();
    sets.insert(sets.begin(), std::make_unique<FontSet>(font));
    return *sets.front();
}

// The text laid out in points, kerning included, lines stacked from y = 0 down.
// `wrapWidth` > 0 wraps at word boundaries; otherwise only line feeds break lines.
struct Laid
{
    std::unique_ptr<QTextLayout> layout;
    double width = 0.0;
    double height = 0.0;
};

Laid layOut(const QString &text, const FontSet &set, double kerning, double wrapWidth)
{
    QFont font = set.layout;
    if (kerning != 0.0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, kerning);
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    Laid laid;
    laid.layout = std::make_unique<QTextLayout>(lines, font);
    QTextOption option;
    option.setWrapMode(wrapWidth > 0 ? QTextOption::WordWrap : QTextOption::NoWrap);
    laid.layout->setTextOption(option);
    laid.layout->setCacheEnabled(true);
    const double leading = set.leading;
    double y = -leading;
    laid.layout->beginLayout();
    for (QTextLine line = laid.layout->createLine(); line.isValid(); line = laid.layout->createLine()) {
        if (wrapWidth > 0)
            line.setLineWidth(wrapWidth);
        y += leading;
        line.setPosition(QPointF(0, y));
        // Unrounded, as the line boxes of measure() stack.
        y += line.ascent() + line.descent();
        laid.width = std::max(laid.width, line.horizontalAdvance());
    }
    laid.layout->endLayout();
    laid.height = std::max(0.0, y);
    return laid;
}

// One unwrapped line laid out once per thread: a run of pictures repeats its captions and
// their fonts, and shaping a line costs more than drawing it.
struct OneLine
{
    QString text;
    CardFont font;
    double kerning = 0.0;
    QList<QGlyphRun> runs;
    double advance = 0.0;   // the line's horizontal advance
    double ascent = 0.0;
    double height = 0.0;    // of the line box
};

// The line of `text` laid out unwrapped, or null when it makes more than one line or is too
// long to keep.
const OneLine *oneLine(const QString &text, const CardFont &font, double kerning)
{
    constexpr std::size_t kLinesKept = 16;
    if (text.size() > kLongestKeptText)
        return nullptr;
    thread_local std::vector<std::unique_ptr<OneLine>> lines;
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if ((*it)->kerning == kerning && (*it)->text == text && (*it)->font == font) {
            if (it != lines.begin())
                std::rotate(lines.begin(), it, it + 1);
            return lines.front().get();
        }
    }
    if (text.contains(QLatin1Char('\n')))
        return nullptr;
    const Laid laid = layOut(text, fontSet(font), kerning, 0.0);
    if (laid.layout->lineCount() != 1)
        return nullptr;
    const QTextLine line = laid.layout->lineAt(0);
    auto made = std::make_unique<OneLine>();
    made->text = text;
    made->font = font;
    made->kerning = kerning;
    made->runs = line.glyphRuns();
    made->advance = line.horizontalAdvance();
    made->ascent = line.ascent();
    made->height = laid.height;
    if (lines.size() >= kLinesKept)
        lines.pop_back();
    lines.insert(lines.begin(), std::move(made));
    return lines.front().get();
}

// Where the glyphs of `runs` put ink, laid out from (0, 0) with `origin` added (user units).
QRectF inkBounds(const QList<QGlyphRun> &runs, const QPointF &origin)
{
    QRectF bounds;
    for (const QGlyphRun &run : runs) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
            bounds |= font.boundingRect(glyphs.at(i)).translated(origin + positions.at(i));
    }
    return bounds;
}

// Draws text through `draw`, which sets its own pen, with the painter's transform and clip.
//
// Qt blends the glyphs it draws itself into 8-bit grey pixels with other rounding than into
// 32-bit ones, so a grey picture would come out a level apart from the 32-bit picture in grey.
// On a grey image the pixels around `ink` (user units) are drawn on as a 32-bit copy and
// copied back, which keeps every picture of grey colours the same in either format.
template<typename Draw>
void drawAsQtDoes(QPainter &painter, const QRectF &ink, const QRectF *clip, Draw draw)
{
    QPaintDevice *device = painter.device();
    QImage *image = device && device->devType() == QInternal::Image ? static_cast<QImage *>(device) : nullptr;
    if (!image || image->format() != QImage::Format_Grayscale8) {
        painter.save();
        if (clip)
            painter.setClipRect(*clip, Qt::IntersectClip);
        draw(painter);
        painter.restore();
        return;
    }
    const QTransform transform = painter.combinedTransform();
    // Anti-aliased and hinted edges may reach a pixel or two beyond the outlines.
    const QRect pixels = transform.mapRect(ink).toAlignedRect().adjusted(-3, -3, 3, 3) & image->rect();
    if (pixels.isEmpty())
        return;
    // The copy keeps the picture's resolution, which Qt's text drawing takes fonts by.
    QImage patch = GreyPictures::toThirtyTwoBit(image->copy(pixels), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter patchPainter(&patch);
        patchPainter.setRenderHints(painter.renderHints());
        patchPainter.setTransform(transform * QTransform::fromTranslate(-pixels.x(), -pixels.y()));
        if (painter.hasClipping())
            patchPainter.setClipPath(painter.clipPath());
        if (clip)
            patchPainter.setClipRect(*clip, Qt::IntersectClip);
        draw(patchPainter);
    }
    // Grey ink on grey pixels leaves every channel alike, which comes back as that level.
    const QImage drawn = GreyPictures::toGrey(patch);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(image->scanLine(pixels.y() + y) + pixels.x(), drawn.constScanLine(y), std::size_t(pixels.width()));
}

// Draws glyph runs laid out from (0, 0) with `origin` added, in `colour`.
void drawRuns(QPainter &painter, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour)
{
    const auto qtDraw = [&](QPainter &target) {
        for (const QGlyphRun &run : runs)
            target.drawGlyphRun(origin, run);
    };
    if (LargeGlyphCache::draw(painter, LargeGlyphCache::Way::GlyphRuns, runs, origin, colour, qtDraw))
        return;
    drawAsQtDoes(painter, inkBounds(runs, origin), nullptr, [&](QPainter &target) {
        LargeGlyphCache::prepareQtDrawing(target, runs);
        target.setPen(colour);
        qtDraw(target);
    });
}

// The size measure() answers, worked out afresh.
QSizeF measureUncached(const QString &text, const CardFont &font, double kerning);

} // namespace

QFont fontFor(const CardFont &font, const QPaintDevice *device, double kerning)
{
    QFont qfont = baseFont(font);
    const int dpi = device ? device->logicalDpiY() : 72;
    qfont.setPointSizeF(pointSizeOf(font) * 72.0 / (dpi > 0 ? dpi : 72));
    if (kerning != 0.0)
        qfont.setLetterSpacing(QFont::AbsoluteSpacing, kerning);
    return qfont;
}

double capHeight(const CardFont &font)
{
    return fontSet(font).capHeight;
}

float bandHeight(const CardFont &font)
{
    const double cap = capHeight(font);
    return float(cap / 72.0 + 0.35 * (cap / 72.0));
}

QSizeF measure(const QString &text, const CardFont &font, double kerning)
{
    if (text.isEmpty())
        return {};
    // A picture measures its texts several times, and a run of pictures repeats most of them.
    struct Measured
    {
        QString text;
        CardFont font;
        double kerning;
        QSizeF size;
    };
    constexpr std::size_t kMeasuresKept = 16;
    thread_local std::vector<Measured> measured;
    for (auto it = measured.begin(); it != measured.end(); ++it) {
        if (it->kerning == kerning && it->text == text && it->font == font) {
            if (it != measured.begin())
                std::rotate(measured.begin(), it, it + 1);
            return measured.front().size;
        }
    }
    const QSizeF size = measureUncached(text, font, kerning);
    if (text.size() > kLongestKeptText)
        return size;
    if (measured.size() >= kMeasuresKept)
        measured.pop_back();
    measured.insert(measured.begin(), Measured{text, font, kerning, size});
    return size;
}

namespace {

QSizeF measureUncached(const QString &text, const CardFont &font, double kerning)
{
    const QFontMetricsF &metrics = fontSet(font).points;
    QSizeF size = metrics.size(Qt::TextExpandTabs, text);
    if (kerning != 0.0) {
        // Font metrics leave letter spacing out; it comes after every character of a line.
        double widest = 0.0;
        for (const QString &line : text.split(QLatin1Char('\n')))
            widest = std::max(widest, metrics.horizontalAdvance(line) + kerning * double(line.size()));
        size.setWidth(widest);
    }
    return size;
}

} // namespace

void drawAtPoint(QPainter &painter, const QString &text, const CardFont &font, const QColor &colour, double kerning,
                 const QPointF &bottomLeft)
{
    if (text.isEmpty())
        return;
    const FontSet &set = fontSet(font);
    if (const OneLine *line = oneLine(text, font, kerning)) {
        // The baseline stands one descent above the lower edge of the line box.
        drawRuns(painter, line->runs, QPointF(bottomLeft.x(), bottomLeft.y() - set.descent - line->ascent),
                 colour);
        return;
    }
    const Laid laid = layOut(text, set, kerning, 0.0);
    const QTextLine first = laid.layout->lineAt(0);
    // The baseline stands one descent above the lower edge of the line box.
    const QPointF origin(bottomLeft.x(), bottomLeft.y() - set.descent - first.ascent());
    const QList<QGlyphRun> runs = laid.layout->glyphRuns();
    const auto qtDraw = [&](QPainter &target) { laid.layout->draw(&target, origin); };
    if (LargeGlyphCache::draw(painter, LargeGlyphCache::Way::TextLayout, runs, origin, colour, qtDraw))
        return;
    drawAsQtDoes(painter, inkBounds(runs, origin), nullptr, [&](QPainter &target) {
        LargeGlyphCache::prepareQtDrawing(target, runs);
        target.setPen(colour);
        qtDraw(target);
    });
}

void drawInRect(QPainter &painter, const QString &text, const CardFont &font, const QColor &colour, double kerning,
                Qt::Alignment alignment, const QRectF &rect)
{
    if (text.isEmpty() || !(rect.width() > 0) || !(rect.height() > 0))
        return;
    // A line that fits unwrapped is drawn from the thread's laid-out lines.
    if (const OneLine *line = oneLine(text, font, kerning);
        line && line->advance <= rect.width() && line->height <= rect.height()) {
        double x = 0.0;
        if (alignment & Qt::AlignRight)
            x = rect.width() - line->advance;
        else if (alignment & Qt::AlignHCenter)
            x = (rect.width() - line->advance) / 2.0;
        drawRuns(painter, line->runs, QPointF(rect.x() + x, rect.y()), colour);
        return;
    }
    const Laid laid = layOut(text, fontSet(font), kerning, rect.width());
    const auto lineOrigin = [&](const QTextLine &line) {
        double x = 0.0;
        if (alignment & Qt::AlignRight)
            x = rect.width() - line.horizontalAdvance();
        else if (alignment & Qt::AlignHCenter)
            x = (rect.width() - line.horizontalAdvance()) / 2.0;
        return QPointF(rect.x() + x, rect.y());
    };
    // Lines that do not fit are cut at the rectangle, as a text box cuts them.
    const bool clipped = laid.width > rect.width() || laid.height > rect.height();
    if (!clipped && laid.layout->lineCount() == 1) {
        const QTextLine line = laid.layout->lineAt(0);
        const QPointF at = lineOrigin(line);
        if (LargeGlyphCache::draw(painter, LargeGlyphCache::Way::TextLine, line.glyphRuns(), at, colour,
                                  [&](QPainter &target) { line.draw(&target, at); }))
            return;
    }
    QRectF ink;
    for (int i = 0; i < laid.layout->lineCount(); ++i) {
        const QTextLine line = laid.layout->lineAt(i);
        ink |= inkBounds(line.glyphRuns(), lineOrigin(line));
    }
    drawAsQtDoes(painter, ink, clipped ? &rect : nullptr, [&](QPainter &target) {
        target.setPen(colour);
        for (int i = 0; i < laid.layout->lineCount(); ++i) {
            const QTextLine line = laid.layout->lineAt(i);
            LargeGlyphCache::prepareQtDrawing(target, line.glyphRuns());
            line.draw(&target, lineOrigin(line));
        }
    });
}

} // namespace BarcodeText
