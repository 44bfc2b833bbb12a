// The workbook reader on any bytes taken as an .xlsx file: unpacking, shared strings, the
// column names and the rows of the first sheet. Every row read is padded to the sheet's width.

#include "FuzzSupport.h"

#include "data/DataGlobals.h"
#include "data/SpreadsheetWriter.h"

#include <QUrl>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = QDir(Fuzz::folder()).filePath(QStringLiteral("input.xlsx"));
    Fuzz::writeFile(path, Fuzz::bytes(data, size));
    QString error;
    SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(path), true, &error);
    if (error.isEmpty()) {
        Excel_Sheet_Number = 1;
        SpreadsheetWriter::ReadData_only_column(&error);
        const QList<QStringList> rows = SpreadsheetWriter::ReadWorkbook(QUrl(), false, &error);
        for (const QStringList &row : rows)
            if (row.size() != SpreadsheetWriter::sharedInstance()->columns)
                Fuzz::broken("every row has the sheet's width");
    }
    SpreadsheetWriter::removeTempFolder();
    return 0;
}
