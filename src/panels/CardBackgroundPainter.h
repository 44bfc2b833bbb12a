#pragma once

#include "panels/Card_Property.h"

#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

// Paints the background of one card side beneath its elements: a white underlay in the
// card's shape, the fill (solid, gradient, hatch pattern or picture), then the border.
//
// Everything it needs is handed in (the record, the sheet shape, the card rectangle, the
// area being redrawn, the resource folder), so worker threads render a side from their own
// snapshot without touching widgets or the side in work. An instance holds such a snapshot
// and is itself the callable the canvas and the renderer take:
//     std::function<void(QPainter &, const QRectF &cardRect, const QRectF &dirtyRect)>
class CardBackgroundPainter
{
public:
    CardBackgroundPainter(Card_Property record, int cardShape, QString resourcePath);

    void operator()(QPainter &painter, const QRectF &cardRect, const QRectF &dirtyRect) const;

    // The card is always laid out on the whole of `cardRect` and then clipped to `dirtyRect`,
    // so a partial repaint paints exactly what a full one paints there. An empty `dirtyRect`
    // means the whole card (border included). The painter's state is left as it was found.
    static void Card_Base_Drawing(QPainter &painter, const Card_Property &record, int cardShape,
                                  const QRectF &cardRect, const QRectF &dirtyRect, const QString &resourcePath);

    // The outline of the card sheet: rectangle, rounded rectangle (radius 10) or ellipse.
    static QPainterPath cardPath(int cardShape, const QRectF &cardRect);
    // Dash lengths in points, drawn and skipped in turn; empty for a continuous line
    // ("S" and any code not known).
    static QList<qreal> dashPattern(const QString &borderStyle);
    // The hatch picture for a pattern name, from "Fill_Style_Image" of the resource folder;
    // a null image when there is none.
    static QImage hatchImage(const QString &resourcePath, const QString &patternName);

private:
    Card_Property m_record;
    int m_cardShape;
    QString m_resourcePath;
};
