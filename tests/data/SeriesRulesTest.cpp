// The rules behind the series dialogs, without windows: the generator's values, refusals and
// field cleaning; the import sources on files made by real programs (pandoc, Python's csv,
// iconv); the data table built from worksheet rows.

#include "DataTestSupport.h"

#include "data/SeriesGenerator.h"
#include "data/SeriesImportSource.h"
#include "data/SheetImport.h"

#include <QTemporaryDir>

using namespace DataTest;
using Mode = SeriesGenerator::Mode;

namespace {

SeriesGenerator::Request sequential(const QString &from, const QString &to, bool zeroFill = false)
{
    SeriesGenerator::Request r;
    r.from = from;
    r.to = to;
    r.zeroFill = zeroFill;
    return r;
}

TEST(SeriesGeneratorTest, SequentialValuesZeroFillingAndAffixes)
{
    struct Case
    {
        const char *from, *to;
        bool zeroFill;
        QStringList first, last;
        qsizetype count;
    };
    const Case cases[] = {
        {"1", "10", true, {"01", "02"}, {"10"}, 10},
        {"1", "10", false, {"1", "2"}, {"10"}, 10},
        {"001", "200", true, {"001"}, {"200"}, 200},
        {"1", "00200", true, {"00001"}, {"00200"}, 200},
        // zeros go after the minus sign
        {"-12", "5", true, {"-12", "-11", "-10", "-09"}, {"004", "005"}, 18},
    };
    for (const Case &c : cases) {
        const QStringList values = SeriesGenerator::generate(sequential(c.from, c.to, c.zeroFill));
        ASSERT_EQ(values.size(), c.count) << c.from << ".." << c.to;
        EXPECT_EQ(values.mid(0, c.first.size()), c.first) << c.from;
        EXPECT_EQ(values.mid(values.size() - c.last.size()), c.last) << c.from;
    }
    const QStringList minus = SeriesGenerator::generate(sequential("-12", "5", true));
    EXPECT_EQ(minus.at(11), "-01");
    EXPECT_EQ(minus.at(12), "000");

    auto affixed = sequential("8", "11");
    affixed.prefix = "A-";
    affixed.suffix = "/X";
    EXPECT_EQ(SeriesGenerator::generate(affixed), QStringList({"A-8/X", "A-9/X", "A-10/X", "A-11/X"}));
    EXPECT_EQ(SeriesGenerator::PadZero("12345", 3), "12345");
}

TEST(SeriesGeneratorTest, RefusalsNameTheirFieldAndNothingIsMade)
{
    using F = SeriesGenerator::Field;
    SeriesGenerator::Request constant;
    constant.mode = Mode::Constant;
    constant.value = "x";
    SeriesGenerator::Request random;
    random.mode = Mode::Random;
    random.length = "3";
    struct Case
    {
        SeriesGenerator::Request request;
        QString message;
        F field;
    };
    auto with = [](SeriesGenerator::Request r, auto change) { change(r); return r; };
    const Case cases[] = {
        {sequential("", "5"), "Please enter valid 'From' value.", F::From},
        {sequential("1", ""), "Please enter valid 'To' value.", F::To},
        {sequential("5", "5"), "'From' value must be smaller than 'To' value.", F::From},
        {sequential("ab", "-1"), "'From' value must be smaller than 'To' value.", F::From},
        {sequential("99999999999", "5"), "Please enter valid 'From' value.", F::From},
        {sequential("1", "2147483648"), "Please enter valid 'To' value.", F::To},
        {sequential("-2147483648", "2147483647"), "A series can hold at most 1,000,000 values.", F::To},
        {with(constant, [](auto &r) { r.value.clear(); r.count = "3"; }), "Please enter valid 'Value'.", F::Value},
        {with(constant, [](auto &r) { r.count = "00000"; }), "Please enter valid 'Count' value.", F::Count},
        {with(constant, [](auto &r) { r.count = "-5"; }), "Please enter valid 'Count' value.", F::Count},
        {with(random, [](auto &r) { r.randCount = ""; }), "Please enter valid 'Count' value.", F::Count},
        {with(random, [](auto &r) { r.randCount = "2"; r.length = ""; }), "Please enter valid 'Length' value.", F::Length},
        {with(random, [](auto &r) { r.randCount = "2"; r.length = "12"; }), "Please enter valid 'Length' value.", F::Length},
    };
    for (const Case &c : cases) {
        F field = F::None;
        EXPECT_EQ(SeriesGenerator::validate(c.request, &field), c.message);
        EXPECT_EQ(field, c.field) << c.message.toStdString();
        EXPECT_TRUE(SeriesGenerator::generate(c.request).isEmpty());
    }
    EXPECT_EQ(SeriesGenerator::validate(sequential("1", "1000000")), "");
    EXPECT_EQ(SeriesGenerator::validate(sequential("0", "1000000")), "A series can hold at most 1,000,000 values.");
}

TEST(SeriesGeneratorTest, RandomNumbersHaveExactlyLengthDigitsAndConstantsRepeat)
{
    for (int length = 1; length <= 9; ++length) {
        SeriesGenerator::Request r;
        r.mode = Mode::Random;
        r.length = length == 4 ? " 4 " : QString::number(length);
        r.randCount = "300";
        r.randPrefix = "<";
        r.randSuffix = ">";
        const QStringList values = SeriesGenerator::generate(r);
        ASSERT_EQ(values.size(), 300);
        for (const QString &value : values) {
            const QString digits = value.mid(1, value.size() - 2);
            ASSERT_EQ(digits.size(), length) << value.toStdString();
            ASSERT_NE(digits.at(0), QLatin1Char('0')) << value.toStdString();
            ASSERT_TRUE(value.startsWith('<') && value.endsWith('>'));
        }
    }
    SeriesGenerator::Request constant;
    constant.mode = Mode::Constant;
    constant.value = " a b ";
    constant.count = "3";
    EXPECT_EQ(SeriesGenerator::generate(constant), QStringList({" a b ", " a b ", " a b "}));
}

TEST(SeriesGeneratorTest, NumberFieldsAreCleanedAsTyped)
{
    struct Case
    {
        const char *typed;
        int maxChars, maxValue;
        const char *shown;
    };
    const Case cases[] = {
        {"123456", 5, 10000, "10000"}, {"0", 5, 10000, "1"},     {"", 5, 10000, "1"},
        {"0000012", 5, 10000, "00000"}, {" 42 ", 5, 10000, " 42 "}, {"12", 1, 9, "1"},
        {"7", 1, 9, "7"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SeriesGenerator::cleanNumberField(c.typed, c.maxChars, c.maxValue), c.shown) << c.typed;
    EXPECT_EQ(SeriesGenerator::intValue("12ab"), 12);
    EXPECT_EQ(SeriesGenerator::intValue("ab"), 0);
}

class ImportSourceTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList read(const QString &name, QString *error = nullptr)
    {
        QString message;
        const QStringList values = SeriesImportSource::readTextFile(path(name), &message);
        if (error)
            *error = message;
        return values;
    }
    QTemporaryDir m_dir;
};

TEST_F(ImportSourceTest, TextFilesInEveryEncodingGiveTheirCleanedLines)
{
    const QString text = QStringLiteral("a\nb\n\n c \nx{1}\\y\nNSFont = Helvetica\ncafé Zoë\n");
    writeFile(path("utf8.txt"), text.toUtf8());
    const QStringList expected{"a", "b", "c", "x1y", "NSFont = Helvetica", QStringLiteral("café Zoë")};
    EXPECT_EQ(read("utf8.txt"), expected);
    for (const char *encoding : {"UTF-16", "WINDOWS-1252"}) {
        const QString name = QStringLiteral("%1.txt").arg(QLatin1String(encoding));
        writeFile(path(name), TestHelpers::runProgram("iconv", {"-f", "UTF-8", "-t", encoding, path("utf8.txt")}));
        EXPECT_EQ(read(name), expected) << encoding;
    }
    // CRLF line ends.
    writeFile(path("crlf.txt"), "one\r\ntwo\r\n");
    EXPECT_EQ(read("crlf.txt"), QStringList({"one", "two"}));

    QString error;
    writeFile(path("junk.csv"), QByteArray("\x00\x01\x02\x03\x04\x05zz\x00\x07", 10));
    EXPECT_TRUE(read("junk.csv", &error).isEmpty());
    EXPECT_EQ(error, "Either file is corrupted or selected file contains invalid characters.");
    writeFile(path("blank.txt"), " \n\n");
    EXPECT_TRUE(read("blank.txt", &error).isEmpty());
    EXPECT_EQ(error, "Either file is corrupted or selected file contains invalid characters.");
    writeFile(path("braces.txt"), "{}\n\\\n");
    EXPECT_TRUE(read("braces.txt", &error).isEmpty());
    EXPECT_EQ(error, "The file holds no value to import.");
    EXPECT_TRUE(read("missing.txt", &error).isEmpty());
    EXPECT_EQ(error, "Please select a valid file.");
}

TEST_F(ImportSourceTest, CsvFromPythonKeepsQuotedCommasWhateverTheLineEnds)
{
    for (const char *terminator : {"\\r\\n", "\\n", "\\r"}) {
        python(QByteArray("import csv, sys\n"
                          "with open(sys.argv[1], 'w', newline='') as f:\n"
                          "    w = csv.writer(f, lineterminator='") + terminator + "')\n"
                          "    w.writerow(['a', 'b'])\n"
                          "    w.writerow(['Smith, John', 'say \"hi\"'])\n"
                          "    w.writerow(['alone'])\n"
                          "    w.writerow(['', ' c '])\n",
               {path("list.csv")});
        EXPECT_EQ(read("list.csv"), QStringList({"a", "b", "Smith, John", "say \"hi\"", "alone", "c"})) << terminator;
    }
}

TEST_F(ImportSourceTest, RtfFromPandocGivesItsWholeTextOneValuePerLine)
{
    writeFile(path("in.md"), QStringLiteral("First **bold** line\n\nCafé _naïve_ Zoë\n\nNSFont = Helvetica\n\nlast one\n").toUtf8());
    TestHelpers::runProgram("pandoc", {"-s", "-t", "rtf", "-o", path("doc.rtf"), path("in.md")});
    EXPECT_EQ(read("doc.rtf"), QStringList({"First bold line", QStringLiteral("Café naïve Zoë"), "NSFont = Helvetica",
                                            "last one"}));
    QString error;
    writeFile(path("fake.rtf"), "plain text, not rtf");
    EXPECT_TRUE(read("fake.rtf", &error).isEmpty());
    EXPECT_EQ(error, "Either file is corrupted or selected file contains invalid characters.");
}

TEST_F(ImportSourceTest, PictureFoldersListPicturesByNameAndTypedTextKeepsInnerLines)
{
    QDir dir(m_dir.path());
    dir.mkpath("pics/c.jpg");
    for (const char *name : {"b.png", "a.JPG", "notes.txt", "d.tiff"})
        writeFile(path(QStringLiteral("pics/") + name), "x");
    QStringList paths;
    ASSERT_TRUE(SeriesImportSource::pictureFiles(path("pics"), &paths));
    EXPECT_EQ(paths, QStringList({path("pics/a.JPG"), path("pics/b.png"), path("pics/d.tiff")}));
    EXPECT_FALSE(SeriesImportSource::pictureFiles(path("nothing"), &paths));

    EXPECT_EQ(SeriesImportSource::pastedLines("  one\n\n two \n"), QStringList({"one", " two"}));
}

TEST(SheetImportTest, TableOfTickedColumnsAndSeriesValues)
{
    const QList<QStringList> rows{{"Id", " Name ", "City", "Zip"}, {"1", "Ann", "Oslo", " 0150 "}, {"2", "", "Rome", "00100"}};
    const SpreadsheetTable table = SheetImport::buildTable(rows, {1, 3}, true, "No.");
    EXPECT_EQ(table.titles, QStringList({"No.", "Name", "Zip"}));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.records.at(0), (SpreadsheetTable::Record{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "0150"}}));
    EXPECT_EQ(table.value(1, 1), "");
    EXPECT_EQ(table.value(1, 2), "00100");

    const SpreadsheetTable noHeader = SheetImport::buildTable(rows, {2}, false, "No.");
    EXPECT_EQ(noHeader.titles, QStringList({"No.", "City"}));
    EXPECT_EQ(noHeader.rowCount(), 3);
    EXPECT_EQ(noHeader.value(0, 1), "City");

    EXPECT_EQ(SheetImport::columnValues(rows, 1, true), QStringList({"Ann", ""}));
    EXPECT_EQ(SheetImport::rowWiseValues(rows, {0, 2}, true), QStringList({"1", "Oslo", "2", "Rome"}));
    EXPECT_EQ(SheetImport::sheetNumberOf("sheet10"), 10);
    EXPECT_EQ(SheetImport::sheetNumberOf("Sheet2"), 2);
    EXPECT_EQ(SheetImport::sheetNumberOf("chart"), 0);
}

} // namespace
