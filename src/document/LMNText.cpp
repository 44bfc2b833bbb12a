#include "document/LMNText.h"

#include "document/LargeGlyphCache.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

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

// Lays out `text` paragraph by paragraph from the top, lines `width` points wide (no wrapping
// when `width` is below 0), and hands each finished layout to `visit`. Returns the size of
// the whole: the widest line's natural width and the height of all lines.
template<typename Visit>
QSizeF layoutText(const QString &text, const QFont &font, const QTextOption &option, double width, Visit visit)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n|\u2029"));
    double y = 0.0;
    double widest = 0.0;
    for (const QString &paragraph : text.split(breaks)) {
        QTextLayout layout(paragraph, font);
        QTextOption paragraphOption = option;
        if (width < 0)
            paragraphOption.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(paragraphOption);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width < 0 ? 1.0e6 : width);
            line.setPosition(QPointF(0.0, y));
            y += line.height();
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
        visit(layout);
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
        // Large glyphs come from masks kept per thread when the bounds are the only clip (the
        // painter cannot tell the shape of a clip it already has) and a line's ink lies
        // wholly inside them; other lines are filled and clipped by Qt.
        const bool boundsOnlyClip = !painter.hasClipping();
        painter.setClipRect(_bounds, Qt::IntersectClip);
        painter.setPen(txt_clr);
        QTextOption option(alignmentFor(text_alignmnet));
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        const double lineWidth = std::max(0.0, _bounds.width() - 2.0 * kTextPadding);
        const QPointF origin(_bounds.left() + kTextPadding, _bounds.top());
        layoutText(text, drawingFont(), option, lineWidth, [&](const QTextLayout &layout) {
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                if (!boundsOnlyClip
                    || !LargeGlyphCache::drawInsideClip(painter, line.glyphRuns(), origin, txt_clr, _bounds))
                    line.draw(&painter, origin);
            }
        });
        painter.restore();
    }

    if (hasVisibleStroke())
        painter.strokePath(frame, strokePen());
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
    const QSizeF size = layoutText(text, drawingFont(), option, lineWidth, [](const QTextLayout &) {});
    // A hair of tolerance: a text made to its natural size fits exactly.
    return size.height() > _bounds.height() + 0.01;
}

void LMNText::makeNaturalSize()
{
    const QSizeF size = layoutText(displayedText(), drawingFont(), QTextOption(), -1.0, [](const QTextLayout &) {});
    _bounds.setSize(QSizeF(std::ceil(size.width() + 2.0 * kTextPadding), std::ceil(size.height())));
}
