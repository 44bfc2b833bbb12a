#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The spreadsheet data source of a design: the column titles and the records imported from a
// workbook. Record r (from 0) holds "Extension", its 1-based position as decimal text, and
// "Column%d" (from 1) for each imported column. The titles list every column in order, the
// first being the row-number column; an element bound to column n reads title n's key.
//
// A value type, implicitly shared: the main thread owns the live table (see
// SpreadsheetTable::live()); a batch run, a print or a mail run copies it once and reads its
// copy on any thread while the table goes on being edited or rebuilt.
class SpreadsheetTable
{
public:
    using Record = QMap<QString, QString>;

    QStringList titles;
    QList<Record> records;

    int rowCount() const { return int(records.size()); }
    bool isEmpty() const { return records.isEmpty(); }

    // The record key of column c: "Extension" for 0, "Column<c>" above; empty for c < 0.
    static QString columnKey(int column);
    // Value of record r, column c; empty when r or c is out of range or the key is missing.
    QString value(int record, int column) const;
    // Appends a record built from the texts of k columns (trimmed), numbered after the last.
    void appendRecord(const QStringList &texts, int columnCount);
    // Titles in the order a column combo lists them (item n is column n).
    QStringList columnTitles() const { return titles; }

    // The process-wide table of the open design (main thread only), with its binding state:
    // whether spreadsheet binding is in use and the workbook the records came from.
    static SpreadsheetTable &live();

    friend bool operator==(const SpreadsheetTable &, const SpreadsheetTable &) = default;
};

// Spreadsheet binding state of the open design, stored in the design file (main thread only).
extern bool Excel_Binding_Use;
extern QString Excel_Source_Path;
