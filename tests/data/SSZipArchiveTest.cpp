// The zip wrapper against archives written and read by Python's zipfile and Info-ZIP.

#include "DataTestSupport.h"

#include "data/SSZipArchive.h"

#include <QDateTime>
#include <QTemporaryDir>

using namespace DataTest;

namespace {

class SSZipArchiveTest : public ::testing::Test
{
protected:
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }
    QTemporaryDir m_dir;
};

TEST_F(SSZipArchiveTest, PackedEntriesAreNamedRelativeToEachItemsParentAndReadByPython)
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

    // Names beyond ASCII are marked UTF-8 for other programs.
    writeFile(path("src/Grüße.txt"), "hallo");
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(path("utf8.zip"), {path("src/Grüße.txt")}));
    EXPECT_EQ(python("import sys, zipfile\nprint(zipfile.ZipFile(sys.argv[1]).namelist()[0])\n", {path("utf8.zip")}),
              QStringLiteral("Grüße.txt\n").toUtf8());
}

TEST_F(SSZipArchiveTest, RoundTripAndPackedEntriesCarryNoDate)
{
    writeFile(path("src/data/one.txt"), "one");
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(path("out.zip"), {path("src/data")}));
    // Unpacked now: no older than a file written just before, by the same file system clock.
    writeFile(path("stamp"), "");
    const QDateTime before = QFileInfo(path("stamp")).lastModified();
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(path("out.zip"), path("dest"), false, QString()));
    EXPECT_EQ(readFile(path("dest/data/one.txt")), "one");
    EXPECT_GE(QFileInfo(path("dest/data/one.txt")).lastModified(), before);
}

TEST_F(SSZipArchiveTest, PythonArchiveWithBackslashNamesUnpacksIntoTheSameTree)
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
}

TEST_F(SSZipArchiveTest, OverwriteFlagDecidesWhetherExistingFilesAreReplaced)
{
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

} // namespace
