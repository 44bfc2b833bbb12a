#pragma once

#include "document/LMNGraphic.h"

#include <QFont>
#include <QTextOption>

// LMNText: the text element: draws its text in the element's bounds with font, colour,
// alignment, case transform and kerning, over an optional fill and under an optional border.
// Text is laid out in points whatever the output resolution, so a card breaks its lines
// alike on the canvas, in a 300 dpi export and in a PDF; what does not fit is cut off at the
// bounds.
class LMNText : public LMNGraphic
{
public:
    GraphicKind kind() const override { return GraphicKind::Text; }
    GraphicPtr clone() const override { return std::make_shared<LMNText>(*this); }

    // Keeps the origin; the width of the longest line and the height of all lines.
    void makeNaturalSize() override;

    // `text` with the case code applied: 0 as typed, 1 upper case, 2 lower case,
    // 3 capitalised words (first letter of each word upper case, the rest lower case).
    static QString transformedCase(const QString &text, int caseCode);
    // The paragraph alignment of an alignment code: 0 left, 1 right, 2 centred, 3 justified,
    // 4 natural (the writing direction's start); other values left.
    static Qt::Alignment alignmentFor(int alignmentCode);

    // The text as drawn: _Text_contents with the case transform.
    QString displayedText() const;

    // Lowers the font size in half-point steps until the text, wrapped in the bounds' width
    // and measured by QFontMetrics (the font's leading under every line), fits their height;
    // never below `smallest` points (a font already smaller stays). True when it fits at the end.
    bool shrinkFontToFit(double smallest);
    // The drawing font: text_ctrl_font with text_kerning points between letters, sized so
    // that a layout made without a paint device measures in points.
    QFont drawingFont() const;

    // Whether some of the text is cut off: its lines, broken as drawn, run below the bounds.
    bool isTextClipped() const;

    // Space kept between the bounds and the letters on the left and right.
    static constexpr double kTextPadding = 5.0;

protected:
    void drawContents(QPainter &painter, const DrawContext &context) const override;
};
