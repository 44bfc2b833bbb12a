#pragma once

// Process-wide state of data series and spreadsheets.

#include <QString>

#include <atomic>

class SpreadsheetWriter;

// 1-based number of the worksheet the workbook reader opens (set by the column choosers).
extern std::atomic<int> Excel_Sheet_Number;
// Column count of that worksheet, set by the reader.
extern std::atomic<int> Excel_Sheet_Columns;

// The one workbook reader and writer, created on first use by SpreadsheetWriter's class
// functions and owned by it.
extern SpreadsheetWriter *spreadsheet;
