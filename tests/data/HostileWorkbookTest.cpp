// Workbooks made to lie or to cost: entries whose sizes or checksums lie, compression
// methods we do not unpack, and workbooks past each of the reader's caps. Every one is refused
// with a clear reason; the caps are lowered here so the inputs stay small.

#include "DataTestSupport.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"

#include <QTemporaryDir>

using namespace DataTest;

namespace {

class HostileWorkbookTest : public ::testing::Test
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
    QString path(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }

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

    QTemporaryDir m_dir;
};

void pythonZip(const QString &zip, const char *method, const QByteArray &content)
{
    python(QByteArray("import sys, zipfile\n"
                      "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                      "    z.writestr('xl/worksheets/sheet1.xml', sys.argv[2], zipfile.")
               + method + ")\n",
           {zip, QString::fromUtf8(content)});
}

} // namespace

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
