#include "data/SheetImport.h"

#include "data/SpreadsheetWriter.h"
#include "document/StringUtilities.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

int SheetImport::sheetNumberOf(const QString &name)
{
    const qsizetype at = name.lastIndexOf(QLatin1String("sheet"), -1, Qt::CaseInsensitive);
    if (at < 0)
        return 0;
    QString digits;
    for (qsizetype i = at + 5; i < name.size() && name.at(i).isDigit(); ++i)
        digits.append(name.at(i));
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok ? number : 0;
}

QList<WorkbookParts::Sheet> SheetImport::worksheets()
{
    QList<WorkbookParts::Sheet> sheets;
    const SpreadsheetWriter *reader = SpreadsheetWriter::sharedInstance();
    const QString folder = reader->worksheetsFolder();
    if (folder.isEmpty())
        return sheets;
    QStringList files;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries)
        if (entry.suffix().toLower() == QLatin1String("xml") && sheetNumberOf(entry.completeBaseName()) > 0)
            files.append(entry.completeBaseName());
    std::sort(files.begin(), files.end(), [](const QString &a, const QString &b) {
        const int na = sheetNumberOf(a), nb = sheetNumberOf(b);
        return na != nb ? na < nb : a < b;
    });
    for (const WorkbookParts::Sheet &sheet : reader->workbookParts().sheets) {
        if (files.removeOne(sheet.file))
            sheets.append({sheet.name.isEmpty() ? sheet.file : sheet.name, sheet.file});
    }
    for (const QString &file : std::as_const(files))
        sheets.append({file, file});
    return sheets;
}

SpreadsheetTable SheetImport::buildTable(const QList<QStringList> &rows, const QList<int> &ticked, bool header,
                                         const QString &firstTitle)
{
    SpreadsheetTable table;
    table.titles.append(firstTitle);
    if (rows.isEmpty())
        return table;
    const QStringList &first = rows.first();
    for (int column : ticked)
        table.titles.append(column < first.size() ? Trim_Str(first.at(column)) : QString());
    // The keys are made once and shared by every record.
    QStringList keys;
    for (int i = 0; i <= ticked.size(); ++i)
        keys.append(SpreadsheetTable::columnKey(i));
    table.records.reserve(rows.size());
    for (qsizetype r = header ? 1 : 0; r < rows.size(); ++r) {
        const QStringList &row = rows.at(r);
        if (row.isEmpty())
            continue;
        SpreadsheetTable::Record record;
        record.insert(keys.at(0), QString::number(table.records.size() + 1));
        for (qsizetype i = 0; i < ticked.size(); ++i) {
            const int column = ticked.at(i);
            record.insert(keys.at(i + 1), column < row.size() ? Trim_Str(row.at(column)) : QString());
        }
        table.records.append(std::move(record));
    }
    return table;
}

QStringList SheetImport::columnValues(const QList<QStringList> &rows, int column, bool header)
{
    QStringList values;
    for (qsizetype r = header ? 1 : 0; r < rows.size(); ++r)
        values.append(column < rows.at(r).size() ? Trim_Str(rows.at(r).at(column)) : QString());
    return values;
}

QStringList SheetImport::rowWiseValues(const QList<QStringList> &rows, const QList<int> &ticked, bool header)
{
    QStringList values;
    for (qsizetype r = header ? 1 : 0; r < rows.size(); ++r)
        for (int column : ticked)
            values.append(column < rows.at(r).size() ? Trim_Str(rows.at(r).at(column)) : QString());
    return values;
}
