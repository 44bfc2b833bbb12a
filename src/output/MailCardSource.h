#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

// The cards of one mail run, taken from the design on the main thread at Send; the mail
// worker then asks for them without touching the design or any widget.
class MailCards
{
public:
    virtual ~MailCards() = default;
    // Records of the data sources in use (0 without batch data).
    virtual int recordCount() const = 0;
    // The picture of `side` (0 front, 1 back): with record `record` (from 0) put into its bound
    // elements, or the design as it stands for record -1. A null image, with the reason in
    // `failure`, when the card cannot be made.
    virtual QImage card(int record, int side, QString *failure) const = 0;
    // One line for each bound element without a value on some of the first `records` records
    // (on the sides asked for).
    virtual QStringList missingValues(int records, bool front, bool back) const
    {
        Q_UNUSED(records);
        Q_UNUSED(front);
        Q_UNUSED(back);
        return {};
    }
};

// What the send window needs of the open design. All calls on the main thread.
class MailCardSource
{
public:
    virtual ~MailCardSource() = default;
    // Which data sources are bound and hold records.
    virtual void sourcesInUse(bool *series, bool *spreadsheet) = 0;
    // The cards of a run using only the sources asked for.
    virtual std::unique_ptr<MailCards> takeCards(bool useSeries, bool useSpreadsheet) = 0;
    // After a batch run: record 0 back onto the front side.
    virtual void restoreFirstRecord() = 0;
};
