// The zip wrapper against archives written and read by Python's zipfile and Info-ZIP, and
// workbooks made to lie or to cost: entries whose sizes or checksums lie, compression methods
// we do not unpack, and workbooks past each of the reader's caps. Every one is refused with a
// clear reason; the caps are lowered here so the inputs stay small.

#include "DataTestSupport.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"

#include <QDateTime>

using namespace DataTest;

namespace {

using SSZipArchiveTest = TempFolderTest;

TEST_F(SSZipArchiveTest, PackedEntriesAreNamedRelativeToEachItemsParentReadByPythonAndUnpackedUndated)
{
    writeFile(path("src/a.xml"), "<a/>");
    writeFile(path("src/xl/workbook.xml"), "<workbook/>");
    writeFile(path("src/xl/worksheets/sheet1.xml"), QByteArray(50000, 'x'));
    writeFile(path("src/xl/.hidden"), "h");
    QDir().mkpath(path("src/empty"));

    QString error;
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(
        path("out.zip"), {path("src/a.xml"), path("src/xl/"), path("src/empty")}, &error))
        << error.toStdString();

    const QByteArray listing = python(
        "import sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "assert z.testzip() is None\n"
        "for i in z.infolist():\n"
        "    print(i.filename, i.compress_type, i.date_time[:3], len(z.read(i)))\n",
        {path("out.zip")});
    EXPECT_EQ(listing,
              "a.xml 8 (1980, 0, 0) 4\n"
              "xl/.hidden 8 (1980, 0, 0) 1\n"
              "xl/workbook.xml 8 (1980, 0, 0) 11\n"
              "xl/worksheets/sheet1.xml 8 (1980, 0, 0) 50000\n"
              "empty/ 8 (1980, 0, 0) 0\n");
    // Unpacked now: no older than a file written just before, by the same file system clock.
    writeFile(path("stamp"), "");
    const QDateTime before = QFileInfo(path("stamp")).lastModified();
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("out.zip"), path("dest"), false, QString()));
    EXPECT_EQ(readFile(path("dest/xl/worksheets/sheet1.xml")), QByteArray(50000, 'x'));
    EXPECT_GE(QFileInfo(path("dest/xl/workbook.xml")).lastModified(), before);

    // Names beyond ASCII are marked UTF-8 for other programs.
    writeFile(path("src/Grüße.txt"), "hallo");
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(path("utf8.zip"), {path("src/Grüße.txt")}));
    EXPECT_EQ(python("import sys, zipfile\nprint(zipfile.ZipFile(sys.argv[1]).namelist()[0])\n", {path("utf8.zip")}),
              QStringLiteral("Grüße.txt\n").toUtf8());
}

TEST_F(SSZipArchiveTest, PythonArchivesUnpackBackslashNamesIntoTheSameTreeAndOverwriteOnlyWhenAsked)
{
    makeZip(path("slash.zip"), {{"dir/sub/file.txt", "A"}, {"dir/folder/", ""}});
    makeZip(path("back.zip"), {{"dir\\sub\\file.txt", "A"}, {"dir\\folder\\", ""}});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("slash.zip"), path("one"), true, QString()));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("back.zip"), path("two"), true, QString()));
    for (const QString &root : {path("one"), path("two")}) {
        EXPECT_EQ(readFile(root + "/dir/sub/file.txt"), "A");
        EXPECT_TRUE(QFileInfo(root + "/dir/folder").isDir());
    }
    // The entry's date is given to the unpacked file (as local time).
    EXPECT_EQ(QFileInfo(path("one/dir/sub/file.txt")).lastModified(),
              QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));

    // The overwrite flag decides whether existing files are replaced.
    makeZip(path("a.zip"), {{"keep.txt", "new"}, {"more/added.txt", "added"}});
    writeFile(path("dest/keep.txt"), "old");
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("a.zip"), path("dest"), false, QString()));
    EXPECT_EQ(readFile(path("dest/keep.txt")), "old");
    EXPECT_EQ(readFile(path("dest/more/added.txt")), "added");
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("a.zip"), path("dest"), true, QString()));
    EXPECT_EQ(readFile(path("dest/keep.txt")), "new");
}

TEST_F(SSZipArchiveTest, InfoZipPasswordEntryNeedsTheRightPassword)
{
    const QByteArray secret = QByteArray("card data ").repeated(200);
    writeFile(path("plain/secret.txt"), secret);
    // Deflated (the default) and stored ("-0") entries.
    for (const QString &method : {QStringLiteral("-6"), QStringLiteral("-0")}) {
        SCOPED_TRACE(method.toStdString());
        const QString archive = path("locked" + method + ".zip");
        int exitCode = -1;
        TestHelpers::runProgram("/bin/sh", {"-c", QStringLiteral("cd '%1' && zip -q %2 -P opensesame '%3' secret.txt")
                                                      .arg(path("plain"), method, archive)},
                                {}, &exitCode);
        ASSERT_EQ(exitCode, 0);

        SSZipArchiveError error;
        EXPECT_TRUE(SSZipArchive::unzipFileAtPath(archive, path("good" + method), true, "opensesame", &error))
            << error.localizedDescription.toStdString();
        EXPECT_EQ(readFile(path("good" + method + "/secret.txt")), secret);

        for (const QString &wrong : {QStringLiteral("wrong"), QStringLiteral("opensesamE"), QStringLiteral("x")}) {
            EXPECT_FALSE(SSZipArchive::unzipFileAtPath(archive, path("bad"), true, wrong, &error));
            EXPECT_EQ(error.code, SSZipArchiveError::BadEntry);
        }
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(archive, path("none"), true, QString(), &error));
        EXPECT_EQ(error.code, SSZipArchiveError::BadEntry);
        EXPECT_TRUE(error.localizedDescription.contains("password"));

        // A checksum that lies (its high byte, the password check, kept) is found out after
        // decrypting with the right password.
        forgeEntry(archive, 0, true);
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(archive, path("forged" + method), true, "opensesame", &error));
        EXPECT_EQ(error.code, SSZipArchiveError::BadEntry) << error.localizedDescription.toStdString();
    }
}

TEST_F(SSZipArchiveTest, EntriesLeadingOutsideTheDestinationAreRefused)
{
    for (const QString &evil : {QStringLiteral("../escaped.txt"), QStringLiteral("a/../../escaped.txt"),
                                QStringLiteral("..\\escaped.txt"), path("escaped-abs.txt")}) {
        SCOPED_TRACE(evil.toStdString());
        makeZip(path("evil.zip"), {{"fine.txt", "ok"}, {evil, "pwned"}});
        SSZipArchiveError error;
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("evil.zip"), path("inner/dest"), true, QString(), &error));
        EXPECT_EQ(error.code, SSZipArchiveError::UnsafeEntryName);
        EXPECT_FALSE(QFile::exists(path("inner/escaped.txt")));
        EXPECT_FALSE(QFile::exists(path("escaped.txt")));
    }
    // Nothing was written beside the archive and the destination's folder.
    EXPECT_EQ(QDir(path(".")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("evil.zip"), QStringLiteral("inner")}));
    EXPECT_EQ(QDir(path("inner")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("dest")});
}

TEST_F(SSZipArchiveTest, SymbolicLinksInTheDestinationAreNotFollowed)
{
    QDir().mkpath(path("outside"));
    QDir().mkpath(path("dest"));
    ASSERT_TRUE(QFile::link(path("outside"), path("dest/linked")));
    ASSERT_TRUE(QFile::link(path("outside/target.txt"), path("dest/file.txt")));
    makeZip(path("a.zip"), {{"file.txt", "replaced"}});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("a.zip"), path("dest"), true, QString()));
    EXPECT_FALSE(QFile::exists(path("outside/target.txt")));
    EXPECT_FALSE(QFileInfo(path("dest/file.txt")).isSymLink());

    makeZip(path("b.zip"), {{"linked/x.txt", "through the link"}});
    SSZipArchiveError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("b.zip"), path("dest"), true, QString(), &error));
    EXPECT_FALSE(QFile::exists(path("outside/x.txt")));
}

TEST_F(SSZipArchiveTest, ZipBombsStopAtTheLimits)
{
    makeZip(path("big.zip"), {{"zeros.bin", QByteArray(4 << 20, '\0')}});
    SSZipArchiveLimits small;
    small.maxTotalBytes = 1 << 20;
    SSZipArchiveError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("big.zip"), path("d1"), true, QString(), &error, small));
    EXPECT_EQ(error.code, SSZipArchiveError::LimitExceeded);
    EXPECT_LE(QFileInfo(path("d1/zeros.bin")).size(), 1 << 20);

    QList<QPair<QString, QByteArray>> many;
    for (int i = 0; i < 30; ++i)
        many.append({QStringLiteral("f%1").arg(i), "x"});
    makeZip(path("many.zip"), many);
    SSZipArchiveLimits few;
    few.maxEntries = 10;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("many.zip"), path("d2"), true, QString(), &error, few));
    EXPECT_EQ(error.code, SSZipArchiveError::LimitExceeded);
    EXPECT_TRUE(SSZipArchive::unzipFileAtPath(path("many.zip"), path("d3"), true, QString(), &error));
}

TEST_F(SSZipArchiveTest, DamagedArchivesAreReportedNotUnpackedAsSuccess)
{
    SSZipArchiveError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("missing.zip"), path("d"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchiveError::CannotOpenArchive);
    EXPECT_EQ(error.localizedDescription, "failed to open zip file");

    writeFile(path("text.zip"), "this is not an archive");
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("text.zip"), path("d"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchiveError::CannotOpenArchive);

    // An archive without entries has nothing to unpack (minizip refuses to open it).
    python("import sys, zipfile\nzipfile.ZipFile(sys.argv[1], 'w').close()\n", {path("empty.zip")});
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("empty.zip"), path("d"), true, QString(), &error));
    EXPECT_TRUE(error.code == SSZipArchiveError::CannotOpenArchive || error.code == SSZipArchiveError::CannotOpenFirstFile);

    // Truncated: the central directory is gone.
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text += QByteArray::number(i * 7919) + ' ';
    makeZip(path("whole.zip"), {{"sheet.xml", text}});
    const QByteArray whole = readFile(path("whole.zip"));
    writeFile(path("cut.zip"), whole.left(whole.size() / 2));
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("cut.zip"), path("d"), true, QString(), &error));

    // Flipped bits in the compressed data: an inflate error or a CRC mismatch.
    QByteArray flipped = whole;
    for (int i = 100; i < 110; ++i)
        flipped[i] = char(flipped[i] ^ 0x55);
    writeFile(path("flipped.zip"), flipped);
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("flipped.zip"), path("d"), true, QString(), &error));
    EXPECT_EQ(error.code, SSZipArchiveError::BadEntry);
}

TEST_F(SSZipArchiveTest, AnUnwritableDestinationOrAMissingFileToPackIsAFailure)
{
    makeZip(path("a.zip"), {{"dir", "a file where the destination needs a folder"}, {"dir/x.txt", "x"}});
    SSZipArchiveError unpackError;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path("a.zip"), path("d"), true, QString(), &unpackError));
    EXPECT_EQ(unpackError.code, SSZipArchiveError::CannotWrite);

    writeFile(path("src/one.txt"), "1");
    QString error;
    EXPECT_FALSE(SSZipArchive::createZipFileAtPath(path("out.zip"), {path("src/one.txt"), path("src/none.txt")}, &error));
    EXPECT_TRUE(error.contains("none.txt")) << error.toStdString();
    EXPECT_FALSE(SSZipArchive::createZipFileAtPath(path("no/such/folder/out.zip"), {path("src/one.txt")}, &error));
}

class HostileWorkbookTest : public TempFolderTest
{
protected:
    void SetUp() override { SpreadsheetWriter::sharedInstance(); }
    void TearDown() override
    {
        // The reader is shared: put its caps back for the tests that follow.
        spreadsheet->zipLimits = SpreadsheetWriter::workbookZipLimits();
        spreadsheet->maxSharedStrings = 4'000'000;
        spreadsheet->maxElementBytes = std::size_t(8) << 20;
        SpreadsheetWriter::removeTempFolder();
    }
    // Opens and reads the first sheet as the column chooser does; the first error met.
    QString openAndRead(const QString &workbook)
    {
        QString error;
        SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(workbook), true, &error);
        if (!error.isEmpty())
            return error;
        Excel_Sheet_Number = 1;
        SpreadsheetWriter::ReadWorkbook(QUrl(), false, &error);
        return error;
    }
};

void pythonZip(const QString &zip, const char *method, const QByteArray &content)
{
    python(QByteArray("import sys, zipfile\n"
                      "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                      "    z.writestr('xl/worksheets/sheet1.xml', sys.argv[2], zipfile.")
               + method + ")\n",
           {zip, QString::fromUtf8(content)});
}

TEST_F(HostileWorkbookTest, EntriesWhoseSizeOrChecksumLieAreRefused)
{
    const QByteArray content = sheet("<row><c r=\"A1\" t=\"inlineStr\"><is><t>Alice</t></is></c></row>");
    struct Case
    {
        const char *method;
        int sizeChange;
        bool wrongCrc;
    };
    const Case cases[] = {
        {"ZIP_STORED", +1, true}, {"ZIP_DEFLATED", +1, true}, {"ZIP_DEFLATED", +1, false},
        {"ZIP_STORED", -1, false}, {"ZIP_DEFLATED", -1, false}, {"ZIP_DEFLATED", 0, true},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 size %2 crc %3").arg(c.method).arg(c.sizeChange).arg(c.wrongCrc).toStdString());
        const QString zip = path(QStringLiteral("lie%1.xlsx").arg(++n));
        pythonZip(zip, c.method, content);
        forgeEntry(zip, c.sizeChange, c.wrongCrc);
        if (c.wrongCrc) {
            // Info-ZIP agrees that the archive is damaged.
            int exitCode = 0;
            TestHelpers::runProgram("unzip", {"-tqq", zip}, {}, &exitCode);
            EXPECT_NE(exitCode, 0);
        }

        SSZipArchiveError error;
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip, path(QStringLiteral("out%1").arg(n)), true, QString(), &error));
        EXPECT_EQ(error.code, SSZipArchiveError::BadEntry) << error.localizedDescription.toStdString();
        EXPECT_TRUE(error.localizedDescription.contains("sheet1.xml")) << error.localizedDescription.toStdString();
        EXPECT_FALSE(openAndRead(zip).isEmpty());
    }
}

TEST_F(HostileWorkbookTest, MethodsWeDoNotUnpackAreRefusedNotHandedOnRaw)
{
    for (const auto &[method, name] : {std::pair{"ZIP_BZIP2", "bzip2"}, std::pair{"ZIP_LZMA", "LZMA"}}) {
        SCOPED_TRACE(method);
        const QString zip = path(QStringLiteral("%1.xlsx").arg(method));
        pythonZip(zip, method, sheet("<row><c r=\"A1\"><v>1</v></c></row>"));
        SSZipArchiveError error;
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip, path(method), true, QString(), &error));
        EXPECT_EQ(error.code, SSZipArchiveError::UnsupportedEntry);
        EXPECT_TRUE(error.localizedDescription.contains(QStringLiteral("unsupported compression method (%1)").arg(name)))
            << error.localizedDescription.toStdString();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("%1/xl/worksheets/sheet1.xml").arg(method))));
    }
}

TEST_F(HostileWorkbookTest, WorkbooksPastEachCapAreRefusedAsTooLargeNamingTheCap)
{
    // Rows of distinct numbers: about 60 KB that pack to a fifth of that or more.
    QByteArray rows;
    for (int r = 1; r <= 2000; ++r)
        rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\"><v>"
                + QByteArray::number(r * 7919 % 100003) + "</v></c></row>";
    const QString plain = path("plain.xlsx");
    makeZip(plain, workbookParts(sheet(rows)));
    ASSERT_EQ(openAndRead(plain), QString());

    // One part unpacking past its cap.
    spreadsheet->zipLimits.maxEntryBytes = 32 * 1024;
    QString error = openAndRead(plain);
    EXPECT_TRUE(error.contains("too large") && error.contains("0.03125 MB")) << error.toStdString();
    spreadsheet->zipLimits = SpreadsheetWriter::workbookZipLimits();

    // A part far larger than its packed size: the same text over and over.
    const QString bomb = path("bomb.xlsx");
    makeZip(bomb, workbookParts(sheet(QByteArray(1 << 20, ' ') + "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")));
    spreadsheet->zipLimits.ratioFreeBytes = 64 * 1024;
    spreadsheet->zipLimits.maxRatio = 20;
    error = openAndRead(bomb);
    EXPECT_TRUE(error.contains("too large") && error.contains("20 times")) << error.toStdString();
    spreadsheet->zipLimits = SpreadsheetWriter::workbookZipLimits();

    // Shared strings past their cap.
    QStringList texts;
    for (int i = 0; i < 300; ++i)
        texts << QStringLiteral("guest %1").arg(i);
    const QString shared = path("shared.xlsx");
    makeZip(shared, workbookParts(sheet("<row><c r=\"A1\" t=\"s\"><v>299</v></c></row>"), sharedStrings(texts)));
    ASSERT_EQ(openAndRead(shared), QString());
    spreadsheet->maxSharedStrings = 299;
    error = openAndRead(shared);
    EXPECT_TRUE(error.contains("too large") && error.contains("299 shared strings")) << error.toStdString();
    spreadsheet->maxSharedStrings = 4'000'000;

    // One row, and one comment never closed, larger than an element may be (and than the
    // 256 KB the reader reads at a time).
    spreadsheet->maxElementBytes = 64 * 1024;
    const QByteArray wideRow = "<row r=\"1\">" + QByteArray(300 * 1024, ' ') + "<c r=\"A1\"><v>1</v></c></row>";
    const QByteArray openComment = "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><!--" + QByteArray(300 * 1024, '-');
    for (const QByteArray &content : {wideRow, openComment}) {
        const QString book = path("element.xlsx");
        QFile::remove(book);
        makeZip(book, workbookParts(sheet(content)));
        error = openAndRead(book);
        EXPECT_TRUE(error.contains("too large") && error.contains("0.0625 MB")) << error.toStdString();
    }
}

} // namespace
