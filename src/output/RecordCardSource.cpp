#include "output/RecordCardSource.h"

RecordCardSource::RecordCardSource(CardSnapshot snapshot)
    : m_renderer(std::move(snapshot))
{
}

bool RecordCardSource::drawCard(QPainter &painter, const QRectF &target, int record, int side, QString *failure) const
{
    return m_renderer.drawCard(painter, target, record, side, 1, failure);
}
