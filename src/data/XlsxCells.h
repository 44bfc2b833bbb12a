#pragma once

// Cell references, column letters and cell texts of .xlsx worksheets.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace XlsxCells {

// Columns a worksheet can have (A to XFD).
constexpr int MaxColumns = 16384;

// The 0-based column of a cell reference given as UTF-8 ("C7" -> 2), or -1 when the
// reference does not start with a valid column name followed by a row number.
int columnOfReference(const char *reference);

// True when `text` is a plain decimal number in the C locale that spreadsheet programs
// read back as the same text: optional "-", no leading zeros, no trailing zeros after the
// decimal point, at most 15 significant digits, no exponent. Such a cell is stored as a
// number; every other text is stored as a string.
bool isPlainNumber(QStringView text);

// Appends `text` to `out` as UTF-8 XML character data: markup characters become entity
// references; control characters XML cannot hold (and carriage returns, which XML would
// turn into line feeds) are written in the workbook escape "_xHHHH_", and a literal
// "_xHHHH_" in the text is protected as "_x005F_xHHHH_"; characters that are not allowed
// in XML at all are dropped.
void appendXmlText(QByteArray &out, QStringView text);

// Reverses the workbook escape "_xHHHH_" of a cell text.
QString unescapeText(const QString &text);

} // namespace XlsxCells
