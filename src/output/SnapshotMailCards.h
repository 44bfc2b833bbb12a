#pragma once

#include "data/CardRecordRenderer.h"
#include "output/MailCardSource.h"

// The cards of a mail run made from a snapshot of the design: records through the
// record-to-card road, the design as it stands through the off-screen renderer. Cards are
// drawn at kResolution, barcodes included, so that a mailed card scans.
class SnapshotMailCards : public MailCards
{
public:
    static constexpr double kResolution = 150.0;

    explicit SnapshotMailCards(CardSnapshot snapshot);
    ~SnapshotMailCards() override;

    int recordCount() const override;
    QImage card(int record, int side, QString *failure) const override;
    QStringList missingValues(int records, bool front, bool back) const override;

private:
    CardRecordRenderer m_renderer;
};
