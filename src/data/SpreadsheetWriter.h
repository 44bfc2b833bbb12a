#pragma once

// Reads worksheets of .xlsx workbooks into rows of cell texts, and writes a table of texts
// as a one-sheet workbook built on the skeleton "Template.xlsx". One shared instance
// (`spreadsheet`) serves both; the class functions create it on first use.
//
// Reading goes in two steps, as the column choosers use it:
//   ReadWorkbook(url, true)    unpacks the workbook into a private folder and reads its
//                              shared strings;
//   ReadData_only_column()     gives the column names of worksheet Excel_Sheet_Number;
//   ReadWorkbook(url, false)   gives every row of that worksheet, each padded to
//                              Excel_Sheet_Columns texts ("" for a cell without value).
// A cell's text is what the cell shows: numbers under a date or time format give that date
// or time as LibreOffice shows it; every other cell gives its stored text.
// Every step reports failure through its optional error message (empty on success).

#include "data/SSZipArchive.h"
#include "data/WorkbookParts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

class QTemporaryDir;

class SpreadsheetWriter
{
public:
    ~SpreadsheetWriter();

    static SpreadsheetWriter *sharedInstance();

    // --- reading ---------------------------------------------------------------------
    static QList<QStringList> ReadWorkbook(const QUrl &url, bool only_col, QString *errorMessage = nullptr);
    static QList<QStringList> ReadData_only_column(QString *errorMessage = nullptr);
    // Fills sharedStrings from a shared-string part; a missing part gives an empty table.
    bool ReadSharedStrings(const QUrl &url, QString *errorMessage = nullptr);
    // Fills data with the rows of a worksheet part.
    bool ReadData(const QUrl &url, QString *errorMessage = nullptr);

    // --- writing ---------------------------------------------------------------------
    // Writes the rows (the first row included; `hasTitleRow` changes nothing) as the one
    // worksheet of a new workbook at the URL's path. The destination is replaced only when
    // the whole workbook was written.
    static bool WriteWorkbook(const QUrl &url, const QList<QStringList> &rows, bool hasTitleRow,
                              QString *errorMessage = nullptr);
    // Writes data as a worksheet part and rebuilds sharedStrings from its text cells.
    bool WriteWorksheetData(const QUrl &url, QString *errorMessage = nullptr);
    // Writes sharedStrings as a shared-string part; must follow WriteWorksheetData.
    bool WriteSharedStringsXML(const QUrl &url, QString *errorMessage = nullptr);
    // 1 -> "A", 26 -> "Z", 27 -> "AA", 702 -> "ZZ", 703 -> "AAA".
    static QString ColumnIndexToName(int column);

    // --- the unpack folder -----------------------------------------------------------
    // The folder the last workbook was unpacked into (a private folder named after
    // "ziptmp", made fresh for each workbook); empty when there is none.
    QString tmpDir;
    // Its folder of worksheet parts (sheet1.xml, sheet2.xml, ...).
    QString worksheetsFolder() const;
    // Removes the unpack folder and forgets the workbook read from it.
    static void removeTempFolder();
    // The sheet names, date system and cell date formats of the workbook last unpacked.
    const WorkbookParts &workbookParts() const { return m_workbook; }

    // The rows last read (or to write) and the shared-string table of the workbook last
    // unpacked (or written).
    QList<QStringList> data;
    QStringList sharedStrings;

    // Reading refuses worksheets whose padded rows would hold more cells than this.
    qint64 maxCells = 20'000'000;
    // What one workbook may cost. Past any of these it is refused as too large, the limit
    // named: a part unpacking to more than 128 MiB (a real sheet of 100,000 rows of 10
    // columns takes about 37 MB) or to more than 250 times its packed size, more shared
    // strings than this, one row, text or comment larger than 8 MiB.
    SSZipArchiveLimits zipLimits = workbookZipLimits();
    qint64 maxSharedStrings = 4'000'000;
    std::size_t maxElementBytes = std::size_t(8) << 20;
    static SSZipArchiveLimits workbookZipLimits();

private:
    SpreadsheetWriter();
    bool makeFreshTempFolder(QString *errorMessage);
    QString worksheetPath() const;
    bool scanWorksheet(const QString &path, bool headerOnly, QStringList *header, int *columns,
                       QString *errorMessage);

    std::unique_ptr<QTemporaryDir> m_unpackFolder;
    WorkbookParts m_workbook;
};
