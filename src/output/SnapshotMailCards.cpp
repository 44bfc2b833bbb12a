#include "output/SnapshotMailCards.h"

#include "document/LMNRenderingView.h"

SnapshotMailCards::SnapshotMailCards(CardSnapshot snapshot)
    : m_renderer(std::move(snapshot))
{
}

SnapshotMailCards::~SnapshotMailCards() = default;

int SnapshotMailCards::recordCount() const
{
    return m_renderer.cardCount();
}

QImage SnapshotMailCards::card(int record, int side, QString *failure) const
{
    if (record >= 0)
        return m_renderer.cardImage(record, side, 0, kResolution, failure);
    const CardSnapshot &snapshot = m_renderer.snapshot();
    LMNRenderingView view(snapshot.cardSize, side != 0 ? snapshot.backBackground : snapshot.frontBackground,
                          snapshot.drawContext);
    view.setResolution(kResolution);
    const QImage image = view.image_From_Card_Graphics(side != 0 ? snapshot.back : snapshot.front, 0);
    if (image.isNull() && failure)
        *failure = QStringLiteral("the card could not be drawn");
    return image;
}

QStringList SnapshotMailCards::missingValues(int records, bool front, bool back) const
{
    return m_renderer.missingValues(records, front, back);
}
