#pragma once

// Cell references, column letters and cell texts of .xlsx worksheets.

#include <QByteArray>
#include <QString>
#include <QStringView>

// The leading letters of a cell reference ("AB12" -> "AB"): everything before the first
// digit 1 to 9.
QString Get_Column_Char_Str(QStringView reference);

// The column number of `letters` (A = 1, up to XFD = 16384) minus (base - 64): base 64 gives
// A = 1, base 65 gives A = 0. -1 when the letters are not a column name.
int Get_Col_index(QStringView letters, int base);

// The low 8 bits of the code of the first character; 0 for an empty text.
int Asc_Val(QStringView text);

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
