#include "data/SpreadsheetTable.h"

bool Excel_Binding_Use = false;
QString Excel_Source_Path;

QString SpreadsheetTable::columnKey(int column)
{
    if (column < 0)
        return {};
    return column == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(column);
}

QString SpreadsheetTable::value(int record, int column) const
{
    if (record < 0 || record >= records.size() || column < 0)
        return {};
    return records.at(record).value(columnKey(column));
}

void SpreadsheetTable::appendRecord(const QStringList &texts, int columnCount)
{
    Record record;
    record.insert(QStringLiteral("Extension"), QString::number(records.size() + 1));
    for (int i = 1; i <= columnCount; ++i)
        record.insert(columnKey(i), i - 1 < texts.size() ? texts.at(i - 1).trimmed() : QString());
    records.append(record);
}

SpreadsheetTable &SpreadsheetTable::live()
{
    static SpreadsheetTable table;
    return table;
}
