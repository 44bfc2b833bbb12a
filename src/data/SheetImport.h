#pragma once

// What the spreadsheet dialogs make of worksheet rows, without widgets: the worksheet list
// of the unpacked workbook, the data table built from ticked columns, and the values of
// columns for series.

#include "data/SpreadsheetTable.h"
#include "data/WorkbookParts.h"

#include <QList>
#include <QString>
#include <QStringList>

class SheetImport
{
public:
    // The worksheets of the workbook last unpacked, one per worksheet file ("sheet1.xml",
    // "sheet2.xml", ...): named and ordered as the workbook's tabs, then any file the workbook
    // does not name, by its file name in sheet-number order. Empty when there is none.
    static QList<WorkbookParts::Sheet> worksheets();
    // The number in a worksheet's name: the digits after "sheet" ("sheet10" gives 10); 0 when
    // there are none.
    static int sheetNumberOf(const QString &name);

    // The data table of the ticked columns (sheet column indexes, left to right): titles are
    // `firstTitle`, then the first row's trimmed texts of the ticked columns; records come
    // from every row (from the second when `header`), numbered from 1.
    static SpreadsheetTable buildTable(const QList<QStringList> &rows, const QList<int> &ticked, bool header,
                                       const QString &firstTitle);

    // The trimmed texts of one column, from the first or second row; empty cells give "".
    static QStringList columnValues(const QList<QStringList> &rows, int column, bool header);
    // The trimmed texts of the ticked columns row by row (row 1's cells, then row 2's, ...).
    static QStringList rowWiseValues(const QList<QStringList> &rows, const QList<int> &ticked, bool header);
};
