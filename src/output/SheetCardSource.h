#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

// Where the print view takes its cards from: the design's own card (every cell the same) or
// one data record per cell. Made on the main thread before a run; drawCard() is then called
// from the thread that paints the pages and must not touch widgets or the live design.
class SheetCardSource
{
public:
    virtual ~SheetCardSource() = default;

    // Records of a batch; 0 when every cell shows the design's own card.
    virtual int recordCount() const = 0;
    // Size of one card in points; empty when the design has no usable card.
    virtual QSizeF cardSize() const = 0;
    // Draws `side` (0 front, 1 back) of record `record` as vectors into `painter`, the card
    // mapped onto `target`. False, with a reason, when that card cannot be made; nothing of
    // it is drawn then.
    virtual bool drawCard(QPainter &painter, const QRectF &target, int record, int side,
                          QString *failure) const = 0;
    // One line for each bound element without a value on some of the first `records` records
    // (on the sides asked for); empty without records.
    virtual QStringList missingValues(int records, bool front, bool back) const
    {
        Q_UNUSED(records);
        Q_UNUSED(front);
        Q_UNUSED(back);
        return {};
    }
};
