#include "panels/CardBackgroundPainter.h"

#include "document/MessageLog.h"
#include "document/PaintStyles.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <exception>

namespace {

constexpr qreal CornerRadius = 10.0;

// The same outline with curves replaced by straight segments, so an ellipse's border is
// stroked as a polygon with mitred corners.
QPainterPath flattened(const QPainterPath &path)
{
    QPainterPath result;
    for (const QPolygonF &polygon : path.toSubpathPolygons()) {
        result.addPolygon(polygon);
        result.closeSubpath();
    }
    return result;
}

QPen borderPen(const Card_Property &record)
{
    return PaintStyles::borderPen(record.Card_bordr_clr, qMax(0, record.Card_bor_Stepper), record.Card_border_style);
}

void paintFill(QPainter &painter, const Card_Property &record, const QPainterPath &path, const QRectF &cardRect,
               const QString &resourcePath)
{
    const QString &style = record.Card_fill_style;
    if (style == QLatin1String("G")) {
        painter.fillPath(path, PaintStyles::angledGradient(path.boundingRect(), record.Card_grad_Stepper, record.Card_fill_Grd_1_clr,
                                              record.Card_fill_Grd_2_clr));
    } else if (style == QLatin1String("H")) {
        painter.fillPath(path, record.Card_hatch_bk_clr);
        // The pattern is painted as it is: the opacity only reaches its background colour.
        const QImage pattern = CardBackgroundPainter::hatchImage(resourcePath, record.Card_hatch_style);
        if (!pattern.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.fillPath(path, PaintStyles::patternBrush(pattern, cardRect.topLeft(), painter.deviceTransform()));
        }
    } else if (style == QLatin1String("I")) {
        if (record.Card_BG_Image.isNull())
            return;
        painter.setOpacity(painter.opacity() * record.opacity());
        if (record.Card_BG_Image_Layout == QLatin1String("Tile")) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.fillPath(path, PaintStyles::patternBrush(record.Card_BG_Image, cardRect.topLeft(), painter.deviceTransform()));
        } else {
            // A stretched picture covers the card area inside the card's shape, as a plain
            // fill does: the corners of a rounded or elliptic card stay clear.
            painter.save();
            painter.setClipPath(path, Qt::IntersectClip);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(cardRect, record.Card_BG_Image);
            painter.restore();
        }
    } else {
        painter.fillPath(path, record.Card_fill_clr);
    }
}

// Whether the fill alone covers the whole card shape with opaque paint, so the white beneath
// it would never show.
bool fillIsOpaque(const Card_Property &record)
{
    if (!record.Card_fill_chk)
        return false;
    const QString &style = record.Card_fill_style;
    if (style == QLatin1String("G"))
        return record.Card_fill_Grd_1_clr.alpha() == 255 && record.Card_fill_Grd_2_clr.alpha() == 255;
    if (style == QLatin1String("H"))
        return record.Card_hatch_bk_clr.alpha() == 255;
    if (style == QLatin1String("I"))
        return !record.Card_BG_Image.isNull() && !record.Card_BG_Image.hasAlphaChannel() && record.opacity() >= 1.0;
    return record.Card_fill_clr.alpha() == 255;
}

} // namespace

CardBackgroundPainter::CardBackgroundPainter(Card_Property record, int cardShape, QString resourcePath)
    : m_record(std::move(record))
    , m_cardShape(cardShape)
    , m_resourcePath(std::move(resourcePath))
{
}

void CardBackgroundPainter::operator()(QPainter &painter, const QRectF &cardRect, const QRectF &dirtyRect) const
{
    Card_Base_Drawing(painter, m_record, m_cardShape, cardRect, dirtyRect, m_resourcePath);
}

QPainterPath CardBackgroundPainter::cardPath(int cardShape, const QRectF &cardRect)
{
    QPainterPath path;
    if (cardShape == 1)
        path.addRoundedRect(cardRect, CornerRadius, CornerRadius);
    else if (cardShape == 2)
        path.addEllipse(cardRect);
    else
        path.addRect(cardRect);
    return path;
}

QList<qreal> CardBackgroundPainter::dashPattern(const QString &borderStyle)
{
    return PaintStyles::dashLengths(borderStyle);
}

QImage CardBackgroundPainter::hatchImage(const QString &resourcePath, const QString &patternName)
{
    return PaintStyles::hatchPattern(resourcePath, patternName);
}

void CardBackgroundPainter::Card_Base_Drawing(QPainter &painter, const Card_Property &record, int cardShape,
                                              const QRectF &cardRect, const QRectF &dirtyRect,
                                              const QString &resourcePath)
{
    painter.save();
    try {
        painter.setRenderHint(QPainter::Antialiasing);
        if (!dirtyRect.isEmpty())
            painter.setClipRect(dirtyRect, Qt::IntersectClip);

        const QPainterPath path = cardPath(cardShape, cardRect);
        // The white underlay goes beneath every fill that lets anything through, so a
        // translucent fill shows over white rather than over the desk. (The edge of a rounded
        // or oval card is only partly covered by either, so it keeps the underlay.)
        if (!(cardShape == 0 && fillIsOpaque(record) && painter.opacity() >= 1.0))
            painter.fillPath(path, Qt::white);

        if (record.Card_fill_chk) {
            // The picture's opacity must not reach the border.
            const qreal opacity = painter.opacity();
            paintFill(painter, record, path, cardRect, resourcePath);
            painter.setOpacity(opacity);
        }

        if (record.Card_border_chk) {
            painter.setBrush(Qt::NoBrush);
            painter.strokePath(flattened(path), borderPen(record));
        }
    } catch (const std::exception &e) {
        // What was painted stays; the elements are still drawn on top by the caller.
        Show_NSLog_Message(QStringLiteral("Card background not drawn: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    painter.restore();
}
