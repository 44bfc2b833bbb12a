// Data-series files: byte format, the readers' record rules, saving, listing and the in-use check.

#include "DataTestSupport.h"

#include "data/DataSeries.h"
#include "document/LMNText.h"
#include "document/LMNLine.h"

using namespace DataTest;

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

} // namespace
