// The workbook reader against workbooks written by openpyxl and by hand.

#include "DataTestSupport.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace DataTest;

namespace {

using Rows = QList<QStringList>;

class SpreadsheetReaderTest : public ::testing::Test
{
protected:
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }

    // Opens a workbook as the column choosers do; returns the error of the unpacking step.
    QString open(const QString &workbook)
    {
        QString error;
        SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(workbook), true, &error);
        return error;
    }
    Rows header(int sheet = 1, QString *error = nullptr)
    {
        Excel_Sheet_Number = sheet;
        return SpreadsheetWriter::ReadData_only_column(error);
    }
    Rows rows(int sheet = 1, QString *error = nullptr)
    {
        Excel_Sheet_Number = sheet;
        return SpreadsheetWriter::ReadWorkbook(QUrl(), false, error);
    }
    // A hand-made workbook of one worksheet.
    QString workbook(const QByteArray &sheetXml, const QByteArray &sharedStringsXml = {})
    {
        const QString file = path(QStringLiteral("book%1.xlsx").arg(++m_count));
        makeZip(file, workbookParts(sheetXml, sharedStringsXml));
        return file;
    }
    Rows readSheet(const QByteArray &sheetXml, const QByteArray &sharedStringsXml = {}, QString *error = nullptr)
    {
        EXPECT_EQ(open(workbook(sheetXml, sharedStringsXml)), QString());
        return rows(1, error);
    }

    QTemporaryDir m_dir;
    int m_count = 0;
};

TEST_F(SpreadsheetReaderTest, OpenpyxlWorkbookReadsToTheStoredTexts)
{
    python("import sys, openpyxl, datetime\n"
           "wb = openpyxl.Workbook()\n"
           "ws = wb.active\n"
           "ws.append(['Name', None, 'Age', 'Member'])\n"
           "ws.append(['Anna', 'x & <y>', 42, True])\n"
           "ws.append([])\n"
           "ws.append(['Ben', None, 3.5, False])\n"
           "ws['F5'] = datetime.date(2024, 3, 1)\n"
           "ws['A6'] = '  padded  '\n"
           "ws['B6'] = 'Zoë 日本'\n"
           "ws2 = wb.create_sheet('Second')\n"
           "ws2['B2'] = 'only'\n"
           "wb.save(sys.argv[1])\n",
           {path("openpyxl.xlsx")});
    ASSERT_EQ(open(path("openpyxl.xlsx")), QString());
    EXPECT_EQ(QDir(spreadsheet->worksheetsFolder()).entryList({"*.xml"}, QDir::Files, QDir::Name),
              QStringList({"sheet1.xml", "sheet2.xml"}));

    EXPECT_EQ(header(1), Rows({{"Name", "Untitled Column 2", "Age", "Member", "Untitled Column 5", "Untitled Column 6"}}));
    EXPECT_EQ(Excel_Sheet_Columns, 6);
    // The empty third row is not listed, so the rows after it move up; a date reads as it shows.
    EXPECT_EQ(rows(1), Rows({{"Name", "", "Age", "Member", "", ""},
                             {"Anna", "x & <y>", "42", "1", "", ""},
                             {"Ben", "", "3.5", "0", "", ""},
                             {"", "", "", "", "", "2024-03-01"},
                             {"  padded  ", QStringLiteral("Zoë 日本"), "", "", "", ""}}));

    // The first listed row is row 2: its cells name the columns.
    EXPECT_EQ(header(2), Rows({{"Untitled Column 1", "only"}}));
    EXPECT_EQ(rows(2), Rows({{"", "only"}}));
}

TEST_F(SpreadsheetReaderTest, SharedStringsRichTextInlineStringsAndIndexesOutOfRange)
{
    const QByteArray sst =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"4\" uniqueCount=\"4\">"
        "<si><t>plain</t></si>"
        "<si><r><rPr><b/></rPr><t>Bold</t></r><r><t xml:space=\"preserve\"> and plain</t></r>"
        "<rPh sb=\"0\" eb=\"1\"><t>phonetic</t></rPh></si>"
        "<si><t>line_x000D_break &amp; tab\t</t></si>"
        "<si><t xml:space=\"preserve\">   </t></si>"
        "</sst>";
    const QByteArray sheetXml = sheet(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c><c r=\"C1\" t=\"s\"><v>2</v></c>"
        "<c r=\"D1\" t=\"s\"><v>3</v></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r></is></c>"
        "<c r=\"B2\" t=\"str\"><f>A1&amp;\"x\"</f><v>plainx</v></c><c r=\"C2\" t=\"e\"><v>#DIV/0!</v></c>"
        "<c r=\"D2\"><v><![CDATA[12]]></v></c></row>",
        "A1:D2");
    EXPECT_EQ(readSheet(sheetXml, sst), Rows({{"plain", "Bold and plain", "line\rbreak & tab\t", "   "},
                                              {"inline", "plainx", "#DIV/0!", "12"}}));

    // Shared-string indexes out of range have no value.
    EXPECT_EQ(readSheet(sheet("<row><c r=\"A1\" t=\"s\"><v>2</v></c><c r=\"B1\" t=\"s\"><v>-1</v></c>"
                              "<c r=\"C1\" t=\"s\"><v>99999999999999999999</v></c><c r=\"D1\" t=\"s\"><v>x</v></c>"
                              "<c r=\"E1\" t=\"s\"/><c r=\"F1\" t=\"s\"><v> 1 </v></c></row>",
                              "A1:F1"),
                        sharedStrings({"zero", "one"})),
              Rows({{"", "", "", "", "", "one"}}));
}

TEST_F(SpreadsheetReaderTest, DimensionAndRowShapes)
{
    // A row listing only column B of A1:C3.
    EXPECT_EQ(readSheet(sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"C1\"><v>3</v></c></row>"
                              "<row r=\"2\"><c r=\"B2\"><v>5</v></c></row>",
                              "A1:C3")),
              Rows({{"1", "", "3"}, {"", "5", ""}}));
    // B10:D12: columns A to D, A always empty.
    EXPECT_EQ(readSheet(sheet("<row r=\"10\"><c r=\"B10\"><v>1</v></c><c r=\"D10\"><v>2</v></c></row>", "B10:D12")),
              Rows({{"", "1", "", "2"}}));
    EXPECT_EQ(Excel_Sheet_Columns, 4);
    // A one-cell sheet.
    EXPECT_EQ(readSheet(sheet("<row r=\"1\"><c r=\"A1\"><v>7</v></c></row>", "A1")), Rows({{"7"}}));
    // Rows 1, 2 and 5: three rows, the third holding row 5.
    EXPECT_EQ(readSheet(sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"2\"><c r=\"A2\"><v>2</v></c></row>"
                              "<row r=\"5\"><c r=\"A5\"><v>5</v></c></row>",
                              "A1:A5")),
              Rows({{"1"}, {"2"}, {"5"}}));
    // A formula cell gives its stored result.
    EXPECT_EQ(readSheet(sheet("<row r=\"1\"><c r=\"A1\"><f>SUM(1,2)</f><v>3</v></c></row>")), Rows({{"3"}}));
    // No rows at all.
    EXPECT_EQ(readSheet(sheet("", "A1:C3")), Rows());
}

TEST_F(SpreadsheetReaderTest, ColumnNamesFromTheFirstRowWhateverTheDimension)
{
    ASSERT_EQ(open(workbook(sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Name</t></is></c>"
                                  "<c r=\"B1\" t=\"inlineStr\"><is><t></t></is></c><c r=\"C1\"><v>2024</v></c></row>"
                                  "<row r=\"2\"><c r=\"A2\"><v>1</v></c></row>",
                                  "A1:C2"))),
              QString());
    EXPECT_EQ(header(), Rows({{"Name", "Untitled Column 2", "2024"}}));
    EXPECT_EQ(Excel_Sheet_Columns, 3);

    ASSERT_EQ(open(workbook(sheet("", "A1:C3"))), QString());
    EXPECT_EQ(header(), Rows());

    // A huge dimension on a tiny sheet costs nothing.
    EXPECT_EQ(readSheet(sheet("<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c></row>",
                              "A1:XFD1048576")),
              Rows({{"1", "2"}}));
    EXPECT_EQ(Excel_Sheet_Columns, 2);
    EXPECT_EQ(header(), Rows({{"1", "2"}}));
}

TEST_F(SpreadsheetReaderTest, CellsAreReadByPositionUpToColumnXfd)
{
    // No "r" at all: cells follow each other from column A.
    EXPECT_EQ(readSheet(sheet("<row><c><v>1</v></c><c><v>2</v></c><c><v>3</v></c></row>"
                              "<row><c r=\"B2\"><v>b</v></c><c><v>c</v></c></row>",
                              "A1")),
              Rows({{"1", "2", "3"}, {"", "b", "c"}}));
    EXPECT_EQ(Excel_Sheet_Columns, 3);
    // A dimension that is too small widens to the cells.
    EXPECT_EQ(readSheet(sheet("<row><c r=\"A1\"><v>1</v></c></row><row><c r=\"E2\"><v>5</v></c></row>", "A1:B2")),
              Rows({{"1", "", "", "", ""}, {"", "", "", "", "5"}}));

    // Three-letter columns up to XFD; beyond it nothing.
    const Rows result = readSheet(sheet("<row><c r=\"AAA1\"><v>aaa</v></c><c r=\"xfd1\"><v>last</v></c>"
                                        "<c r=\"XFE1\"><v>beyond</v></c><c r=\"AAAA1\"><v>four</v></c></row>",
                                        "A1:XFD1"));
    ASSERT_EQ(result.size(), 1);
    ASSERT_EQ(result.first().size(), 16384);
    EXPECT_EQ(result.first().at(702), "aaa");   // AAA is column 703
    EXPECT_EQ(result.first().at(16383), "last");
}

TEST_F(SpreadsheetReaderTest, TooManyCellsAreRefusedNotAllocated)
{
    QByteArray rowsXml = "<row><c r=\"XFD1\"><v>far</v></c></row>";
    for (int i = 0; i < 2000; ++i)
        rowsXml += "<row/>";
    ASSERT_EQ(open(workbook(sheet(rowsXml))), QString());
    spreadsheet->maxCells = 1'000'000;
    QString error;
    EXPECT_EQ(rows(1, &error), Rows());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    spreadsheet->maxCells = 50'000'000;
}

TEST_F(SpreadsheetReaderTest, BadWorkbooksGiveAClearErrorAndNoRows)
{
    QString error;
    writeFile(path("text.xlsx"), "not a workbook at all");
    EXPECT_NE(open(path("text.xlsx")), QString());
    EXPECT_EQ(header(1, &error), Rows());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(rows(1, &error), Rows());
    EXPECT_FALSE(error.isEmpty());

    const QString good = workbook(sheet("<row><c r=\"A1\"><v>1</v></c></row>"));
    const QByteArray bytes = readFile(good);
    writeFile(path("cut.xlsx"), bytes.left(bytes.size() - 30));
    EXPECT_NE(open(path("cut.xlsx")), QString());
    EXPECT_EQ(rows(), Rows());

    makeZip(path("nosheet.xlsx"), {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<workbook/>"}});
    EXPECT_EQ(open(path("nosheet.xlsx")), QString());
    EXPECT_EQ(rows(1, &error), Rows());
    EXPECT_TRUE(error.contains("sheet1.xml")) << error.toStdString();

    EXPECT_EQ(readSheet("<worksheet><sheetData><row><c r=\"A1\"><v>1</v></row></sheetData></worksheet>", {}, &error),
              Rows());
    EXPECT_FALSE(error.isEmpty());

    // A broken shared-string part is reported when the workbook is opened.
    EXPECT_NE(open(workbook(sheet("<row><c r=\"A1\" t=\"s\"><v>0</v></c></row>"), "<sst><si><t>x</si></sst>")), QString());
    EXPECT_EQ(rows(), Rows({{""}}));
}

TEST_F(SpreadsheetReaderTest, EachWorkbookGetsAFreshPrivateFolder)
{
    python("import sys, openpyxl\n"
           "wb = openpyxl.Workbook()\n"
           "wb.active['A1'] = 'first'\n"
           "wb.create_sheet('two')['A1'] = 'second sheet'\n"
           "wb.save(sys.argv[1])\n",
           {path("two.xlsx")});
    ASSERT_EQ(open(path("two.xlsx")), QString());
    const QString firstFolder = spreadsheet->tmpDir;
    EXPECT_TRUE(QFileInfo(firstFolder).fileName().startsWith("ziptmp"));
    EXPECT_EQ(QFileInfo(firstFolder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
              QFileDevice::Permissions());
    EXPECT_EQ(rows(2), Rows({{"second sheet"}}));

    // A workbook that fails to unpack leaves no sheet of the one before.
    writeFile(path("bad.xlsx"), "garbage");
    EXPECT_NE(open(path("bad.xlsx")), QString());
    EXPECT_FALSE(QFile::exists(firstFolder));
    EXPECT_TRUE(QDir(spreadsheet->worksheetsFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(rows(2), Rows());

    SpreadsheetWriter::removeTempFolder();
    QString error;
    EXPECT_EQ(rows(1, &error), Rows());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(SpreadsheetReaderTest, MutatedWorkbooksNeverCrashTheReader)
{
    const QByteArray sst = sharedStrings({"alpha", "beta", "gamma"});
    QByteArray rowsXml;
    for (int r = 1; r <= 20; ++r)
        rowsXml += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\" t=\"s\"><v>"
                   + QByteArray::number(r % 3) + "</v></c><c r=\"B" + QByteArray::number(r) + "\"><v>" + QByteArray::number(r * 1.5)
                   + "</v></c><c r=\"C" + QByteArray::number(r) + "\" t=\"inlineStr\"><is><t>x&amp;y</t></is></c></row>";
    const QByteArray sheetXml = sheet(rowsXml, "A1:C20");
    const QString folder = path("fuzz");
    writeFile(folder + "/xl/sharedStrings.xml", sst);

    QRandomGenerator random(20240601);
    const char interesting[] = "<>/\"'&;:=!?[]-x0AZ \n";
    for (int round = 0; round < 250; ++round) {
        QByteArray mutated = sheetXml;
        const int edits = 1 + int(random.bounded(6));
        for (int e = 0; e < edits; ++e) {
            const int at = int(random.bounded(mutated.size()));
            switch (random.bounded(4)) {
            case 0: mutated[at] = interesting[random.bounded(int(sizeof interesting) - 1)]; break;
            case 1: mutated.remove(at, 1 + int(random.bounded(8))); break;
            case 2: mutated.insert(at, interesting[random.bounded(int(sizeof interesting) - 1)]); break;
            default: mutated.truncate(at); break;
            }
        }
        writeFile(folder + "/xl/worksheets/sheet1.xml", mutated);
        const QString book = path("fuzz.xlsx");
        QFile::remove(book);
        ASSERT_TRUE(SSZipArchive::createZipFileAtPath(book, {folder + "/xl"}));
        open(book);
        header();
        const Rows result = rows();
        for (const QStringList &row : result)
            ASSERT_EQ(row.size(), Excel_Sheet_Columns.load());
    }
    // Damaged archives too.
    const QByteArray archive = readFile(path("fuzz.xlsx"));
    for (int round = 0; round < 60; ++round) {
        QByteArray mutated = archive;
        for (int e = 0; e < 4; ++e)
            mutated[int(random.bounded(mutated.size()))] = char(random.bounded(256));
        writeFile(path("broken.xlsx"), mutated);
        open(path("broken.xlsx"));
        header();
        rows();
    }
}

} // namespace
