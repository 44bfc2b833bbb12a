// The workbook writer: what openpyxl and zipfile make of our workbooks, and its failures.

#include "DataTestSupport.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "data/WorkbookTemplate.h"
#include "data/XlsxCells.h"
#include "document/DocumentGlobals.h"

#include <QLocale>
#include <QTemporaryDir>

using namespace DataTest;

namespace {

using Rows = QList<QStringList>;

class SpreadsheetWriterTest : public ::testing::Test
{
protected:
    void SetUp() override { Resource_Path = path("resources"); }
    void TearDown() override { Resource_Path.clear(); }
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }

    bool write(const QString &file, const Rows &rows, QString *error = nullptr)
    {
        return SpreadsheetWriter::WriteWorkbook(QUrl::fromLocalFile(file), rows, false, error);
    }
    // Every cell as openpyxl reads it: "ref type repr" per line.
    QByteArray openpyxlCells(const QString &file)
    {
        return python("import sys, zipfile, openpyxl\n"
                      "assert zipfile.ZipFile(sys.argv[1]).testzip() is None\n"
                      "wb = openpyxl.load_workbook(sys.argv[1])\n"
                      "ws = wb.active\n"
                      "print(wb.sheetnames, ws.dimensions)\n"
                      "for row in ws.iter_rows():\n"
                      "    for c in row:\n"
                      "        print(c.coordinate, type(c.value).__name__, repr(c.value))\n",
                      {file});
    }
    QByteArray part(const QString &file, const QString &name)
    {
        return python("import sys, zipfile\nsys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))\n",
                      {file, name});
    }

    QTemporaryDir m_dir;
};

TEST_F(SpreadsheetWriterTest, SeriesExportOpensInOpenpyxlWithNumbersAndTexts)
{
    const QString file = path("series.xlsx");
    QString error;
    ASSERT_TRUE(write(file, {{"Batch Value"}, {"12"}, {"Anna"}}, &error)) << error.toStdString();
    EXPECT_EQ(openpyxlCells(file), "['Sheet1'] A1:A3\n"
                                   "A1 str 'Batch Value'\n"
                                   "A2 int 12\n"
                                   "A3 str 'Anna'\n");
    const QByteArray sheetXml = part(file, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheetXml.contains("<dimension ref=\"A1:A3\"/>"));
    EXPECT_TRUE(sheetXml.contains("<c r=\"A1\" t=\"s\"><v>0</v></c>"));
    EXPECT_TRUE(sheetXml.contains("<c r=\"A2\"><v>12</v></c>"));
    EXPECT_TRUE(sheetXml.contains("<c r=\"A3\" t=\"s\"><v>1</v></c>"));
    EXPECT_TRUE(sheetXml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"));
    EXPECT_TRUE(part(file, "xl/sharedStrings.xml").contains("count=\"2\" uniqueCount=\"2\""));
    // The skeleton's other parts came along, "[Content_Types].xml" first.
    EXPECT_EQ(python("import sys, zipfile\nprint(' '.join(zipfile.ZipFile(sys.argv[1]).namelist()))\n", {file}),
              "[Content_Types].xml _rels/.rels xl/_rels/workbook.xml.rels xl/sharedStrings.xml xl/workbook.xml "
              "xl/worksheets/sheet1.xml\n");
}

TEST_F(SpreadsheetWriterTest, OnlyPlainDecimalsBecomeNumbersInAnyLocale)
{
    const QString file = path("numbers.xlsx");
    const QStringList texts{"007", "1.50", "-0", "1e5", "1,5", "0", "-2.25", "0.0001", "0.00001", "123456789012345",
                            "1234567890123456", " 5", "+5", ".5", "5.", "", "0x10", "NaN", "٣"};
    Rows rows;
    for (const QString &text : texts)
        rows.append({text});
    ASSERT_TRUE(write(file, rows));
    EXPECT_EQ(openpyxlCells(file), "['Sheet1'] A1:A19\n"
                                   "A1 str '007'\n"
                                   "A2 str '1.50'\n"
                                   "A3 str '-0'\n"
                                   "A4 str '1e5'\n"
                                   "A5 str '1,5'\n"
                                   "A6 int 0\n"
                                   "A7 float -2.25\n"
                                   "A8 float 0.0001\n"
                                   "A9 str '0.00001'\n"
                                   "A10 int 123456789012345\n"
                                   "A11 str '1234567890123456'\n"
                                   "A12 str ' 5'\n"
                                   "A13 str '+5'\n"
                                   "A14 str '.5'\n"
                                   "A15 str '5.'\n"
                                   "A16 str ''\n"
                                   "A17 str '0x10'\n"
                                   "A18 str 'NaN'\n"
                                   "A19 str '٣'\n");

    // The user's locale does not change what is a number.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ASSERT_TRUE(write(path("locale.xlsx"), {{"1,5", "1.5", "1.000"}}));
    QLocale::setDefault(saved);
    EXPECT_EQ(openpyxlCells(path("locale.xlsx")), "['Sheet1'] A1:C1\nA1 str '1,5'\nB1 float 1.5\nC1 str '1.000'\n");
}

TEST_F(SpreadsheetWriterTest, TextsSurviveMarkupSpacesAndControlCharacters)
{
    const QString file = path("texts.xlsx");
    const QStringList texts{"a < b & c > d", "  padded  ", QStringLiteral("Zoë 日本 😀"), "tab\there",
                            "two\nlines", "bell\x07 and vt\x0b", "cr\rlf", "_x0041_ literal", "same", "same"};
    ASSERT_TRUE(write(file, {texts}));
    // openpyxl shows the escapes of control characters as stored (and undoes the protected
    // underscore); everything else comes back unchanged.
    EXPECT_EQ(python("import sys, openpyxl\n"
                     "for c in openpyxl.load_workbook(sys.argv[1]).active[1]:\n"
                     "    print(ascii(c.value))\n",
                     {file}),
              "'a < b & c > d'\n'  padded  '\n'Zo\\xeb \\u65e5\\u672c \\U0001f600'\n'tab\\there'\n'two\\nlines'\n"
              "'bell_x0007_ and vt_x000B_'\n'cr_x000D_lf'\n'_x0041_ literal'\n'same'\n'same'\n");
    // Two equal texts are two shared strings.
    EXPECT_TRUE(part(file, "xl/sharedStrings.xml").contains("count=\"10\" uniqueCount=\"10\""));

    // Our own reader gives every text back exactly.
    ASSERT_EQ(QString(), [&] {
        QString error;
        SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(file), true, &error);
        return error;
    }());
    Excel_Sheet_Number = 1;
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(QUrl(), false), Rows({texts}));
}

TEST_F(SpreadsheetWriterTest, RowsOfDifferentLengthAndColumnNames)
{
    const QString file = path("ragged.xlsx");
    QStringList wide;
    for (int c = 1; c <= 28; ++c)
        wide.append(QString::number(c));
    ASSERT_TRUE(write(file, {{"x"}, wide, {}}));
    const QByteArray sheetXml = part(file, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheetXml.contains("<dimension ref=\"A1:AB3\"/>"));
    EXPECT_TRUE(sheetXml.contains("<c r=\"AB2\"><v>28</v></c>"));
    EXPECT_TRUE(sheetXml.contains("spans=\"1:28\""));

    EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(1), "A");
    EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(26), "Z");
    EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(27), "AA");
    EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(702), "ZZ");
    EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(703), "AAA");
    EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(16384), "XFD");
    for (int column : {1, 26, 27, 52, 702, 703, 16384})
        EXPECT_EQ(Get_Col_index(SpreadsheetWriter::ColumnIndexToName(column), 64), column);
    EXPECT_EQ(Get_Col_index(u"B", 65), 1);
    EXPECT_EQ(Get_Col_index(u"XFE", 64), -1);
    EXPECT_EQ(Get_Column_Char_Str(u"AB012"), "AB0");   // letters end at the first digit 1 to 9
    EXPECT_EQ(Asc_Val(u"A"), 65);
}

TEST_F(SpreadsheetWriterTest, SkeletonIsCreatedWhenMissingAndADamagedOneIsAnError)
{
    EXPECT_FALSE(QFile::exists(WorkbookTemplate::path()));
    ASSERT_TRUE(write(path("first.xlsx"), {{"a"}}));
    EXPECT_TRUE(QFile::exists(WorkbookTemplate::path()));

    writeFile(path("keep.xlsx"), "the user's earlier workbook");
    writeFile(WorkbookTemplate::path(), "damaged skeleton");
    QString error;
    EXPECT_FALSE(write(path("keep.xlsx"), {{"a"}}, &error));
    EXPECT_TRUE(error.contains("Template.xlsx")) << error.toStdString();
    EXPECT_EQ(readFile(path("keep.xlsx")), "the user's earlier workbook");

    Resource_Path.clear();
    EXPECT_FALSE(write(path("keep.xlsx"), {{"a"}}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SpreadsheetWriterTest, FailuresAreReportedAndLeaveTheDestinationAlone)
{
    QString error;
    EXPECT_FALSE(write(path("no/such/folder/out.xlsx"), {{"a"}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(write(path("empty.xlsx"), {}, &error));
    EXPECT_FALSE(QFile::exists(path("empty.xlsx")));

    QDir().mkpath(path("folder.xlsx"));
    EXPECT_FALSE(write(path("folder.xlsx"), {{"a"}}, &error));
    EXPECT_TRUE(QFileInfo(path("folder.xlsx")).isDir());

    QStringList tooWide;
    for (int c = 0; c <= XlsxCells::MaxColumns; ++c)
        tooWide.append(QString());
    EXPECT_FALSE(write(path("wide.xlsx"), {tooWide}, &error));
    EXPECT_FALSE(QFile::exists(path("wide.xlsx")));
}

TEST(XlsxCellsTest, PlainNumberRule)
{
    for (const char *yes : {"0", "7", "-7", "10", "3.25", "-0.5", "0.0001", "999999999999999", "1.23456789012345"})
        EXPECT_TRUE(XlsxCells::isPlainNumber(QString::fromLatin1(yes))) << yes;
    for (const char *no : {"", "-", "00", "01", "-0", "0.0", "1.0", "1.", ".1", "1e3", "1E3", "+1", " 1", "1 ",
                           "1,5", "0.00001", "1234567890123456", "1.234567890123456", "inf", "--1"})
        EXPECT_FALSE(XlsxCells::isPlainNumber(QString::fromLatin1(no))) << no;
}

} // namespace
