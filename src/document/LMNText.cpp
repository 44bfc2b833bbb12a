#include "document/LMNText.h"

#include "document/DashedStroke.h"
#include "document/LargeGlyphCache.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Layouts made without a paint device measure in pixels of the default resolution; a font
// sized by this factor measures in card points there. (A 72 dpi paint device would say the
// same more directly, but layouts made for one drop the letter spacing.)
double pointsToLayoutSize()
{
    // A new picture takes the default resolution: asked each time, as a screen may change it.
    const int dpi = QImage(1, 1, QImage::Format_ARGB32_Premultiplied).logicalDpiY();
    return dpi > 0 ? 72.0 / dpi : 1.0;
}

bool isParagraphEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2029);
}

// Lays out `text` paragraph by paragraph from the top, lines `width` points wide (no wrapping
// when `width` is below 0), and hands each finished layout to `visit`. Nothing past `bottom`
// is ever shown, so layout ends with the first line that reaches it; and a long paragraph is
// laid out from a beginning just long enough to fill the frame (grown fourfold until its lines
// reach the bottom before its cut), so the cost follows what the frame shows, not the length
// of the text. Returns the size of what was laid out: the widest line's natural width and the
// height of the lines.
template<typename Visit>
QSizeF layoutText(const QString &text, const QFont &font, const QTextOption &option, double width, double bottom,
                  Visit visit)
{
    constexpr qsizetype kFirstPiece = 2048;
    QTextOption paragraphOption = option;
    if (width < 0)
        paragraphOption.setWrapMode(QTextOption::NoWrap);
    const bool bounded = std::isfinite(bottom);
    double y = 0.0;
    double widest = 0.0;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (;;) {
        qsizetype end = start;
        while (end < n && !isParagraphEnd(text.at(end)))
            ++end;
        const qsizetype length = end - start;
        qsizetype take = bounded ? std::min(length, kFirstPiece) : length;
        for (;;) {
            // A cut never splits a surrogate pair.
            if (take < length && take > 0 && text.at(start + take - 1).isHighSurrogate())
                ++take;
            QTextLayout layout(text.mid(start, take), font);
            layout.setTextOption(paragraphOption);
            layout.beginLayout();
            double lineY = y;
            double lineWidest = widest;
            bool reachedBottom = false;
            qsizetype laidOut = 0;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width < 0 ? 1.0e6 : width);
                line.setPosition(QPointF(0.0, lineY));
                lineY += line.height();
                lineWidest = std::max(lineWidest, line.naturalTextWidth());
                laidOut = line.textStart() + line.textLength();
                if (lineY >= bottom) {
                    reachedBottom = true;
                    break;
                }
            }
            layout.endLayout();
            // Lines that end before the cut are the lines of the whole paragraph.
            if (take >= length || (reachedBottom && laidOut < take)) {
                visit(layout);
                y = lineY;
                widest = lineWidest;
                break;
            }
            take = std::min(length, take * 4);
        }
        if (end >= n || y >= bottom)
            break;
        start = end + (text.at(end) == QLatin1Char('\r') && end + 1 < n && text.at(end + 1) == QLatin1Char('\n') ? 2 : 1);
    }
    return QSizeF(widest, y);
}

} // namespace

QString LMNText::transformedCase(const QString &text, int caseCode)
{
    switch (caseCode) {
    case 1: return text.toUpper();
    case 2: return text.toLower();
    case 3: {
        QString result = text.toLower();
        bool wordStart = true;
        for (qsizetype i = 0; i < result.size(); ++i) {
            const QChar c = result.at(i);
            if (c.isSpace()) {
                wordStart = true;
            } else if (wordStart) {
                if (c.isLetter())
                    result[i] = c.toUpper();
                wordStart = false;
            }
        }
        return result;
    }
    default: return text;
    }
}

Qt::Alignment LMNText::alignmentFor(int alignmentCode)
{
    switch (alignmentCode) {
    case 1: return Qt::AlignRight | Qt::AlignAbsolute;
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignJustify;
    case 4: return Qt::AlignLeading;
    default: return Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

QString LMNText::displayedText() const
{
    return transformedCase(_Text_contents, text_transfrom_case);
}

QFont LMNText::drawingFont() const
{
    QFont font = text_ctrl_font.toQFont();
    font.setPointSizeF(font.pointSizeF() * pointsToLayoutSize());
    // Unhinted outlines keep line breaks independent of the output resolution.
    font.setHintingPreference(QFont::PreferNoHinting);
    if (std::isfinite(text_kerning) && text_kerning != 0.0f)
        font.setLetterSpacing(QFont::AbsoluteSpacing, text_kerning);
    return font;
}

void LMNText::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath frame;
    frame.addRect(_bounds);
    if (_isDrawingFill)
        paintFill(painter, frame, context);

    const QString text = displayedText();
    if (!text.isEmpty() && _bounds.width() > 0 && _bounds.height() > 0) {
        painter.save();
        // Large text drawn again comes from masks kept per thread when the bounds are the only
        // clip (the painter cannot tell the shape of a clip it already has) and a line's ink
        // lies wholly inside them; other lines are filled and clipped by Qt.
        const bool boundsOnlyClip = !painter.hasClipping();
        painter.setClipRect(_bounds, Qt::IntersectClip);
        painter.setPen(txt_clr);
        QTextOption option(alignmentFor(text_alignmnet));
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        const double lineWidth = std::max(0.0, _bounds.width() - 2.0 * kTextPadding);
        const QPointF origin(_bounds.left() + kTextPadding, _bounds.top());
        layoutText(text, drawingFont(), option, lineWidth, _bounds.height(), [&](const QTextLayout &layout) {
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                const QList<QGlyphRun> runs = line.glyphRuns();
                const auto qtDraw = [&line, &origin](QPainter &target) { line.draw(&target, origin); };
                if (!boundsOnlyClip
                    || !LargeGlyphCache::drawInsideClip(painter, LargeGlyphCache::Way::TextLine, runs, origin, txt_clr,
                                                        _bounds, qtDraw)) {
                    LargeGlyphCache::prepareQtDrawing(painter, runs);
                    qtDraw(painter);
                }
            }
        });
        painter.restore();
    }

    if (hasVisibleStroke())
        DashedStroke::strokePath(painter, frame, strokePen());
}

bool LMNText::shrinkFontToFit(double smallest)
{
    // Fitted as QFontMetrics measures wrapped text, the font's leading under every line: a
    // little room to spare over what the drawing needs.
    constexpr double Step = 0.5;
    const auto fits = [this] {
        const QString text = displayedText();
        if (text.isEmpty())
            return true;
        const double lineWidth = std::max(0.0, _bounds.width() - 2.0 * kTextPadding);
        const QRectF lines = QFontMetricsF(drawingFont()).boundingRect(QRectF(0, 0, lineWidth, 1.0e6),
                                                                       Qt::TextWordWrap | Qt::TextWrapAnywhere, text);
        return lines.height() <= _bounds.height() + 0.01 && !isTextClipped();
    };
    while (!fits() && text_ctrl_font.pointSize > smallest)
        text_ctrl_font.pointSize = std::max(smallest, text_ctrl_font.pointSize - Step);
    return fits();
}

bool LMNText::isTextClipped() const
{
    const QString text = displayedText();
    if (text.isEmpty())
        return false;
    if (_bounds.width() <= 0 || _bounds.height() <= 0)
        return true;
    QTextOption option(alignmentFor(text_alignmnet));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const double lineWidth = std::max(0.0, _bounds.width() - 2.0 * kTextPadding);
    // A hair of tolerance: a text made to its natural size fits exactly. Layout need not go
    // further down than the first line past that.
    const double limit = _bounds.height() + 0.01;
    const QSizeF size = layoutText(text, drawingFont(), option, lineWidth, limit + 0.01, [](const QTextLayout &) {});
    return size.height() > limit;
}

void LMNText::makeNaturalSize()
{
    const QSizeF size = layoutText(displayedText(), drawingFont(), QTextOption(), -1.0,
                                   std::numeric_limits<double>::infinity(), [](const QTextLayout &) {});
    _bounds.setSize(QSizeF(std::ceil(size.width() + 2.0 * kTextPadding), std::ceil(size.height())));
}
