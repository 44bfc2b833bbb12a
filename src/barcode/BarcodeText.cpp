#include "barcode/BarcodeText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace BarcodeText {

namespace {

constexpr int kDotsPerMetreAt72Dpi = 2835;

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
    return QFontMetricsF(fontFor(font, pointDevice()), pointDevice()).capHeight();
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
    const QFontMetricsF metrics(fontFor(font, pointDevice()), pointDevice());
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

void drawAtPoint(QPainter &painter, const QString &text, const CardFont &font, const QColor &colour, double kerning,
                 const QPointF &bottomLeft)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(fontFor(font, pointDevice()), pointDevice());
    painter.save();
    painter.setFont(fontFor(font, painter.device(), kerning));
    painter.setPen(colour);
    painter.drawText(QPointF(bottomLeft.x(), bottomLeft.y() - metrics.descent()), text);
    painter.restore();
}

void drawInRect(QPainter &painter, const QString &text, const CardFont &font, const QColor &colour, double kerning,
                Qt::Alignment alignment, const QRectF &rect)
{
    if (text.isEmpty() || !(rect.width() > 0) || !(rect.height() > 0))
        return;
    painter.save();
    painter.setFont(fontFor(font, painter.device(), kerning));
    painter.setPen(colour);
    painter.drawText(rect, int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextWordWrap), text);
    painter.restore();
}

} // namespace BarcodeText
