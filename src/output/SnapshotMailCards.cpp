#include "output/SnapshotMailCards.h"

#include "document/LMNRenderingView.h"

SnapshotMailCards::SnapshotMailCards(CardSnapshot snapshot)
    : m_snapshot(std::move(snapshot))
{
}

SnapshotMailCards::~SnapshotMailCards() = default;

int SnapshotMailCards::recordCount() const
{
    if (!m_snapshot.useSeries && !m_snapshot.useSpreadsheet)
        return 0;
    return std::max(m_snapshot.useSeries ? m_snapshot.seriesRows : 0,
                    m_snapshot.useSpreadsheet ? m_snapshot.spreadsheetRows : 0);
}

QImage SnapshotMailCards::card(int record, int side, QString *failure) const
{
    if (record >= 0) {
        if (failure)
            *failure = QStringLiteral("no card of record %1").arg(record + 1);
        return {};
    }
    const LMNRenderingView view(m_snapshot.cardSize, side != 0 ? m_snapshot.backBackground : m_snapshot.frontBackground,
                                m_snapshot.drawContext);
    const QImage image = view.image_From_Card_Graphics(side != 0 ? m_snapshot.back : m_snapshot.front, 0);
    if (image.isNull() && failure)
        *failure = QStringLiteral("the card could not be drawn");
    return image;
}
