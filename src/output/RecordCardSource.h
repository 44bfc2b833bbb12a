#pragma once

#include "data/CardRecordRenderer.h"
#include "output/SheetCardSource.h"

// One data record per cell, through the record-to-card road: record r of a side is filled
// into private clones of the snapshot's elements and drawn as vectors with the print flag set.
class RecordCardSource : public SheetCardSource
{
public:
    explicit RecordCardSource(CardSnapshot snapshot);

    int recordCount() const override { return m_renderer.cardCount(); }
    QSizeF cardSize() const override { return m_renderer.snapshot().cardSize; }
    bool drawCard(QPainter &painter, const QRectF &target, int record, int side, QString *failure) const override;
    QStringList missingValues(int records, bool front, bool back) const override
    {
        return m_renderer.missingValues(records, front, back);
    }

private:
    CardRecordRenderer m_renderer;
};
