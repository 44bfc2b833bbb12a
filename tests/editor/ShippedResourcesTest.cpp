// The pictures and stock texts the application ships: what the first start copies into the
// user's resource folder (resources/seed), the icons, and the resource list that embeds both.

#include "support/TestHelpers.h"

#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include "support/BarcodeReader.h"

namespace {

QString resourcePath(const QString &relative)
{
    return TestHelpers::sourcePath(QStringLiteral("resources/") + relative);
}

QString seedPath(const QString &relative)
{
    return resourcePath(QStringLiteral("seed/") + relative);
}

// The picture browsers list "png" and "jpg" files, compared in lower case, and nothing else.
bool browserListsIt(const QFileInfo &info)
{
    const QString suffix = info.suffix().toLower();
    return suffix == QLatin1String("png") || suffix == QLatin1String("jpg");
}

QFileInfoList picturesIn(const QString &folder)
{
    QFileInfoList found;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &info : entries)
        if (browserListsIt(info))
            found << info;
    return found;
}

// Paths relative to `root` of every file below it, sorted.
QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QImage argb(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(ShippedResources, SeedHoldsTheFoldersAndFilesTheApplicationOpensByNameAndEveryPictureLoads)
{
    for (const char *folder : {"Background", "Fill_Style_Image", "LibraryImage"})
        EXPECT_TRUE(QFileInfo(seedPath(QString::fromLatin1(folder))).isDir()) << folder;
    for (const char *file : {"Title.txt", "Message.txt", "no.png", "barcode_sample.png", "pattern_1.jpg"})
        EXPECT_TRUE(QFileInfo(seedPath(QString::fromLatin1(file))).isFile()) << file;

    // Every picture loads.
    QDirIterator it(seedPath(QString()), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString suffix = info.suffix().toLower();
        if (suffix != QLatin1String("png") && suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg"))
            continue;
        QImageReader reader(info.filePath());
        const QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << qPrintable(info.filePath()) << ": " << qPrintable(reader.errorString());
    }
}

TEST(ShippedResources, HatchPatternsAreTintableBlackOnTransparentTiles)
{
    const QString folder = seedPath(QStringLiteral("Fill_Style_Image"));
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    EXPECT_FALSE(files.isEmpty());
    // Users pick patterns by these names in a list.
    const QRegularExpression readable(QStringLiteral("^[A-Z][A-Za-z]*( [A-Z][A-Za-z]*)*$"));
    for (const QFileInfo &info : files) {
        // The card drawing appends "png" to the chosen base name whatever the file is called.
        EXPECT_EQ(info.suffix(), QStringLiteral("png")) << qPrintable(info.fileName());
        EXPECT_TRUE(readable.match(info.completeBaseName()).hasMatch()) << qPrintable(info.fileName());

        const QImage image = argb(info.filePath());
        ASSERT_FALSE(image.isNull()) << qPrintable(info.fileName());
        int clear = 0, strong = 0, coloured = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                clear += qAlpha(p) == 0;
                strong += qAlpha(p) >= 128;
                coloured += qAlpha(p) > 0 && (qRed(p) || qGreen(p) || qBlue(p));
            }
        }
        EXPECT_GT(clear, 0) << qPrintable(info.fileName()) << " hides the background colour completely";
        EXPECT_GT(strong, 0) << qPrintable(info.fileName()) << " is too faint to see";
        EXPECT_EQ(coloured, 0) << qPrintable(info.fileName()) << " carries colour of its own and cannot be tinted";
    }
}

TEST(ShippedResources, BackgroundsAreOpaqueAtCardProportions)
{
    const QFileInfoList files = picturesIn(seedPath(QStringLiteral("Background")));
    EXPECT_FALSE(files.isEmpty());
    for (const QFileInfo &info : files) {
        const QImage image = argb(info.filePath());
        ASSERT_FALSE(image.isNull()) << qPrintable(info.fileName());
        const int longSide = qMax(image.width(), image.height());
        const double ratio = double(longSide) / qMin(image.width(), image.height());
        EXPECT_GE(longSide, 1000) << qPrintable(info.fileName()) << " is too small to print at card size";
        EXPECT_TRUE(ratio >= 1.35 && ratio <= 1.65) << qPrintable(info.fileName()) << " " << ratio;
        EXPECT_TRUE(qAlpha(image.pixel(0, 0)) == 255 && qAlpha(image.pixel(image.width() / 2, image.height() / 2)) == 255)
            << qPrintable(info.fileName());
    }
}

TEST(ShippedResources, LibraryCategoriesHoldTransparentCroppedPictures)
{
    const QDir library(seedPath(QStringLiteral("LibraryImage")));
    const QStringList categories = library.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    EXPECT_FALSE(categories.isEmpty());
    for (const QString &category : categories) {
        const QFileInfoList files = picturesIn(library.filePath(category));
        EXPECT_FALSE(files.isEmpty()) << qPrintable(category);
        for (const QFileInfo &info : files) {
            const QImage image = argb(info.filePath());
            ASSERT_FALSE(image.isNull()) << qPrintable(info.filePath());
            EXPECT_TRUE(QImage(info.filePath()).hasAlphaChannel()) << qPrintable(info.filePath());
            // An opaque edge means either a box around the picture on the card or a motif cut off.
            bool clearEdge = true;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); x += (y == 0 || y == image.height() - 1) ? 1 : std::max(1, image.width() - 1))
                    clearEdge = clearEdge && qAlpha(image.pixel(x, y)) == 0;
            EXPECT_TRUE(clearEdge) << qPrintable(info.filePath());
            const int drawn = TestHelpers::countPixelsDifferent(image, QColor(0, 0, 0, 0), image.rect(), 0);
            EXPECT_GT(drawn, image.width() * image.height() / 25) << qPrintable(info.filePath()) << " is nearly empty";
        }
    }
}

TEST(ShippedResources, StockTextsAreUtf8WithOneEntryPerLine)
{
    for (const char *name : {"Title.txt", "Message.txt"}) {
        SCOPED_TRACE(name);
        const QByteArray bytes = TestHelpers::readFile(seedPath(QString::fromLatin1(name)));
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte-order mark would end up in the first entry";
        EXPECT_FALSE(bytes.contains('\r'));
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decode(bytes);
        ASSERT_FALSE(decode.hasError()) << "not valid UTF-8";

        QStringList lines = text.split(QLatin1Char('\n'));
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().isEmpty()) << "the last entry has no line end";
        lines.removeLast();
        QSet<QString> seen;
        for (const QString &line : std::as_const(lines)) {
            EXPECT_FALSE(line.trimmed().isEmpty()) << "empty entry";
            EXPECT_EQ(line, line.trimmed()) << qPrintable(line);
            EXPECT_FALSE(seen.contains(line)) << "duplicate: " << qPrintable(line);
            seen.insert(line);
        }
    }
}

TEST(ShippedResources, SampleBarcodeIsAReadableEan13)
{
    const QImage image(seedPath(QStringLiteral("barcode_sample.png")));
    ASSERT_FALSE(image.isNull());
    // ZXing checks the check digit itself.
    const BarcodeReader::Decoded read = BarcodeReader::read(image, ZXing::BarcodeFormat::EAN13);
    ASSERT_TRUE(read.valid);
    // In-store prefix 20-29: the sample can never be taken for a real product's number.
    EXPECT_EQ(read.text.front(), '2');
}

TEST(ShippedResources, IconsCoverEveryToolCommandAndPlacementButton)
{
    const QStringList commands = {"new",       "open",       "save",        "export",  "print", "mail", "undo",
                                  "redo",      "front-side", "back-side", "data-series", "profile", "help"};
    for (int size : {24, 48}) {
        const QDir folder(resourcePath(QStringLiteral("icons/%1").arg(size)));
        for (int tool = 0; tool <= 15; ++tool) {
            const QStringList matches =
                folder.entryList({QStringLiteral("tool-%1-*.png").arg(tool, 2, 10, QLatin1Char('0'))}, QDir::Files);
            ASSERT_EQ(matches.size(), 1) << "tool " << tool << " at " << size;
            EXPECT_EQ(QImage(folder.filePath(matches.first())).size(), QSize(size, size)) << qPrintable(matches.first());
        }
        for (const QString &command : commands)
            EXPECT_EQ(QImage(folder.filePath(command + QStringLiteral(".png"))).size(), QSize(size, size))
                << qPrintable(command) << " at " << size;
    }
    // The print window asks for its placement buttons by these exact names.
    for (const char *name : {"top_left", "top_center", "top_right", "middle_left", "middle_center", "middle_right",
                             "bootom_left", "bootom_center", "boottom_right"}) {
        const QString plain = QString::fromLatin1(name);
        const QString selected = plain == QLatin1String("middle_center") ? plain + QStringLiteral("_sel")
                                                                         : plain + QStringLiteral(" - sel");
        for (const QString &image : {plain, selected})
            EXPECT_EQ(QImage(resourcePath(QStringLiteral("icons/align/%1.png").arg(image))).size(), QSize(32, 32))
                << qPrintable(image);
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_EQ(QImage(resourcePath(QStringLiteral("icons/app/festiloom-%1.png").arg(size))).size(), QSize(size, size));

    const QString svg = resourcePath(QStringLiteral("icons/app/festiloom.svg"));
    EXPECT_TRUE(TestHelpers::readFile(svg).contains("<svg"));
    if (QImageReader::supportedImageFormats().contains("svg")) {
        EXPECT_FALSE(QImage(svg).isNull());
    }
}

TEST(ShippedResources, ResourceListEmbedsExactlyTheIconAndSeedTrees)
{
    QFile qrc(resourcePath(QStringLiteral("resources.qrc")));
    ASSERT_TRUE(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    QString prefix;
    QMap<QString, QStringList> listed;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("qresource")) {
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        } else if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const QString file = xml.readElementText();
            const QString folder = prefix.mid(1);
            // Code asks for ":/seed/Background/..." and ":/icons/24/...": alias and path must agree.
            EXPECT_EQ(file, folder + QLatin1Char('/') + alias);
            EXPECT_TRUE(QFileInfo::exists(resourcePath(file))) << qPrintable(file);
            listed[prefix] << alias;
        }
    }
    ASSERT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    for (const QString &folder : {QStringLiteral("icons"), QStringLiteral("seed")}) {
        QStringList aliases = listed.value(QLatin1Char('/') + folder);
        aliases.sort();
        EXPECT_EQ(aliases, filesBelow(resourcePath(folder)))
            << "resources.qrc is out of date: run /usr/bin/python3 tools/draw_resources.py";
    }
}
