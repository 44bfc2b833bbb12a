#include "panels/CardBackgroundPainter.h"

#include "document/MessageLog.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

#include <exception>

namespace {

constexpr qreal CornerRadius = 10.0;

// A two-colour gradient across the bounds of `area` at `degrees`: 0 runs from the left edge
// to the right edge, 90 from the top edge to the bottom (y grows downwards on a card). The
// end points are placed so the first and last colours just touch the opposite corners.
QLinearGradient angledGradient(const QRectF &area, qreal degrees, const QColor &from, const QColor &to)
{
    const qreal radians = qDegreesToRadians(degrees);
    const QPointF direction(qCos(radians), qSin(radians));
    const qreal halfLength = (qAbs(area.width() * direction.x()) + qAbs(area.height() * direction.y())) / 2.0;
    const QPointF centre = area.center();
    QLinearGradient gradient(centre - direction * halfLength, centre + direction * halfLength);
    gradient.setColorAt(0.0, from);
    gradient.setColorAt(1.0, to);
    return gradient;
}

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
    const qreal width = qMax(0, record.Card_bor_Stepper);
    QPen pen(record.Card_bordr_clr, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    QList<qreal> dashes = CardBackgroundPainter::dashPattern(record.Card_border_style);
    if (!dashes.isEmpty()) {
        // Qt measures dashes in pen widths; ours are in points. A zero-width pen is one unit wide.
        const qreal unit = width > 0 ? width : 1.0;
        for (qreal &d : dashes)
            d /= unit;
        pen.setDashPattern(dashes);
        pen.setDashOffset(0);
    }
    return pen;
}

void paintFill(QPainter &painter, const Card_Property &record, const QPainterPath &path, const QRectF &cardRect,
               const QString &resourcePath)
{
    const QString &style = record.Card_fill_style;
    if (style == QLatin1String("G")) {
        painter.fillPath(path, angledGradient(path.boundingRect(), record.Card_grad_Stepper, record.Card_fill_Grd_1_clr,
                                              record.Card_fill_Grd_2_clr));
    } else if (style == QLatin1String("H")) {
        painter.fillPath(path, record.Card_hatch_bk_clr);
        // The pattern is painted as it is: the opacity only reaches its background colour.
        const QImage pattern = CardBackgroundPainter::hatchImage(resourcePath, record.Card_hatch_style);
        if (!pattern.isNull())
            painter.fillPath(path, QBrush(pattern));
    } else if (style == QLatin1String("I")) {
        if (record.Card_BG_Image.isNull())
            return;
        painter.setOpacity(painter.opacity() * record.opacity());
        if (record.Card_BG_Image_Layout == QLatin1String("Tile")) {
            painter.fillPath(path, QBrush(record.Card_BG_Image));
        } else {
            // A stretched picture covers the whole card area, corners of a rounded or
            // elliptic card included.
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(cardRect, record.Card_BG_Image);
        }
    } else {
        painter.fillPath(path, record.Card_fill_clr);
    }
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
    if (borderStyle == QLatin1String("DA"))
        return {8, 2};
    if (borderStyle == QLatin1String("DO"))
        return {4, 6};
    if (borderStyle == QLatin1String("DD"))
        return {24, 10, 6, 10};
    if (borderStyle == QLatin1String("DDD"))
        return {24, 8, 8, 8, 8, 8};
    return {};
}

QImage CardBackgroundPainter::hatchImage(const QString &resourcePath, const QString &patternName)
{
    // A name is a plain file name inside the pattern folder, never a path of its own.
    if (resourcePath.isEmpty() || patternName.isEmpty() || QFileInfo(patternName).fileName() != patternName
        || patternName == QLatin1String("..") || patternName == QLatin1String("."))
        return {};
    const QDir folder(QDir(resourcePath).filePath(QStringLiteral("Fill_Style_Image")));
    // Patterns are drawn from "<name>.png"; a pattern the user dropped in as another picture
    // type is listed under its base name too, so look for that as well rather than draw nothing.
    QImage image(folder.filePath(patternName + QStringLiteral(".png")));
    if (!image.isNull())
        return image;
    for (const char *extension : {"jpg", "jpeg", "gif", "bmp", "tif", "tiff"}) {
        image.load(folder.filePath(patternName + QLatin1Char('.') + QLatin1String(extension)));
        if (!image.isNull())
            return image;
    }
    return {};
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
        // The white underlay is painted whatever the record says, so a translucent fill
        // shows over white rather than over the desk.
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
