// The data series: the files' byte format, the readers' record rules, saving, listing and the
// in-use check; the rules behind the series dialogs without windows (the generator's values,
// refusals and field cleaning; the import sources on files made by real programs: pandoc,
// Python's csv, iconv; the data table built from worksheet rows); and the dialogs through their
// real windows: the generator and the import wizard writing a series or handing values to the
// manager, the viewer and the property panel's data-source services, and the manager on an
// editor window with a card (saving, renaming, in-use refusals, deleting, the replace-or-add
// prompt, editing a value and both exports, the workbook read back by openpyxl).

#include "DataTestSupport.h"
#include "editor/EditorWindowFixture.h"

#include "data/DataSeries.h"
#include "document/StringUtilities.h"
#include "data/SeriesGenerator.h"
#include "data/SeriesImportSource.h"
#include "data/SheetImport.h"
#include "data/SpreadsheetTable.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/DataSourceServices.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/SeriesDialogSupport.h"
#include "data/ui/SeriesListModel.h"
#include "data/ui/Update_Ex_Num.h"
#include "data/ui/View_Data_Series.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "dialogs/ui/PleaseWaitSheet.h"
#include "document/DocumentGlobals.h"
#include "document/LMNLine.h"
#include "document/LMNText.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/EditorGlobals.h"
#include "support/ForeignPictures.h"

#include <QComboBox>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <sys/resource.h>

using namespace DataTest;
using Mode = SeriesGenerator::Mode;

namespace {

class DataSeriesTest : public DataFolderTest
{
protected:
    QString file(const QString &name) const { return QDir(Data_Folder_Path).filePath(name); }
};

TEST_F(DataSeriesTest, ValuesAreUtf8LinesEachEndedByOneLineFeedAppendedAfterTheStoredOnes)
{
    ASSERT_TRUE(DataSeries::writeValues("letters", {"a", "b", "c"}, DataSeries::WriteMode::Replace));
    EXPECT_EQ(readFile(file("letters.txt")), "a\nb\nc\n");
    ASSERT_TRUE(DataSeries::writeValues("names", {QStringLiteral("Zoë"), QString(), QStringLiteral("日本")},
                                        DataSeries::WriteMode::Replace));
    EXPECT_EQ(readFile(file("names.txt")), QStringLiteral("Zoë\n\n日本\n").toUtf8());   // no byte-order mark

    // A value with a line break stays one record.
    ASSERT_TRUE(DataSeries::writeValues("s", {"first\nline", "cr\r\nlf", "x"}, DataSeries::WriteMode::Replace));
    EXPECT_EQ(DataSeries::readAllValues("s"), QStringList({"first line", "cr lf", "x"}));

    writeFile(file("s.txt"), "a\nb");   // written by hand, without the last line feed
    ASSERT_TRUE(DataSeries::writeValues("s", {"c", ""}, DataSeries::WriteMode::Append));
    EXPECT_EQ(readFile(file("s.txt")), "a\nb\nc\n\n");
    ASSERT_TRUE(DataSeries::writeValues("new", {"x"}, DataSeries::WriteMode::Append));
    EXPECT_EQ(readFile(file("new.txt")), "x\n");
}

// The limit counts values as the readers give them: a series of the most values is read
// whatever ends its last line; one value more is refused, by the lists' first value as by
// every reader, with the count written the locale's way.
TEST_F(DataSeriesTest, TheMostValuesAreReadAndOneMoreIsRefused)
{
    const qsizetype most = DataSeries::MaximumValues;
    const QByteArray values = QByteArray("v\n").repeated(most - 2);
    const struct
    {
        const char *name;
        QByteArray file;
        qsizetype read;   // 0: refused
    } cases[] = {
        {"line feed after the last", values + "v\nw\n", most},
        {"no line feed after the last", values + "v\nw", most},
        {"blank lines after the last", values + "v\r\nw\r\n\n \t\n\n", most},
        {"an empty value inside", values + "\nw\n", most},
        {"one more", values + "v\nw\nx\n", 0},
        {"one more, empty", values + "v\n\nx", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(file("edge.txt"), c.file);
        QString refusal;
        const QStringList read = DataSeries::readAllValues("edge", &refusal);
        EXPECT_EQ(read.size(), c.read);
        EXPECT_EQ(DataSeries::readFirstValue("edge"), c.read ? QStringLiteral("v") : QString());
        if (c.read) {
            EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString();
            EXPECT_EQ(read.last(), QStringLiteral("w"));
        } else {
            EXPECT_EQ(refusal, QStringLiteral("The series \"edge\" is not read: it holds more than 5000000 values"));
            const QLocale before;
            QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
            EXPECT_EQ(DataSeries::refusal("edge"),
                      QStringLiteral("The series \"edge\" is not read: it holds more than 5,000,000 values"));
            QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
            EXPECT_EQ(DataSeries::refusal("edge"),
                      QStringLiteral("The series \"edge\" is not read: it holds more than 5.000.000 values"));
            QLocale::setDefault(before);
        }
    }
}

// A series leaves out NUL and halves of surrogate pairs as every stored text does, code point
// by code point, whether the value was written by us or the file came from elsewhere (a
// UTF-16 file can hold lone halves); every reader and the bound cards get the same text.
TEST_F(DataSeriesTest, NulAndLoneSurrogatesAreLeftOutOfEveryValue)
{
    const QChar nul(0), high(0xD83C), low(0xDF82);
    struct Case
    {
        const char *what;
        QString value, back;
    };
    const Case cases[] = {
        {"a NUL inside", QStringLiteral("ab") + nul + QStringLiteral("c"), QStringLiteral("abc")},
        {"a lone high half", QStringLiteral("V") + high, QStringLiteral("V")},
        {"a lone low half", QString(low) + QStringLiteral("V"), QStringLiteral("V")},
        {"a pair", QString(high) + low, QString(high) + low},
        {"halves in the wrong order", QStringLiteral("a") + low + high + QStringLiteral("b"), QStringLiteral("ab")},
        {"controls but NUL", QStringLiteral("a\u0001\u001Fb"), QStringLiteral("a\u0001\u001Fb")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(DataSeries::writeValues("ours", {c.value, QStringLiteral("last")}, DataSeries::WriteMode::Replace));
        // Elsewhere: UTF-16 after its byte-order mark, the text as it stands.
        QByteArray utf16("\xFF\xFE", 2);
        const QString line = c.value + QStringLiteral("\nlast\n");
        utf16.append(reinterpret_cast<const char *>(line.utf16()), line.size() * 2);
        writeFile(file("theirs.txt"), utf16);
        for (const char *name : {"ours", "theirs"}) {
            SCOPED_TRACE(name);
            const QStringList all = DataSeries::readAllValues(name);
            ASSERT_EQ(all.size(), 2);
            EXPECT_EQ(all[0].toUcs4(), c.back.toUcs4());
            EXPECT_EQ(DataSeries::readFirstValue(name).toUcs4(), c.back.toUcs4());
            EXPECT_EQ(DataSeries::readListValues(name).value(0).toUcs4(), Trim_Str(c.back).toUcs4());
        }
    }
}

TEST_F(DataSeriesTest, ReadersTreatEmptyLinesTheirOwnWay)
{
    writeFile(file("gap.txt"), "a\n\nb\n");
    EXPECT_EQ(DataSeries::readAllValues("gap"), QStringList({"a", "", "b"}));
    EXPECT_EQ(DataSeries::readListValues("gap"), QStringList({"a", "b"}));

    // Record n stays record n: a leading empty value keeps its place.
    writeFile(file("lead.txt"), "\nfirst\nsecond\n\n\n");
    EXPECT_EQ(DataSeries::readAllValues("lead"), QStringList({"", "first", "second"}));
    EXPECT_EQ(DataSeries::readFirstValue("lead"), "");

    // A file written elsewhere may end its lines in CRLF: no value keeps the CR.
    writeFile(file("crlf.txt"), "a\r\nb\r\n");
    EXPECT_EQ(DataSeries::readAllValues("crlf"), QStringList({"a", "b"}));
    EXPECT_EQ(DataSeries::readListValues("crlf"), QStringList({"a", "b"}));
    EXPECT_EQ(DataSeries::readFirstValue("crlf"), "a");

    writeFile(file("empty.txt"), "");
    EXPECT_TRUE(DataSeries::readAllValues("empty").isEmpty());
    EXPECT_TRUE(DataSeries::readAllValues("missing").isEmpty());
    EXPECT_EQ(DataSeries::readFirstValue("missing"), "");
}

TEST_F(DataSeriesTest, ListingGivesFileNamesWithoutExtensionInOneStableOrder)
{
    writeFile(file("beta.txt"), "x\n");
    writeFile(file("Alpha.txt"), "x\n");
    writeFile(file("alpha.txt"), "x\n");
    writeFile(file("guests.csv"), "x\n");
    writeFile(file("v1.2.txt"), "x\n");
    writeFile(file(".hidden.txt"), "x\n");
    QDir().mkpath(file("folder.txt"));
    EXPECT_EQ(DataSeries::Get_datasheet_File_Name_Array(), QStringList({"Alpha", "alpha", "beta", "guests", "v1.2"}));
    // A csv file is listed, but the series of that name has no txt file and so no values.
    EXPECT_TRUE(DataSeries::readAllValues("guests").isEmpty());

    Data_Folder_Path = file("no-such-folder");
    EXPECT_TRUE(DataSeries::Get_datasheet_File_Name_Array().isEmpty());
}

TEST_F(DataSeriesTest, NamesThatWouldLeaveTheDataFolderAreRefused)
{
    for (const QString &name : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("a/b"),
                                QStringLiteral("..\\up")}) {
        QString error;
        EXPECT_FALSE(DataSeries::writeValues(name, {"x"}, DataSeries::WriteMode::Replace, &error)) << name.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    // Names made only of reserved characters clean down to nothing.
    QString error;
    EXPECT_FALSE(DataSeries::saveSeries(" / ", QString(), {"x"}, &error));
    EXPECT_FALSE(DataSeries::saveSeries("\\", QString(), {"x"}, &error));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(Data_Folder_Path).entryList(QDir::Files), QStringList());

    // A name beginning with a dot would be a hidden file: written, never listed, never deletable.
    EXPECT_FALSE(DataSeries::saveSeries(".guests", QString(), {"Ann"}, &error));
    EXPECT_TRUE(error.contains("dot")) << error.toStdString();
    EXPECT_EQ(QDir(Data_Folder_Path).entryList(QDir::Files | QDir::Hidden), QStringList());
    ASSERT_TRUE(DataSeries::saveSeries("guests.2024", QString(), {"Ann"}, &error)) << error.toStdString();
    EXPECT_EQ(DataSeries::Get_datasheet_File_Name_Array(), QStringList({"guests.2024"}));
}

TEST_F(DataSeriesTest, ManagerSaveTrimsAndRenamesDeletingTheOldFileOnlyAfterTheNewOneIsWritten)
{
    QString saved;
    ASSERT_TRUE(DataSeries::saveSeries("*Guests? ", QString(), {"  Anna ", "", "   ", "\tBen\n"}, nullptr, &saved));
    EXPECT_EQ(saved, "Guests");
    EXPECT_EQ(readFile(file("Guests.txt")), "Anna\nBen\n");

    ASSERT_TRUE(DataSeries::writeValues("old", {"1", "2"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::saveSeries("renamed", "old", {"1", "2", "3"}));
    EXPECT_FALSE(QFile::exists(file("old.txt")));
    EXPECT_EQ(readFile(file("renamed.txt")), "1\n2\n3\n");

    // The new file cannot be written (a folder is in the way): the old series survives.
    QDir().mkpath(file("blocked.txt"));
    QString error;
    EXPECT_FALSE(DataSeries::saveSeries("blocked", "renamed", {"9"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(file("renamed.txt")), "1\n2\n3\n");
}

TEST_F(DataSeriesTest, ReplaceQuestionOnlyForAnotherExistingSeries)
{
    ASSERT_TRUE(DataSeries::writeValues("a", {"1"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("b", {"2"}, DataSeries::WriteMode::Replace));
    EXPECT_TRUE(DataSeries::replaceQuestionNeeded("b", "a"));
    EXPECT_TRUE(DataSeries::replaceQuestionNeeded(" b ", QString()));
    EXPECT_FALSE(DataSeries::replaceQuestionNeeded("a", "a"));
    EXPECT_FALSE(DataSeries::replaceQuestionNeeded("c", "a"));
    // Replacing keeps exactly the new values; the renamed series is gone.
    ASSERT_TRUE(DataSeries::saveSeries("b", "a", {"3"}));
    EXPECT_EQ(readFile(file("b.txt")), "3\n");
    EXPECT_FALSE(QFile::exists(file("a.txt")));
}

TEST_F(DataSeriesTest, InUseCheckLooksAtBoundTextPictureAndBarcodeElements)
{
    ASSERT_TRUE(DataSeries::writeValues("Guests", {"x"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("guests", {"x"}, DataSeries::WriteMode::Replace));

    auto bound = [](GraphicKind kind, const QString &name) {
        GraphicPtr graphic = LMNGraphic::create(kind);
        graphic->Set_Data_source_type(1);
        graphic->Set_Batch_List_Name(name);
        return graphic;
    };
    const GraphicList front{bound(GraphicKind::Line, "Guests"), bound(GraphicKind::Shape, "Guests")};
    const GraphicList back{bound(GraphicKind::Barcode, "Guests")};

    EXPECT_FALSE(DataSeries::isSeriesInUse("Guests", front, back, false));   // one-sided card: back ignored
    EXPECT_TRUE(DataSeries::isSeriesInUse("Guests", front, back, true));
    EXPECT_FALSE(DataSeries::isSeriesInUse("guests", front, back, true));    // names compare exactly

    GraphicPtr typed = bound(GraphicKind::Text, "guests");
    typed->Set_Data_source_type(0);
    EXPECT_FALSE(DataSeries::isSeriesInUse("guests", {typed}, {}, true));
    EXPECT_TRUE(DataSeries::isSeriesInUse("guests", {bound(GraphicKind::Image, "guests")}, {}, false));
    // A series without a file is never in use.
    EXPECT_FALSE(DataSeries::isSeriesInUse("absent", {bound(GraphicKind::Text, "absent")}, {}, true));

    EXPECT_TRUE(DataSeries::deleteSeries("Guests"));
    EXPECT_FALSE(QFile::exists(file("Guests.txt")));
    EXPECT_TRUE(QFile::exists(file("guests.txt")));
}


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

class ImportSourceTest : public TempFolderTest
{
protected:
    QStringList read(const QString &name, QString *error = nullptr)
    {
        QString message;
        const QStringList values = SeriesImportSource::readTextFile(path(name), &message);
        if (error)
            *error = message;
        return values;
    }
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

class SeriesWritersTest : public DataFolderTest
{
protected:
    void SetUp() override
    {
        DataFolderTest::SetUp();
        BatchWizard::defaultInstance()->ListData_value->setValues({});
    }
    // Opens the dialog with the flags and runs `steps` in it; returns its modal result.
    template<typename Dialog>
    int run(int required, const std::function<void(Dialog *)> &steps)
    {
        Dialog *dialog = Dialog::defaultInstance();
        dialog->file_name_required = required;
        dialog->file_name_Insert = 0;
        m_seam.onDialog([steps](QDialog *d) {
            steps(qobject_cast<Dialog *>(d));
            return d->result();
        });
        return dialog->Open_Wnd();
    }
    QByteArray series(const QString &name) const { return readFile(DataSeries::filePath(name)); }
    QStringList managerValues() const { return BatchWizard::defaultInstance()->ListData_value->values(); }
    // Opens the viewer on `name` through the view button; returns the rows shown and the count.
    QStringList view(const QString &name, QString *count)
    {
        QComboBox source, series;
        source.addItems({"Manual", "Series"});
        source.setCurrentIndex(1);
        series.addItem(name);
        QStringList rows;
        m_seam.onDialog([&](QDialog *dialog) {
            auto *viewer = qobject_cast<View_Data_Series *>(dialog);
            EXPECT_NE(viewer, nullptr);
            if (!viewer)
                return 0;
            viewer->grab();
            EXPECT_EQ(TestHelpers::shownText(viewer->ui.series_name), name);
            for (int r = 0; r < viewer->ui.List->rowCount(); ++r)
                rows << viewer->ui.List->item(r, 0)->text();
            *count = viewer->ui.list_count->text();
            QTest::mouseClick(viewer->ui.OK_Btn, Qt::LeftButton);
            return viewer->result();
        });
        DataSourceServices::View_batch_Series_Button(&source, &series);
        return rows;
    }
};

TEST_F(SeriesWritersTest, GeneratorWritesSeriesAsksBeforeReplacingAndRefusesBadInput)
{
    ASSERT_TRUE(DataSeries::writeValues("Untitled", {"old"}, DataSeries::WriteMode::Replace));
    m_seam.answerMessages({"OK", "No", "Yes"});
    EXPECT_EQ(run<Generate_List>(1,
                                 [](Generate_List *g) {
                                     EXPECT_EQ(g->ui.seq_file_name->text(), "Untitled");
                                     EXPECT_FALSE(g->ui.value_txt->isEnabled());
                                     g->ui.to_txt->setText("10");
                                     g->ui.ok_btn->click();   // From missing
                                     EXPECT_EQ(g->result(), 0);
                                     g->ui.from_txt->setText("1");
                                     g->ui.manage_digit_chk->setChecked(true);
                                     g->ui.ok_btn->click();   // No: nothing written, still open
                                     EXPECT_EQ(g->result(), 0);
                                     g->ui.ok_btn->click();   // Yes
                                 }),
              1);
    EXPECT_EQ(series("Untitled"), "01\n02\n03\n04\n05\n06\n07\n08\n09\n10\n");
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nPlease enter valid 'From' value.",
                                                  "Batch Processing Series already exists. Do you want to replace it?",
                                                  "Batch Processing Series already exists. Do you want to replace it?"}));

    // Typed numbers are cleaned; the random values go to the manager's list.
    m_seam.messages.clear();
    EXPECT_EQ(run<Generate_List>(0,
                                 [](Generate_List *g) {
                                     EXPECT_TRUE(g->ui.seq_file_name->isHidden());
                                     g->ui.radioButton_Random->click();
                                     EXPECT_FALSE(g->ui.from_txt->isEnabled());
                                     g->ui.rand_count_txt->clear();
                                     QTest::keyClicks(g->ui.rand_count_txt, "123456");
                                     EXPECT_EQ(g->ui.rand_count_txt->text(), "10000");
                                     EXPECT_EQ(g->ui.rand_count_stepper->value(), 10000);
                                     g->ui.rand_count_txt->selectAll();
                                     QTest::keyClicks(g->ui.rand_count_txt, "0");
                                     EXPECT_EQ(g->ui.rand_count_txt->text(), "1");
                                     g->ui.rand_count_stepper->setValue(3);
                                     EXPECT_EQ(g->ui.rand_count_txt->text(), "3");
                                     g->ui.rand_length_txt->selectAll();
                                     QTest::keyClicks(g->ui.rand_length_txt, "12");
                                     EXPECT_EQ(g->ui.rand_length_txt->text(), "1");
                                     g->ui.ok_btn->click();
                                 }),
              1);
    ASSERT_EQ(managerValues().size(), 3);
    for (const QString &value : managerValues())
        EXPECT_TRUE(value.size() == 1 && value != "0") << value.toStdString();
    EXPECT_TRUE(m_seam.messages.isEmpty());
}

TEST_F(SeriesWritersTest, AFailingWriteKeepsTheOldSeriesAndTheHelpBoxExplainsZeroFilling)
{
    ASSERT_TRUE(DataSeries::writeValues("Big", {"kept"}, DataSeries::WriteMode::Replace));
    m_seam.answerMessages({"OK", "Yes", "OK"});
    // Files may grow to 64 bytes only (root ignores permissions; the size limit holds).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 64;
    run<Generate_List>(1, [&](Generate_List *g) {
        g->ui.help_btn->click();
        g->ui.seq_file_name->setText("Big");
        g->ui.from_txt->setText("1");
        g->ui.to_txt->setText("500");
        setrlimit(RLIMIT_FSIZE, &small);
        g->ui.ok_btn->click();
        setrlimit(RLIMIT_FSIZE, &previous);
        EXPECT_EQ(g->result(), 0);
        g->ui.cancel_btn->click();
    });
    EXPECT_EQ(series("Big"), "kept\n");
    ASSERT_EQ(m_seam.messages.size(), 3);
    EXPECT_EQ(m_seam.messages.at(0).text, "Maintain number of Digits By adding 0's before smaller values. ");
    EXPECT_TRUE(m_seam.messages.at(0).informativeText.startsWith("For example:\r\nIf you have to generate"));
    EXPECT_TRUE(m_seam.messages.at(2).text.startsWith("\nError in file accessing.\n"));
    EXPECT_EQ(QDir(Data_Folder_Path).entryList(QDir::Files), QStringList({"Big.txt"}));
}

TEST_F(SeriesWritersTest, WizardSourcesOnRealFilesWriteOrHandOnTheirValues)
{
    const QDir dir(m_dir.path());
    writeFile(dir.filePath("plain.txt"), QStringLiteral("Zoë\n\n b \n").toUtf8());
    writeFile(dir.filePath("utf16.txt"), TestHelpers::runProgram("iconv", {"-f", "UTF-8", "-t", "UTF-16", dir.filePath("plain.txt")}));
    python("import csv, sys\n"
           "with open(sys.argv[1], 'w', newline='') as f:\n"
           "    csv.writer(f).writerows([['a', 'Smith, John'], ['c']])\n",
           {dir.filePath("list.csv")});
    writeFile(dir.filePath("junk.csv"), QByteArray("\x00\x01\x02\x03junk\x00", 9));
    dir.mkpath("pics/sub.png");
    writeFile(dir.filePath("pics/b.png"), "x");
    writeFile(dir.filePath("pics/a.JPG"), "x");
    writeFile(dir.filePath("pics/d.tiff"), "x");
    writeFile(dir.filePath("pics/notes.txt"), "x");

    // A text file chosen in the browser is imported at once; a cancelled browser changes nothing.
    EXPECT_EQ(run<Import_Wizard>(1,
                                 [&](Import_Wizard *w) {
                                     w->ui.Excel_btn->click();   // cancelled: nothing chosen
                                     EXPECT_TRUE(w->ui.Excel_path->text().isEmpty());
                                     w->ui.Text_RD->click();
                                     EXPECT_EQ(w->ui.Text_file_name->text(), "Untitled");
                                     w->ui.Text_file_name->setText("Guests");
                                     m_seam.chooseFiles({dir.filePath("utf16.txt")});
                                     w->ui.Text_btn->click();
                                 }),
              1);
    EXPECT_EQ(series("Guests"), QStringLiteral("Zoë\nb\n").toUtf8());

    // Junk is refused and the wizard stays open; the CSV's values go to the manager.
    m_seam.answerMessages({"OK"});
    m_seam.chooseFiles({dir.filePath("junk.csv"), dir.filePath("list.csv")});
    EXPECT_EQ(run<Import_Wizard>(0,
                                 [](Import_Wizard *w) {
                                     EXPECT_TRUE(w->ui.Text_file_name->isHidden());
                                     w->ui.Text_RD->click();
                                     w->ui.Text_btn->click();
                                     EXPECT_EQ(w->result(), 0);
                                     w->ui.Text_btn->click();
                                 }),
              1);
    EXPECT_EQ(managerValues(), QStringList({"a", "Smith, John", "c"}));
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nEither file is corrupted or selected file contains invalid characters."}));

    // Typed text keeps inner lines as typed; a picture folder gives its pictures' paths.
    m_seam.messages.clear();
    m_seam.answerMessages({"OK"});
    run<Import_Wizard>(1, [](Import_Wizard *w) {
        w->ui.Mnul_RD->click();
        w->ui.ok_btn->click();   // nothing typed
        w->ui.ManualEdit->setPlainText("  one\n\n two \n");
        w->ui.Manual_file_name->setText("Typed");
        w->ui.ok_btn->click();
    });
    EXPECT_EQ(series("Typed"), "one\n two\n");
    m_seam.answerMessages({"OK"});
    m_seam.chooseFiles({dir.filePath("pics/b.png"), dir.filePath("pics")});
    run<Import_Wizard>(1, [](Import_Wizard *w) {
        w->ui.Image_RD->click();
        w->ui.Image_file_name->setText("Photos");
        w->ui.Image_btn->click();   // a file, not a folder
        EXPECT_EQ(w->result(), 0);
        w->ui.Image_btn->click();
    });
    EXPECT_EQ(series("Photos"), QStringList({dir.filePath("pics/a.JPG"), dir.filePath("pics/b.png"), dir.filePath("pics/d.tiff"), ""})
                                    .join('\n').toUtf8());
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nPlease enter some data.",
                                                  "\nThe folder \"" + dir.filePath("pics/b.png") + "\" cannot be read."}));
}

TEST(SeriesDialogSupportTest, StopOnThePleaseWaitSheetThrowsTheResultAway)
{
    PleaseWaitSheet sheet;
    std::atomic<bool> stopPressed{false};
    QObject::connect(sheet.ui.stop_btn, &QPushButton::clicked, [&] { stopPressed = true; });
    QTimer::singleShot(0, sheet.ui.stop_btn, &QPushButton::click);
    int result = 0;
    EXPECT_FALSE(SeriesDialogs::runBehindSheet(&sheet, [&] {
        while (!stopPressed)
            QThread::yieldCurrentThread();
        result = 1;
    }));
    EXPECT_EQ(result, 1);   // the work ended before the call returned
    EXPECT_TRUE(sheet.isHidden());
    EXPECT_TRUE(SeriesDialogs::runBehindSheet(&sheet, [&] { result = 2; }));
    EXPECT_EQ(result, 2);

    // Removing many values from the list is one pass.
    SeriesListModel model("Value");
    QStringList values;
    for (int i = 0; i < 1000; ++i)
        values << QString::number(i);
    model.setValues(values);
    QList<int> odd;
    for (int i = 999; i >= 0; i -= 2)
        odd << i;
    model.removeRowList(odd);
    ASSERT_EQ(model.rowCount(), 500);
    EXPECT_EQ(model.value(0), "0");
    EXPECT_EQ(model.value(499), "998");
}

using SeriesViewerTest = SeriesWritersTest;

TEST_F(SeriesViewerTest, RowsCountTrimmingAndMissingFiles)
{
    writeFile(DataSeries::filePath("guests"), "  Ann \r\nBob\n\n Cyd\n\n");
    // Past the series limits: the viewer says why it shows nothing.
    writeFile(DataSeries::filePath("many"), QByteArray("v\n").repeated(DataSeries::MaximumValues + 1));
    writeFile(DataSeries::filePath("huge"), "v\n");
    ASSERT_TRUE(QFile::resize(DataSeries::filePath("huge"), DataSeries::MaximumFileSize + 1));
    struct Case
    {
        QString name;
        QStringList rows;
        QString count;
    };
    QList<Case> cases = {
        {"guests", {"Ann", "Bob", "Cyd"}, "Total Rows : 3"},
        {"deleted", {}, "Total Rows : 0"},
        {"../DataSet/guests", {}, "Total Rows : 0"},   // only series of the data folder
        {"many", {}, "The series \"many\" is not read: it holds more than 5000000 values."},
        {"huge", {}, "The series \"huge\" is not read: its file holds more than 64 MB."},
    };
    // A series named after a workbook's heading that Qt would take for HTML shows its name as
    // those characters, and the FIFO an <img> in it names is never opened.
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    for (const QString &name : named.markupNames()) {
        ASSERT_TRUE(DataSeries::writeValues(name, named.markup(), DataSeries::WriteMode::Replace));
        cases.append({name, named.markup(), "Total Rows : 2"});
    }
    for (const Case &c : cases) {
        QString count;
        EXPECT_EQ(view(c.name, &count), c.rows) << c.name.toStdString();
        EXPECT_EQ(count, c.count) << c.name.toStdString();
    }

    // Blank values in every form are no rows and no count, wherever they stand; each value
    // shows trimmed. Opened again on another series, the viewer shows that one's rows only.
    const struct
    {
        const char *name;
        QByteArray file;
        QStringList rows;
    } blanks[] = {
        {"spaces", "Ann\n   \n\t\nBob\n", {"Ann", "Bob"}},
        {"leading", "\n\n  \nAnn\n", {"Ann"}},
        {"crlf", "\r\n\r\nAnn\r\n \r\nBob\r\n\r\n", {"Ann", "Bob"}},
        {"unicode", "\xc2\xa0\nAnn\n\xe2\x80\x8b\n\xe3\x80\x80\nBob\n\x01\x02\n", {"Ann", "Bob"}},   // no-break, zero-width, ideographic
        {"all blank", " \n\t\n\n\r\n\xc2\xa0\n", {}},
        {"inside", " Ann  Berg \n\tCyd\t\n", {"Ann  Berg", "Cyd"}},
    };
    for (const auto &b : blanks) {
        writeFile(DataSeries::filePath(QLatin1String(b.name)), b.file);
        QString count;
        EXPECT_EQ(view(QLatin1String(b.name), &count), b.rows) << b.name;
        EXPECT_EQ(count, QStringLiteral("Total Rows : %1").arg(b.rows.size())) << b.name;
        EXPECT_EQ(View_Data_Series::defaultInstance()->ui.List->rowCount(), b.rows.size()) << b.name;
        EXPECT_EQ(DataSeries::readListValues(QLatin1String(b.name)), b.rows) << b.name;   // the reader alone
    }
    // The viewer's own rows alone: a blank value adds none.
    View_Data_Series *viewer = View_Data_Series::defaultInstance();
    for (const char16_t *blank : {u"", u"  ", u"\t", u"\r\n", u"\u00a0", u"\u200b", u"\u3000", u"\u0001 \u2028"}) {
        viewer->ListData.clear();
        viewer->Create_Avail_List(QString::fromUtf16(blank));
        viewer->Create_Avail_List(QStringLiteral(" Ann\t"));
        viewer->Update_batch_List_Count();
        EXPECT_EQ(viewer->ui.list_count->text(), QStringLiteral("Total Rows : 1")) << QString::fromUtf16(blank).toStdString();
        EXPECT_EQ(viewer->ui.List->rowCount(), 1);
        EXPECT_EQ(viewer->ui.List->item(0, 0)->text(), QStringLiteral("Ann"));
    }

    // No series chosen: a message, no viewer.
    QComboBox source, series;
    source.addItems({"Manual", "Series"});
    source.setCurrentIndex(1);
    DataSourceServices::View_batch_Series_Button(&source, &series);
    EXPECT_EQ(m_seam.messageTexts(), QStringList{"\nPlease select the series."});
    source.setCurrentIndex(0);   // "Manual": nothing at all
    DataSourceServices::View_batch_Series_Button(&source, &series);
    EXPECT_EQ(m_seam.messages.size(), 1);
    EXPECT_EQ(m_seam.dialogsRun.size(), qsizetype(std::size(cases) + std::size(blanks)));
    EXPECT_EQ(named.fifoOpened(), 0);
}

TEST_F(SeriesViewerTest, ComboListsAndFirstValues)
{
    ASSERT_TRUE(DataSeries::writeValues("b", {" first ", "second"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("a", {"x"}, DataSeries::WriteMode::Replace));
    SpreadsheetTable &table = SpreadsheetTable::live();
    table = {};
    table.titles = {"#", "Name", "Town"};
    table.appendRecord({"Ann", "Oslo"}, 2);

    QComboBox combo;
    combo.addItem("stale");
    DataSourceServices::Fill_Data_Set_File_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), DataSeries::Get_datasheet_File_Name_Array().at(0));
    DataSourceServices::Fill_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.itemText(2), "Town");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Dataset("b"), " first ");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Dataset("gone"), "");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Excel_Binding(0), "1");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Excel_Binding(2), "Oslo");
    table = {};
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Excel_Binding(1), "");

    QComboBox source;
    source.addItems({"Manual", "Series"});
    DataSourceServices::Add_Excel_Col_Name_In_Combo(&source);
    DataSourceServices::Add_Excel_Col_Name_In_Combo(&source);
    EXPECT_EQ(source.count(), 3);
    DataSourceServices::Remove_Excel_Col_Name_In_Combo(&source);
    DataSourceServices::Remove_Excel_Col_Name_In_Combo(&source);
    EXPECT_EQ(source.count(), 2);
}

class SeriesManagerTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        m_manager = BatchWizard::defaultInstance();
    }

    // Runs the manager; `steps` act on its window while it is open.
    void run(const std::function<void(BatchWizard *)> &steps)
    {
        m_seam.onDialog([steps](QDialog *dialog) {
            steps(qobject_cast<BatchWizard *>(dialog));
            return dialog->result();
        });
        m_manager->Open_Wnd();
    }
    void selectRows(QTableView *table, const QList<int> &rows)
    {
        table->clearSelection();
        for (int row : rows)
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void openSeries(BatchWizard *m, const QString &name)
    {
        selectRows(m->ui.List, {int(m->ListData->values().indexOf(name))});
        m->ui.Update_Btn->click();
    }
    QString file(const QString &name) const { return DataSeries::filePath(name); }
    void bindOnCard(const QString &series)
    {
        m_window->setSelected_Control_Tool(2);
        m_window->_graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(10, 10, 80, 20), "F",
                                                     "x", "BOUND");
        GraphicPtr text = findById("BOUND");
        ASSERT_NE(text, nullptr);
        text->data_source_type = 1;
        text->batch_list_name = series;
    }
    // Scripts the generator: constant `value` `count` times.
    void generateConstant(const QString &value, const QString &count)
    {
        m_seam.onDialog([value, count](QDialog *dialog) {
            auto *generator = qobject_cast<Generate_List *>(dialog);
            generator->ui.radioButton_Constant->click();
            generator->ui.value_txt->setText(value);
            generator->ui.count_txt->setText(count);
            generator->ui.ok_btn->click();
            return dialog->result();
        });
    }

    BatchWizard *m_manager = nullptr;
};

TEST_F(SeriesManagerTest, SaveRenameAndReplaceWriteTheNewFileBeforeTheOldGoes)
{
    ASSERT_TRUE(DataSeries::writeValues("Other", {"o"}, DataSeries::WriteMode::Replace));
    m_seam.answerMessages({"No", "Yes"});
    run([&](BatchWizard *m) {
        m->ui.AddNew_Btn->click();
        EXPECT_EQ(m->ui.batch_list_name->text(), "Untitled");
        m->addValues({" a ", "b", "  "});
        EXPECT_EQ(m->ui.batch_value_count->text(), "Total Rows : 2");
        m->ui.Save_Btn->click();
        EXPECT_EQ(readFile(file("Untitled")), "a\nb\n");
        EXPECT_EQ(m->ui.batch_list_count->text(), "Total List : 2");

        openSeries(m, "Untitled");
        m->ui.batch_list_name->setText("B");
        m->ui.Save_Btn->click();   // a rename: B written, then Untitled removed
        EXPECT_FALSE(QFileInfo::exists(file("Untitled")));
        EXPECT_EQ(m->ListData->values(), QStringList({"B", "Other"}));

        openSeries(m, "B");
        m->ui.batch_list_name->setText("Other");
        m->ui.Save_Btn->click();   // No: both stay as they were, the values stay on screen
        EXPECT_EQ(readFile(file("Other")), "o\n");
        EXPECT_TRUE(m->ui.list_value_box->isVisibleTo(m));
        m->ui.Save_Btn->click();   // Yes: Other takes B's values, B is kept
        EXPECT_EQ(readFile(file("Other")), "a\nb\n");
        EXPECT_EQ(readFile(file("B")), "a\nb\n");

        m->ui.AddNew_Btn->click();
        m->addValues({"v"});
        for (const char *bad : {"..", "  ", "../../x"}) {
            m->ui.batch_list_name->setText(bad);
            m->ui.Save_Btn->click();
        }
        m_seam.answerMessages({"No"});
        m->ui.Close_2_Btn->click();
    });
    const QStringList texts = m_seam.messageTexts();
    // ".." and an empty name are refused; "../../x" loses its separators or is refused, and
    // nothing is written outside the data-series folder.
    ASSERT_GE(texts.size(), 4);
    EXPECT_EQ(texts.at(0), "Batch Processing Series already exists. Do you want to replace it?");
    for (int i = 2; i < 4; ++i)
        EXPECT_TRUE(texts.at(i).contains("name")) << texts.at(i).toStdString();
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList(QDir::Files).contains("B.txt"));
    EXPECT_FALSE(QFileInfo::exists(QDir(Resource_Path).filePath("x.txt")));
    EXPECT_FALSE(QFileInfo::exists(QDir(Resource_Path).filePath("../x.txt")));
}

// The lists' tool tips show series names and values that Qt would take for HTML as those
// characters, and never open the FIFO an <img> in them names.
TEST_F(SeriesManagerTest, ListTipsShowNamesAndValuesAsTheirCharacters)
{
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    const QStringList markup = named.markup();
    for (const QString &name : named.markupNames())
        ASSERT_TRUE(DataSeries::writeValues(name, markup, DataSeries::WriteMode::Replace));
    const auto tip = [](QTableView *list, int row) {
        return TestHelpers::shownToolTip(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
    };
    run([&](BatchWizard *m) {
        m->resize(640, 480);
        for (const QString &name : named.markupNames()) {
            SCOPED_TRACE(name.toStdString());
            EXPECT_EQ(tip(m->ui.List, int(m->ListData->values().indexOf(name))), name);
            openSeries(m, name);
            for (int row = 0; row < markup.size(); ++row)
                EXPECT_EQ(tip(m->ui.List_value, row), markup.at(row));
            m->ui.Back_Btn->click();
        }
        m->ui.Close_Btn->click();
    });
    EXPECT_EQ(named.fifoOpened(), 0);
}

TEST_F(SeriesManagerTest, SeriesInUseAreNeitherUpdatedNorDeletedAndTheFreeOnesGo)
{
    for (const char *name : {"Free1", "Guests", "Free2"})
        ASSERT_TRUE(DataSeries::writeValues(name, {"v"}, DataSeries::WriteMode::Replace));
    bindOnCard("Guests");
    m_seam.answerMessages({"OK", "Yes", "OK", "OK"});
    run([&](BatchWizard *m) {
        openSeries(m, "Guests");
        m->ui.Save_Btn->click();
        m->ui.Back_Btn->click();
        selectRows(m->ui.List, {0, 1, 2});
        m->ui.Delete_List_Btn->click();
        EXPECT_EQ(m->ListData->values(), QStringList({"Guests"}));
        EXPECT_EQ(m->ui.batch_list_count->text(), "Total List : 1");
        selectRows(m->ui.List, {0});
        m->ui.Delete_List_Btn->click();
        m->ui.Close_Btn->click();
    });
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nBatch Processing Series can't be update because it is currently in use.",
                           "Are you sure want to delete selected Batch Processing Series?",
                           "\nBatch Processing Series can't be delete because it is currently in use.\nGuests",
                           "\nBatch Processing Series can't be delete because it is currently in use."}));
    EXPECT_TRUE(QFileInfo::exists(file("Guests")));
    EXPECT_FALSE(QFileInfo::exists(file("Free1")));
}

TEST_F(SeriesManagerTest, ASeriesTooLargeToReadIsNotOpenedForEditing)
{
    // Opened as no values, one Save would have replaced it.
    const QByteArray many = QByteArray("v\n").repeated(DataSeries::MaximumValues + 1);
    writeFile(file("Many"), many);
    m_seam.answerMessages({"OK"});
    run([&](BatchWizard *m) {
        openSeries(m, "Many");
        EXPECT_FALSE(m->ui.list_value_box->isVisibleTo(m));
        m->ui.Close_Btn->click();
    });
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nThe series \"Many\" is not read: it holds more than 5000000 values."}));
    EXPECT_EQ(readFile(file("Many")), many);
}

TEST_F(SeriesManagerTest, ReplaceOrAddPromptAndEditingOneValue)
{
    const auto prompt = [this](int answer) {
        m_seam.onDialog([answer](QDialog *dialog) {
            auto *box = qobject_cast<Load_Num_Info *>(dialog);
            QPushButton *buttons[] = {box->ui.no_btn, box->ui.yes_btn, box->ui.cancel_btn};
            buttons[answer]->click();
            return dialog->result();
        });
    };
    const auto editRow = [this](BatchWizard *m, int row, const QStringList &texts) {
        m_seam.onDialog([texts](QDialog *dialog) {
            auto *edit = qobject_cast<Update_Ex_Num *>(dialog);
            for (const QString &text : texts) {
                edit->ui.m_ex_num_str->setText(text);
                edit->ui.ok_btn->click();
            }
            return dialog->result();
        });
        selectRows(m->ui.List_value, {row});
        m->doubleClickInTable(m->ui.List_value);
    };
    m_seam.answerMessages({"OK"});
    run([&](BatchWizard *m) {
        m->ui.AddNew_Btn->click();
        generateConstant("a", "2");   // an empty list asks nothing
        m->ui.Series_Value_Btn->click();
        prompt(Load_Num_Info::Cancelled);
        const int runs = int(m_seam.dialogsRun.size());
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m_seam.dialogsRun.size(), runs + 1);   // the prompt only
        prompt(Load_Num_Info::Add);
        generateConstant("x", "1");
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m->ListData_value->values(), QStringList({"a", "a", "x"}));
        prompt(Load_Num_Info::Replace);
        generateConstant("y", "2");
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m->ListData_value->values(), QStringList({"y", "y"}));

        editRow(m, 1, {"   ", " z "});
        editRow(m, 0, {"y"});
        EXPECT_EQ(m->ListData_value->values(), QStringList({"y", "z"}));
        selectRows(m->ui.List_value, {0, 1});
        m->doubleClickInTable(m->ui.List_value);
        selectRows(m->ui.List_value, {0});
        m->ui.Delete_Rows_Btn->click();
        EXPECT_EQ(m->ui.batch_value_count->text(), "Total Rows : 1");

        // "Yes", then the generator or the import cancelled: the list stays as it was, and
        // the next source adds again.
        for (QPushButton *source : {m->ui.Series_Value_Btn, m->ui.Import_Value_Btn}) {
            SCOPED_TRACE(source->objectName().toStdString());
            prompt(Load_Num_Info::Replace);
            m_seam.onDialog([](QDialog *dialog) {
                if (auto *generator = qobject_cast<Generate_List *>(dialog))
                    generator->ui.cancel_btn->click();
                else if (auto *wizard = qobject_cast<Import_Wizard *>(dialog))
                    wizard->ui.cancel_btn->click();
                return dialog->result();
            });
            source->click();
            EXPECT_EQ(m->ListData_value->values(), QStringList({"z"}));
            EXPECT_EQ(m->ui.batch_value_count->text(), "Total Rows : 1");
        }
        prompt(Load_Num_Info::Add);
        generateConstant("w", "1");
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m->ListData_value->values(), QStringList({"z", "w"}));
        m_seam.answerMessages({"No"});   // the unsaved values go
        m->ui.Close_2_Btn->click();
    });
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nPlease enter a valid value.", "\nPlease select only one record to update.",
                           "Do you want to save changes before closing?"}));
}

TEST_F(SeriesManagerTest, ExportsAWorkbookOrASeriesFileAndReportsAFailedWrite)
{
    const QDir out(m_resources.path());
    m_seam.chooseFiles({out.filePath("values"), out.filePath("values.txt"), out.filePath("missing/v.xlsx")});
    int panels = 0;
    QString panelPath;
    m_seam.answerMessages({"OK"});
    m_seam.onDialog([&](QDialog *dialog) {
        auto *m = qobject_cast<BatchWizard *>(dialog);
        m->ui.AddNew_Btn->click();
        m->addValues({"7", "0042", "Zoë", "x y"});
        const auto panel = [&] {
            m_seam.onDialog([&](QDialog *p) {
                auto *shown = qobject_cast<Open_Export_Files *>(p);
                EXPECT_NE(shown, nullptr);
                if (shown)
                    panelPath = shown->ui._open_log_path->text();
                ++panels;
                return int(QDialog::Accepted);
            });
        };
        panel();
        m->ui.Export_Value_Btn->click();
        EXPECT_EQ(panelPath, out.filePath("values.xlsx"));
        panel();
        m->ui.Export_Value_Btn->click();
        m->ui.Export_Value_Btn->click();   // a folder that does not exist
        m_seam.answerMessages({"No"});       // exported, never saved as a series
        m->ui.Close_2_Btn->click();
        return dialog->result();
    });
    m_manager->Open_Wnd();
    EXPECT_EQ(panels, 2);
    EXPECT_EQ(panelPath, out.filePath("values.txt"));
    EXPECT_EQ(readFile(out.filePath("values.txt")), QStringLiteral("7\n0042\nZoë\nx y\n").toUtf8());
    ASSERT_EQ(m_seam.messages.size(), 2);
    EXPECT_TRUE(m_seam.messages.at(0).text.startsWith("\nError in file accessing.\n"));
    EXPECT_EQ(m_seam.messages.at(1).text, "Do you want to save changes before closing?");
    EXPECT_EQ(python("import sys, openpyxl\n"
                     "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                     "print([c.value for row in ws.iter_rows() for c in row])\n",
                     {out.filePath("values.xlsx")}),
              QStringLiteral("['Batch Value', 7, '0042', 'Zoë', 'x y']\n").toUtf8());
}

// Exported values go over an existing file only when the user was asked about that file: the
// chooser asks about the name typed, the manager about the workbook it adds the suffix to.
TEST_F(SeriesManagerTest, ExportingValuesOverAnExistingFileAsksAboutThatFile)
{
    const QDir out(m_resources.path());
    TestHelpers::writeFile(out.filePath("values.xlsx"), "keep");
    TestHelpers::writeFile(out.filePath("VALUES.XLSX"), "keep");
    m_seam.chooseFiles({out.filePath("values"), out.filePath("values"), out.filePath("values"), out.filePath("VALUES.XLSX"),
                        out.filePath("values")});
    int panels = 0;
    m_seam.onDialog([&](QDialog *dialog) {
        auto *m = qobject_cast<BatchWizard *>(dialog);
        m->ui.AddNew_Btn->click();
        m->addValues({"7", "Zoë"});
        // "values" over values.xlsx: No, Enter (the default button is No), the box closed.
        for (const QString &answer : {QStringLiteral("No"), QString(), ScriptedModalSeam::CloseBox}) {
            if (!answer.isNull())
                m_seam.answerMessages({answer});
            m->ui.Export_Value_Btn->click();
            EXPECT_EQ(readFile(out.filePath("values.xlsx")), "keep") << answer.toStdString();
        }
        for (int i = 0; i < 2; ++i)
            m_seam.onDialog([&](QDialog *) {
                ++panels;
                return int(QDialog::Accepted);
            });
        m->ui.Export_Value_Btn->click();   // the name the chooser asked about: no question of ours
        m_seam.answerMessages({"Yes"});
        m->ui.Export_Value_Btn->click();   // "values" over values.xlsx: Yes
        m_seam.answerMessages({"No"});       // exported, never saved as a series
        m->ui.Close_2_Btn->click();
        return dialog->result();
    });
    m_manager->Open_Wnd();
    EXPECT_EQ(panels, 2);
    const QString question = QStringLiteral("\"values.xlsx\" already exists. Do you want to replace it?");
    EXPECT_EQ(m_seam.messageTexts(), QStringList({question, question, question, question,
                                                  "Do you want to save changes before closing?"}));
    for (const char *name : {"values.xlsx", "VALUES.XLSX"})
        EXPECT_EQ(python("import sys, openpyxl\n"
                         "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                         "print([c.value for row in ws.iter_rows() for c in row])\n",
                         {out.filePath(name)}),
                  QStringLiteral("['Batch Value', 7, 'Zoë']\n").toUtf8())
            << name;
}

// Values on the value screen that were never saved are not left without a question: Close,
// Escape and Back ask to save, discard or stay, as closing a design does.
TEST_F(SeriesManagerTest, LeavingUnsavedValuesAsksToSaveDiscardOrStay)
{
    ASSERT_TRUE(DataSeries::writeValues("Guests", {"Ann", "Ben"}, DataSeries::WriteMode::Replace));
    enum class Source { Typed, Generated, EditedSeries, UntouchedSeries };
    enum class Leave { CloseButton, Escape, Back };
    struct Row
    {
        const char *name;
        Source source;
        Leave leave;
        QStringList answers;   // to the question(s) asked
        bool left;             // the value screen (or the window) was left
        QByteArray saved;      // the file "Untitled" (or "Guests") afterwards; empty: none
    };
    const QList<Row> rows = {
        {"typed, Close, Cancel then No", Source::Typed, Leave::CloseButton, {"Cancel", "No"}, true, {}},
        {"typed, Close, box closed then Yes", Source::Typed, Leave::CloseButton, {ScriptedModalSeam::CloseBox, "Yes"},
         true, "Ida\nJon\nKai\nLea\n"},
        {"generated, Escape, Yes", Source::Generated, Leave::Escape, {"Yes"}, true, "g\ng\n"},
        {"generated, Back, Cancel", Source::Generated, Leave::Back, {"Cancel"}, false, {}},
        {"generated, Back, No", Source::Generated, Leave::Back, {"No"}, true, {}},
        {"edited series, Close, Yes", Source::EditedSeries, Leave::CloseButton, {"Yes"}, true, "Ann\nBo\n"},
        {"edited series, Close, No", Source::EditedSeries, Leave::CloseButton, {"No"}, true, "Ann\nBen\n"},
        {"untouched series, Close: no question", Source::UntouchedSeries, Leave::CloseButton, {}, true, "Ann\nBen\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(file("Untitled"));
        ASSERT_TRUE(DataSeries::writeValues("Guests", {"Ann", "Ben"}, DataSeries::WriteMode::Replace));
        m_seam.messages.clear();
        const bool onSeries = row.source == Source::EditedSeries || row.source == Source::UntouchedSeries;
        run([&](BatchWizard *m) {
            QSignalSpy finished(m, &QDialog::finished);
            if (onSeries) {
                openSeries(m, "Guests");
            } else {
                m->ui.AddNew_Btn->click();
            }
            if (row.source == Source::Typed) {
                m_seam.onDialog([](QDialog *dialog) {
                    auto *w = qobject_cast<Import_Wizard *>(dialog);
                    w->ui.Mnul_RD->click();
                    w->ui.ManualEdit->setPlainText("Ida\nJon\nKai\nLea\n");
                    w->ui.ok_btn->click();
                    return w->result();
                });
                m->ui.Import_Value_Btn->click();
            } else if (row.source == Source::Generated) {
                generateConstant("g", "2");
                m->ui.Series_Value_Btn->click();
            } else if (row.source == Source::EditedSeries) {
                m_seam.onDialog([](QDialog *dialog) {
                    auto *edit = qobject_cast<Update_Ex_Num *>(dialog);
                    edit->ui.m_ex_num_str->setText("Bo");
                    edit->ui.ok_btn->click();
                    return dialog->result();
                });
                selectRows(m->ui.List_value, {1});
                m->doubleClickInTable(m->ui.List_value);
            }
            const QStringList before = m->ListData_value->values();
            for (const QString &answer : row.answers) {
                m_seam.answerMessages({answer});
                switch (row.leave) {
                case Leave::CloseButton: m->ui.Close_2_Btn->click(); break;
                case Leave::Escape: QTest::keyClick(m, Qt::Key_Escape); break;
                case Leave::Back: m->ui.Back_Btn->click(); break;
                }
                if (answer == "Cancel" || answer == ScriptedModalSeam::CloseBox) {
                    EXPECT_TRUE(finished.isEmpty());
                    EXPECT_TRUE(m->ui.list_value_box->isVisibleTo(m));
                    EXPECT_EQ(m->ListData_value->values(), before);
                }
            }
            if (row.answers.isEmpty())
                m->ui.Close_2_Btn->click();
            if (row.leave == Leave::Back) {
                EXPECT_EQ(m->ui.list_value_box->isVisibleTo(m), !row.left);
                if (row.left) {
                    m->ui.Close_Btn->click();   // the list screen closes without a question
                } else {
                    m_seam.answerMessages({"No"});
                    m->ui.Close_2_Btn->click();
                }
            }
            EXPECT_EQ(finished.size(), 1);
        });
        const QString closing = QStringLiteral("Do you want to save changes before closing?");
        const QString question = row.leave == Leave::Back
                                     ? QStringLiteral("Do you want to save changes before going back to the list?")
                                     : closing;
        QStringList asked;
        for (qsizetype i = 0; i < row.answers.size(); ++i)
            asked << question;
        if (row.leave == Leave::Back && !row.left)
            asked << closing;
        EXPECT_EQ(m_seam.messageTexts(), asked);
        const QString written = file(onSeries ? "Guests" : "Untitled");
        EXPECT_EQ(QFileInfo::exists(written) ? readFile(written) : QByteArray(), row.saved);
    }
}

TEST_F(SeriesManagerTest, DataMenuOpensTheManagerTheGeneratorAndTheImportWizard)
{
    QMenu *data = nullptr;
    for (QAction *menu : m_window->menuBar()->actions())
        if (menu->text().remove('&') == "Data")
            data = menu->menu();
    ASSERT_NE(data, nullptr);
    QStringList opened;
    for (int i = 0; i < 3; ++i)
        m_seam.onDialog([&opened](QDialog *dialog) {
            QString name = QString::fromLatin1(dialog->metaObject()->className());
            if (auto *generator = qobject_cast<Generate_List *>(dialog))
                name += QStringLiteral(" %1 %2").arg(generator->file_name_required).arg(generator->file_name_Insert);
            if (auto *wizard = qobject_cast<Import_Wizard *>(dialog))
                name += QStringLiteral(" %1 %2").arg(wizard->file_name_required).arg(wizard->file_name_Insert);
            opened << name;
            return int(QDialog::Rejected);
        });
    for (QAction *action : data->actions()) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        action->trigger();
    }
    EXPECT_EQ(opened, QStringList({"BatchWizard", "Generate_List 1 0", "Import_Wizard 1 0"}));
}

} // namespace
