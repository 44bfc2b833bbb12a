#include "data/DesignRecordBudget.h"

#include "document/StringUtilities.h"

#include <QStringView>


namespace {

// The records array is an item of the design's top array, each record an item of it, each
// key and value an item of a record: one, two and three tabs before their lines.
constexpr qint64 EmptyRecord = 10;                 // "\t\t<dict/>\n"
constexpr qint64 RecordAround = 9 + 10;            // "\t\t<dict>\n", "\t\t</dict>\n"
constexpr qint64 EntryAround = 8 + 7 + 11 + 10;    // "\t\t\t<key>", "</key>\n", "\t\t\t<string>", "</string>\n"
constexpr qint64 ArrayGrowth = 9 + 10 - 10;        // "\t<array>\n" and "\t</array>\n" for "\t<array/>\n"

// The titles array is an item of the top array, each title an item of it.
constexpr qint64 TitleAround = 10 + 10;            // "\t\t<string>", "</string>\n"

} // namespace

qint64 DesignRecordBudget::xmlBytes(const QString &text)
{
    qint64 bytes = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else if (!Is_Xml_Char(u)) {
            continue;
        } else if (u == u'<' || u == u'>') {
            bytes += 4;   // "&lt;", "&gt;"
        } else if (u == u'&') {
            bytes += 5;   // "&amp;"
        } else {
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

DesignRecordBudget::Cost DesignRecordBudget::costOf(const SpreadsheetTable::Record &record)
{
    // Every tag counts a value: the dictionary, each key and each text.
    qint64 bytes = EmptyRecord;
    if (!record.isEmpty()) {
        bytes = RecordAround;
        for (auto it = record.cbegin(); it != record.cend(); ++it)
            bytes += EntryAround + xmlBytes(it.key()) + xmlBytes(it.value());
    }
    const qint64 values = 1 + 2 * qint64(record.size());
    return {bytes, OpeningCostPerByte * bytes + OpeningCostPerValue * values + OpeningCostPerListedDictionary};
}

DesignRecordBudget::Cost DesignRecordBudget::costOf(const QList<SpreadsheetTable::Record> &records)
{
    if (records.isEmpty())
        return {};
    Cost cost{ArrayGrowth, OpeningCostPerByte * ArrayGrowth};
    for (const SpreadsheetTable::Record &record : records)
        cost += costOf(record);
    return cost;
}

DesignRecordBudget::Cost DesignRecordBudget::costOfBinding(const QStringList &titles, const QString &workbookPath)
{
    // The path is one text either way; the titles a list that is empty without them.
    qint64 bytes = xmlBytes(workbookPath);
    if (!titles.isEmpty()) {
        bytes += ArrayGrowth;
        for (const QString &title : titles)
            bytes += TitleAround + xmlBytes(title);
    }
    return {bytes, OpeningCostPerByte * bytes + OpeningCostPerValue * qint64(titles.size())};
}

qsizetype DesignRecordBudget::recordsThatFit(const QList<SpreadsheetTable::Record> &records, const Cost &room)
{
    Cost taken{ArrayGrowth, OpeningCostPerByte * ArrayGrowth};
    for (qsizetype i = 0; i < records.size(); ++i) {
        taken += costOf(records.at(i));
        if (!taken.fitsIn(room))
            return i;
    }
    return records.size();
}
