#pragma once

#include "document/CardFont.h"

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>

class QPainter;
class QPaintDevice;
class QPointF;
class QRectF;

// Text of barcode pictures, measured and drawn in points whatever the target device: a
// raster picture at any resolution, a QPicture or a PDF page. Kerning is extra space in
// points after each character. Safe to use from several threads at once.
namespace BarcodeText {

// Header and footer lines are drawn with this much space after each character; their widths
// are measured with it, so that a picture made as wide as its header holds the whole line.
constexpr double kHeaderFooterKerning = 2.0;

// A QFont that is `font.pointSize` user units high on `device` (its resolution cancelled out),
// with `kerning` points after each character.
QFont fontFor(const CardFont &font, const QPaintDevice *device, double kerning = 0.0);

// Cap height of the font in points.
double capHeight(const CardFont &font);

// Height in inches of a text band (caption, header, footer) in the font: 1.35 x cap height.
float bandHeight(const CardFont &font);

// Size in points of the unwrapped text (one line per line feed) with `kerning` points after
// each character.
QSizeF measure(const QString &text, const CardFont &font, double kerning = 0.0);

// Draws one unwrapped line whose line box has its lower-left corner at `bottomLeft` (y down).
void drawAtPoint(QPainter &painter, const QString &text, const CardFont &font, const QColor &colour, double kerning,
                 const QPointF &bottomLeft);

// Draws the text into `rect` from its top edge down, wrapped to its width, aligned horizontally.
void drawInRect(QPainter &painter, const QString &text, const CardFont &font, const QColor &colour, double kerning,
                Qt::Alignment alignment, const QRectF &rect);

} // namespace BarcodeText
