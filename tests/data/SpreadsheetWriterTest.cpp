// The workbook writer: what openpyxl and zipfile make of our workbooks, and its failures; the
// streaming XML reader that hands worksheet rows to pugixml in batches.

#include "DataTestSupport.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "data/WorkbookTemplate.h"
#include "data/XlsxCells.h"
#include "data/XmlElementStream.h"
#include "document/DocumentGlobals.h"

#include <QBuffer>
#include <QLocale>

using namespace DataTest;

namespace {

using Rows = QList<QStringList>;

class SpreadsheetWriterTest : public TempFolderTest
{
protected:
    void SetUp() override { Resource_Path = path("resources"); }
    void TearDown() override { Resource_Path.clear(); }

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
    EXPECT_TRUE(sheetXml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"));
    EXPECT_TRUE(part(file, "xl/sharedStrings.xml").contains("count=\"2\" uniqueCount=\"2\""));
    // The skeleton's other parts came along, "[Content_Types].xml" first.
    EXPECT_EQ(python("import sys, zipfile\nprint(' '.join(zipfile.ZipFile(sys.argv[1]).namelist()))\n", {file}),
              "[Content_Types].xml _rels/.rels xl/_rels/workbook.xml.rels xl/sharedStrings.xml xl/workbook.xml "
              "xl/worksheets/sheet1.xml\n");
}

TEST_F(SpreadsheetWriterTest, OnlyPlainDecimalsBecomeNumbersInAnyLocale)
{
    // Each text with whether openpyxl must read it as a number (shown as written) or as text.
    const std::pair<const char *, bool> cells[] = {
        {"0", true},      {"7", true},     {"-7", true},     {"10", true},   {"3.25", true},  {"-2.25", true},
        {"-0.5", true},   {"0.0001", true}, {"999999999999999", true},  {"1.23456789012345", true},
        {"007", false},   {"1.50", false}, {"-0", false},    {"1e5", false}, {"1E3", false},  {"1,5", false},
        {"0.00001", false}, {"1234567890123456", false}, {"1.234567890123456", false}, {" 5", false},
        {"1 ", false},    {"+5", false},   {".5", false},    {"5.", false},  {"", false},     {"-", false},
        {"00", false},    {"0.0", false},  {"1.0", false},   {"--1", false}, {"0x10", false}, {"NaN", false},
        {"inf", false},   {"٣", false},
    };
    Rows rows;
    QByteArray expected;
    for (const auto &[text, number] : cells) {
        rows.append({QString::fromUtf8(text)});
        expected += (number ? QByteArray(text) : "'" + QByteArray(text) + "'") + '\n';
    }
    ASSERT_TRUE(write(path("numbers.xlsx"), rows));
    EXPECT_EQ(python("import sys, openpyxl\n"
                     "for (c,) in openpyxl.load_workbook(sys.argv[1]).active.iter_rows():\n"
                     "    print(repr(c.value))\n",
                     {path("numbers.xlsx")}),
              expected);

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
    QString error;
    SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(file), true, &error);
    ASSERT_EQ(error, QString());
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

    const std::pair<int, const char *> names[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto &[column, name] : names) {
        EXPECT_EQ(SpreadsheetWriter::ColumnIndexToName(column), name);
        EXPECT_EQ(XlsxCells::columnOfReference((QByteArray(name) + "7").constData()), column - 1);
    }
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

struct StreamResult
{
    bool ok = false;
    QString error;
    QStringList units;   // "unit:name=text" per delivered element
};

StreamResult stream(const QByteArray &xml, const QList<QByteArrayList> &paths, std::size_t bufferSize,
                    int stopAfter = -1)
{
    QByteArray copy = xml;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    XmlElementStream reader(&device, bufferSize);
    for (const QByteArrayList &path : paths)
        reader.addUnit(path);
    StreamResult result;
    result.ok = reader.run([&](int unit, const pugi::xml_node &node) {
        // text() is the first piece of character data only.
        result.units.append(QStringLiteral("%1:%2=%3").arg(unit).arg(QString::fromUtf8(node.name()),
                                                               QString::fromUtf8(node.text().get())));
        return stopAfter < 0 || result.units.size() < stopAfter;
    });
    result.error = reader.errorString();
    return result;
}

const QList<QByteArrayList> SheetUnits{{"worksheet", "dimension"}, {"worksheet", "sheetData", "row"}};

TEST(XmlElementStreamTest, EveryBufferSizeGivesTheSameUnits)
{
    const QByteArray xml =
        "\xef\xbb\xbf<?xml version=\"1.0\"?>\n<!-- a comment with <row>fake</row> inside -->\n"
        "<x:worksheet xmlns:x=\"urn:x\"><x:dimension ref=\"A1:B2\">d</x:dimension>"
        "<x:sheetData>\n  <x:row r=\"1\"><![CDATA[<not a tag> ]]>one</x:row>\n"
        "  <?pi <row>?><x:row attr='a>b'>two &amp; &#x41;</x:row><x:row/>"
        "<x:other><x:row>nested deeper, not a unit</x:row></x:other>"
        "<x:row>three<x:rows/></x:row  ><x:row><x:row>inner</x:row></x:row>"
        "</x:sheetData><x:sheetData><x:row>second sheetData is ignored</x:row></x:sheetData></x:worksheet>\n";
    const QStringList expected{"0:x:dimension=d", "1:x:row=<not a tag> ", "1:x:row=two & A", "1:x:row=",
                               "1:x:row=three", "1:x:row="};
    for (std::size_t size : {16, 17, 23, 31, 64, 1 << 20}) {
        SCOPED_TRACE(size);
        const StreamResult result = stream(xml, SheetUnits, size);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.units, expected);
    }
}

// Collects "unit:name=text" per element in parallel batches.
class CollectingWork : public XmlElementStream::BatchWork
{
public:
    explicit CollectingWork(int stopAfter = -1) : m_stopAfter(stopAfter) {}
    std::shared_ptr<void> map(int unit, const std::vector<pugi::xml_node> &units) const override
    {
        auto texts = std::make_shared<QStringList>();
        for (const pugi::xml_node &node : units)
            texts->append(QStringLiteral("%1:%2=%3").arg(unit).arg(QString::fromUtf8(node.name()),
                                                                   QString::fromUtf8(node.text().get())));
        return texts;
    }
    bool reduce(std::shared_ptr<void> result) override
    {
        collected += *std::static_pointer_cast<QStringList>(result);
        ++batches;
        return m_stopAfter < 0 || collected.size() < m_stopAfter;
    }
    QStringList collected;
    int batches = 0;

private:
    int m_stopAfter;
};

// Runs `work` over the rows of `xml` in batches on `threads` threads.
bool runBatches(QByteArray xml, CollectingWork &work, int threads, QString *error = nullptr)
{
    QBuffer device(&xml);
    device.open(QIODevice::ReadOnly);
    XmlElementStream reader(&device, 4096);
    reader.addUnit({"worksheet", "sheetData", "row"});
    const bool ok = reader.runBatches(work, threads);
    if (error)
        *error = reader.errorString();
    return ok;
}

TEST(XmlElementStreamTest, ParallelBatchesArriveInDocumentOrder)
{
    QByteArray xml = "<worksheet><sheetData>";
    QStringList expected;
    for (int i = 0; i < 20000; ++i) {
        xml += "<row r=\"" + QByteArray::number(i) + "\">" + QByteArray::number(i) + "</row>";
        if (i % 1000 == 7)
            xml += "<!-- between rows -->";
        expected.append(QStringLiteral("0:row=%1").arg(i));
    }
    xml += "</sheetData></worksheet>";
    QString error;
    for (int threads : {1, 3}) {
        CollectingWork work;
        ASSERT_TRUE(runBatches(xml, work, threads, &error)) << error.toStdString();
        EXPECT_EQ(work.collected, expected);
        EXPECT_GT(work.batches, 10);
    }

    // A damaged row deep inside is reported, and stopping early works.
    CollectingWork work;
    EXPECT_FALSE(runBatches(QByteArray(xml).replace("<row r=\"15000\">15000</row>", "<row r=\"15000\">15000</rowx>"), work, 3, &error));
    EXPECT_FALSE(error.isEmpty());
    CollectingWork early(50);
    EXPECT_TRUE(runBatches(xml, early, 3));
    EXPECT_LT(early.collected.size(), 20000);
    EXPECT_EQ(early.collected.mid(0, 50), expected.mid(0, 50));
}

TEST(XmlElementStreamTest, MalformedDocumentsAreRefusedWithAReason)
{
    const QList<QByteArray> broken{
        "",
        "   ",
        "<worksheet><sheetData><row></sheetData></worksheet>",
        "<worksheet><sheetData><row><c></row></sheetData></worksheet>",
        "<worksheet><sheetData></sheetData>",
        "<worksheet/><worksheet/>",
        "text<worksheet/>",
        "<!DOCTYPE worksheet [<!ENTITY a \"aaaa\">]><worksheet>&a;</worksheet>",
        "<worksheet><sheetData><row><c r=\"A1\" t=s></c></row></sheetData></worksheet>",
        "<worksheet><sheetData><row><!-- unterminated </row></sheetData></worksheet>",
        "<worksheet><sheetData><row a=\"unterminated></row></sheetData></worksheet>",
        "\xff\xfe<\0w\0/\0>\0",
        "<worksheet></sheetData>",
        "<worksheet><</worksheet>",
        // nested deeper than the parser goes, without exhausting the stack
        "<worksheet>" + QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000) + "</worksheet>",
    };
    for (const QByteArray &xml : broken) {
        SCOPED_TRACE(xml.toStdString());
        for (std::size_t size : {16, 1 << 20}) {
            const StreamResult result = stream(xml, SheetUnits, size);
            EXPECT_FALSE(result.ok);
            EXPECT_FALSE(result.error.isEmpty());
        }
    }
}

TEST(XmlElementStreamTest, AUnitLargerThanTheBufferStillArrivesWholeAndTheHandlerCanStopEarly)
{
    QByteArray rows = "<worksheet><sheetData>";
    for (int i = 0; i < 100; ++i)
        rows += "<row>" + QByteArray::number(i) + "</row>";
    const StreamResult stopped = stream(rows + "</sheetData></worksheet>", SheetUnits, 32, 3);
    EXPECT_TRUE(stopped.ok);
    EXPECT_EQ(stopped.units, QStringList({"1:row=0", "1:row=1", "1:row=2"}));

    const QByteArray big(100000, 'z');
    const QByteArray xml = "<worksheet><sheetData><row>" + big + "</row><row>b</row></sheetData></worksheet>";
    const StreamResult result = stream(xml, SheetUnits, 64);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    ASSERT_EQ(result.units.size(), 2);
    EXPECT_EQ(result.units.at(0), "1:row=" + QString::fromLatin1(big));
}

} // namespace
