#pragma once

// Process-wide state of data series and spreadsheets.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>

class SpreadsheetWriter;

// The extension of data-series files.
inline const QString batch_file_EXT = QStringLiteral("txt");

// 1-based number of the worksheet the workbook reader opens (set by the column choosers).
extern std::atomic<int> Excel_Sheet_Number;

// The one workbook reader and writer, created on first use by SpreadsheetWriter's class
// functions and owned by it.
extern SpreadsheetWriter *spreadsheet;

// --- Data binding of card elements (main thread; a batch run copies them into its snapshot) ---

// Some bound series is in use and holds values.
extern bool Use_Data_Sheet_Values;
// Some spreadsheet column is in use and the records table has rows.
extern bool Use_Excel_Binding_Values;
// Values of the longest bound series; 0 when series are not in use.
extern int Data_table_rows;
// Spreadsheet records; 0 when spreadsheet binding is not in use.
extern int Excel_table_rows;
// Cards of a batch run: the larger of Data_table_rows and Excel_table_rows.
extern int Total_Batch_Excel_Card;

// The binding table, rebuilt by every DataBinding::Check_Series_Or_Excel_Use_or_not: the
// series names in name-list order and, at the same index, the values of each series an
// element is bound to (empty for a series nothing is bound to, or whose file is gone).
extern QStringList data_table_names;
extern QList<QStringList> data_table_content;
// Why bound series were not read (too large), by series name; rebuilt with the table.
extern QMap<QString, QString> data_table_refusals;

// Side of the next export: "F" front (each time the export sheet opens), "B" back, "BOTH".
extern QString export_card_side;
