#pragma once

// Helpers shared by the data tests: running Debian's Python (openpyxl, zipfile) on our
// files and building archives and workbooks by hand.

#include "data/SpreadsheetTable.h"
#include "document/DocumentGlobals.h"
#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '[';
    for (const QString &text : list)
        *os << '"' << text.toStdString() << "\", ";
    *os << ']';
}

namespace DataTest {

// Runs a Python script (given as text) with arguments; returns its standard output.
inline QByteArray python(const QByteArray &script, const QStringList &arguments = {}, int *exitCode = nullptr)
{
    QStringList all{QStringLiteral("-c"), QString::fromUtf8(script)};
    all += arguments;
    return TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON), all, {}, exitCode);
}

using TestHelpers::readFile;
using TestHelpers::writeFile;

// Writes a zip archive whose entries are given as name / content pairs, in order, using
// Python's zipfile (deflated), so names may be anything, ".." and backslashes included.
inline void makeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
{
    QByteArray input;
    for (const auto &entry : entries)
        input += entry.first.toUtf8().toBase64() + ' ' + entry.second.toBase64() + '\n';
    int exitCode = -1;
    TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON),
                            {QStringLiteral("-c"),
                             QStringLiteral("import sys, zipfile, base64\n"
                                            "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                                            "    for line in sys.stdin.read().split('\\n'):\n"
                                            "        if not line: continue\n"
                                            "        name, data = line.split(' ')\n"
                                            "        info = zipfile.ZipInfo(base64.b64decode(name).decode(), (2001, 2, 3, 4, 5, 6))\n"
                                            "        z.writestr(info, base64.b64decode(data), zipfile.ZIP_DEFLATED)\n"),
                             path},
                            input.isEmpty() ? QByteArray("\n") : input, &exitCode);
    ASSERT_EQ(exitCode, 0) << "could not write " << path.toStdString();
}

// Rewrites the one entry of a zip made by Python: its declared CRC and uncompressed size in
// both the local header and the central directory.
inline void forgeEntry(const QString &zip, int sizeChange, bool wrongCrc)
{
    python("import sys, struct\n"
           "p, change, crc = sys.argv[1], int(sys.argv[2]), sys.argv[3] == '1'\n"
           "b = bytearray(open(p, 'rb').read())\n"
           "for sig, at in ((b'PK\\x03\\x04', 14), (b'PK\\x01\\x02', 16)):\n"
           "    h = b.find(sig)\n"
           "    c, packed, size = struct.unpack_from('<III', b, h + at)\n"
           "    struct.pack_into('<III', b, h + at, c ^ 1 if crc else c, packed, size + change)\n"
           "open(p, 'wb').write(b)\n",
           {zip, QString::number(sizeChange), wrongCrc ? "1" : "0"});
}

// The parts of a minimal workbook around the given worksheet XML (sheet1) and optional
// shared-string XML.
inline QList<QPair<QString, QByteArray>> workbookParts(const QByteArray &sheetXml, const QByteArray &sharedStringsXml = {})
{
    QList<QPair<QString, QByteArray>> parts{
        {QStringLiteral("[Content_Types].xml"),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {QStringLiteral("xl/worksheets/sheet1.xml"), sheetXml},
    };
    if (!sharedStringsXml.isEmpty())
        parts.append({QStringLiteral("xl/sharedStrings.xml"), sharedStringsXml});
    return parts;
}

// A worksheet part around the given sheetData content.
inline QByteArray sheet(const QByteArray &rows, const QByteArray &dimension = "A1")
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           "<dimension ref=\"" + dimension + "\"/><sheetData>" + rows + "</sheetData></worksheet>";
}

inline QByteArray sharedStrings(const QStringList &texts)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QString &text : texts)
        xml += "<si><t>" + text.toUtf8() + "</t></si>";
    return xml + "</sst>";
}

// A temporary folder; path() names a file in it.
class TempFolderTest : public ::testing::Test
{
protected:
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }
    QTemporaryDir m_dir;
};

// One fixture for the data tests: a temporary resource folder with its DataSet folder, the
// live spreadsheet table emptied and put back afterwards, and a scripted modal seam.
class DataFolderTest : public TempFolderTest
{
protected:
    void SetUp() override
    {
        Resource_Path = m_dir.path();
        Data_Folder_Path = path(QStringLiteral("DataSet"));
        QDir().mkpath(Data_Folder_Path);
        m_savedTable = SpreadsheetTable::live();
        SpreadsheetTable::live() = {};
    }
    void TearDown() override
    {
        SpreadsheetTable::live() = m_savedTable;
        Resource_Path.clear();
        Data_Folder_Path.clear();
    }
    ScriptedModalSeam m_seam;
    SpreadsheetTable m_savedTable;
};

} // namespace DataTest
