#pragma once

#include "data/CardRecordRenderer.h"
#include "output/MailCardSource.h"

// The cards of a mail run made from a snapshot of the design: records through the
// record-to-card road, the design as it stands through the off-screen renderer.
class SnapshotMailCards : public MailCards
{
public:
    explicit SnapshotMailCards(CardSnapshot snapshot);
    ~SnapshotMailCards() override;

    int recordCount() const override;
    QImage card(int record, int side, QString *failure) const override;
    QStringList missingValues(int records, bool front, bool back) const override;

private:
    CardRecordRenderer m_renderer;
};
