// What opening a design costs in memory against what it is estimated at before opening. The
// heap is counted as the release build's allocator holds it (support/HeapCounter.h): the
// sanitized build's own padding around each block is not counted, so the figures are those
// of the application. The designs are small enough to open quickly here; the estimate is
// linear in what a file holds, so what holds for them holds for designs a hundred times larger
// (bench/LargeInputBench.cpp opens those in the release build).

#include "editor/DesignFile.h"

#include "document/GraphicFactory.h"
#include "support/HeapCounter.h"
#include "support/TestHelpers.h"

#include <QMetaEnum>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <dlfcn.h>

#include <cmath>
#include <map>
#include <mutex>

namespace {

// The pictures stored since the last clear(), each under its cache key with the times it was.
std::mutex encodesLock;
std::map<qint64, int> encodes;

} // namespace

// Pictures are stored with QImage::save() into a buffer. This program's definition of it comes
// before Qt's for the code linked into it: it counts each call, then lets Qt's own store the
// picture.
bool QImage::save(QIODevice *device, const char *format, int quality) const
{
    {
        const std::lock_guard<std::mutex> lock(encodesLock);
        ++encodes[cacheKey()];
    }
    using Save = bool (*)(const QImage *, QIODevice *, const char *, int);
    static const auto qtSave = reinterpret_cast<Save>(dlsym(RTLD_NEXT, "_ZNK6QImage4saveEP9QIODevicePKci"));
    return qtSave(this, device, format, quality);
}

namespace {

GraphicPtr madeByTool(int tool, int i)
{
    NewGraphicDefaults defaults;
    defaults.contentFont = CardFont(QStringLiteral("TimesNewRomanPS-BoldMT"), 14);
    const QString value = tool == GraphicFactory::TextTool ? QStringLiteral("Guest number %1").arg(i) : QString();
    GraphicPtr g = GraphicFactory::makeGraphic(GraphicFactory::kindForTool(tool), tool, value,
                                               QStringLiteral("F_%1").arg(i), defaults);
    g->setBounds(QRectF(i % 200, i / 200, 40, 20));
    return g;
}

QByteArray designOf(const GraphicList &front, const GraphicList &back = {})
{
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(243, 154);
    design.graphics = front;
    design.graphics_back = back;
    return DesignFile::toXml(design);
}

QByteArray textElements(int count)
{
    GraphicList graphics;
    for (int i = 0; i < count; ++i)
        graphics << madeByTool(GraphicFactory::TextTool, i);
    return designOf(graphics);
}

QByteArray everyKind(int count)
{
    GraphicList front, back;
    for (int i = 0; i < count; ++i) {
        // Pictures are counted as they are decoded, apart from the estimate.
        int tool = 1 + i % (GraphicFactory::ToolCount - 1);
        if (tool == GraphicFactory::PictureFileTool || tool == GraphicFactory::PictureLibraryTool)
            tool = GraphicFactory::TextTool;
        (i % 2 ? back : front) << madeByTool(tool, i);
    }
    return designOf(front, back);
}

// Text elements with `extra` keys of a later version each (read past, kept by the parser).
QByteArray withExtraKeys(int count, int extra)
{
    QByteArray keys;
    for (int k = 0; k < extra; ++k)
        keys += "<key>later_setting_" + QByteArray::number(k) + "</key><real>" + QByteArray::number(k * 1.5) + "</real>";
    return textElements(count).replace("<key>class</key>", keys + "<key>class</key>");
}

// The front elements of an empty design replaced by `element` written `count` times.
QByteArray repeated(const QByteArray &element, int count)
{
    QByteArray xml = designOf({});
    const qsizetype front = xml.lastIndexOf("<array/>", xml.lastIndexOf("<array/>") - 1);
    return xml.replace(front, 8, "<array>" + element.repeated(count) + "</array>");
}

QByteArray spreadsheet(int rows, int columns)
{
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(243, 154);
    for (int c = 0; c < columns; ++c)
        design.Excel_Column_Titles << QStringLiteral("Column %1").arg(c);
    for (int r = 0; r < rows; ++r) {
        QMap<QString, QString> record;
        for (const QString &title : std::as_const(design.Excel_Column_Titles))
            record.insert(title, QStringLiteral("Value %1 of row %2").arg(title).arg(r));
        design.Excel_Records << record;
    }
    for (int i = 0; i < 50; ++i)
        design.graphics << madeByTool(GraphicFactory::TextTool, i);
    return DesignFile::toXml(design);
}

QByteArray longTexts(int count, int length)
{
    GraphicList graphics;
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = madeByTool(GraphicFactory::TextTool, i);
        g->setText(QString(length, QChar(u'a' + i % 26)));
        graphics << g;
    }
    return designOf(graphics);
}

// A picture of `format` whose pixels are noise (so that its file is not small), in the colours
// its format holds.
QImage noisePicture(QImage::Format format, QSize size, quint32 seed)
{
    QImage picture(size, format);
    if (format == QImage::Format_Indexed8) {
        for (int i = 0; i < 256; ++i)
            picture.setColor(i, qRgb(i, 255 - i, (i * 7) % 256));
    } else if (format == QImage::Format_Mono) {
        picture.setColor(0, qRgb(255, 255, 255));
        picture.setColor(1, qRgb(0, 0, 0));
    }
    // Formats whose every bit pattern is a colour take the noise as it is; the others (whose
    // noise could hold no colour, or an impossible premultiplied one) are made from 32-bit noise.
    const bool raw = format == QImage::Format_ARGB32 || format == QImage::Format_Indexed8
                     || format == QImage::Format_Mono || format == QImage::Format_MonoLSB
                     || format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16
                     || format == QImage::Format_RGBA64;
    if (!raw)
        picture = QImage(size, QImage::Format_ARGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y)
        random.fillRange(reinterpret_cast<quint32 *>(picture.scanLine(y)), picture.bytesPerLine() / 4);
    if (!raw)
        picture = picture.convertToFormat(format);
    return picture;
}

GraphicPtr pictureElement(const QImage &picture, const QImage &barcodePicture = QImage())
{
    GraphicPtr g = LMNGraphic::create(GraphicKind::Image);
    g->setBounds(QRectF(10, 10, 100, 80));
    g->_image = picture;
    g->_barcode_image = barcodePicture;
    return g;
}

// A design of picture elements, one for each picture.
CardDesign pictureDesign(const QList<QImage> &pictures)
{
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(243, 154);
    for (const QImage &picture : pictures)
        design.graphics << pictureElement(picture);
    return design;
}

QList<QImage> pictures(QImage::Format format, int count, QSize size, quint32 seed)
{
    QList<QImage> list;
    for (int i = 0; i < count; ++i)
        list << noisePicture(format, size, seed + i);
    return list;
}

// Why Open refuses `path` when a design may cost `limit`, or nothing.
QString openRefusal(const QString &path, qint64 limit)
{
    QString error;
    return DesignFile::read(path, &error, DesignFile::MaximumFileSize, limit) ? QString() : error;
}

} // namespace

// The least cost limit under which Open takes a design back is the least under which Save
// writes it, for every kind of picture a design keeps; one byte less, Save refuses it for the
// reason Open gives. Open is the judge: the file Save would write is opened under limits found
// by halving.
TEST(DesignFileCost, SaveAndOpenDrawTheLineAtTheSamePlaceForEveryKindOfPicture)
{
    struct Case
    {
        const char *what;
        CardDesign design;
    };
    const QSize size(320, 200);
    const QSize large(900, 700);
    // Each picture takes four bytes a pixel while it decodes and what it takes once decoded
    // from then on: with several pictures the order in which they come matters.
    const QImage grey = noisePicture(QImage::Format_Grayscale8, size, 20);
    const QImage colour = noisePicture(QImage::Format_RGB32, size, 21);
    const QImage largeGrey = noisePicture(QImage::Format_Grayscale8, large, 22);
    const QImage largeColour = noisePicture(QImage::Format_ARGB32, large, 23);
    CardDesign bothSides = pictureDesign({});
    bothSides.graphics << pictureElement(colour, largeGrey) << pictureElement(QImage(), grey);
    bothSides.graphics_back << pictureElement(largeGrey, colour) << pictureElement(grey);
    std::vector<Case> cases = {
        {"32-bit with alpha", pictureDesign({noisePicture(QImage::Format_ARGB32, size, 1)})},
        {"32-bit premultiplied", pictureDesign({noisePicture(QImage::Format_ARGB32_Premultiplied, size, 2)})},
        {"32-bit without alpha", pictureDesign({noisePicture(QImage::Format_RGB32, size, 3)})},
        {"8-bit grey", pictureDesign({noisePicture(QImage::Format_Grayscale8, size, 4)})},
        {"8-bit indexed", pictureDesign({noisePicture(QImage::Format_Indexed8, size, 5)})},
        {"one bit a pixel", pictureDesign({noisePicture(QImage::Format_Mono, size, 6)})},
        {"three greys and a 32-bit one",
         pictureDesign({noisePicture(QImage::Format_Grayscale8, size, 7), noisePicture(QImage::Format_Grayscale8, size, 8),
                        noisePicture(QImage::Format_RGB32, size, 9),
                        noisePicture(QImage::Format_Grayscale8, QSize(50, 3000), 10)})},
        {"five greys", pictureDesign(pictures(QImage::Format_Grayscale8, 5, size, 30))},
        {"five indexed", pictureDesign(pictures(QImage::Format_Indexed8, 5, size, 40))},
        {"five of one bit a pixel", pictureDesign(pictures(QImage::Format_Mono, 5, QSize(333, 200), 50))},
        {"the large grey one last", pictureDesign({grey, colour, grey, largeGrey})},
        {"the large grey one first", pictureDesign({largeGrey, grey, colour, grey})},
        {"the large 32-bit one last", pictureDesign({grey, grey, grey, largeColour})},
        {"the large 32-bit one first", pictureDesign({largeColour, grey, grey, grey})},
        {"both sides, with barcode pictures", bothSides},
    };
    // Every other format a picture may come in, each in an odd width (its lines padded).
    for (const QImage::Format format :
         {QImage::Format_MonoLSB, QImage::Format_RGB16, QImage::Format_ARGB8565_Premultiplied, QImage::Format_RGB666,
          QImage::Format_ARGB6666_Premultiplied, QImage::Format_RGB555, QImage::Format_ARGB8555_Premultiplied,
          QImage::Format_RGB888, QImage::Format_RGB444, QImage::Format_ARGB4444_Premultiplied,
          QImage::Format_RGBX8888, QImage::Format_RGBA8888, QImage::Format_RGBA8888_Premultiplied,
          QImage::Format_BGR30, QImage::Format_A2BGR30_Premultiplied, QImage::Format_RGB30,
          QImage::Format_A2RGB30_Premultiplied, QImage::Format_Alpha8, QImage::Format_RGBX64, QImage::Format_RGBA64,
          QImage::Format_RGBA64_Premultiplied, QImage::Format_Grayscale16, QImage::Format_BGR888,
          QImage::Format_RGBX16FPx4, QImage::Format_RGBA16FPx4, QImage::Format_RGBA16FPx4_Premultiplied,
          QImage::Format_RGBX32FPx4, QImage::Format_RGBA32FPx4, QImage::Format_RGBA32FPx4_Premultiplied})
        cases.push_back({QMetaEnum::fromType<QImage::Format>().valueToKey(format),
                         pictureDesign({noisePicture(format, QSize(93, 61), 60 + format),
                                        noisePicture(format, QSize(93, 61), 90 + format)})});
    QTemporaryDir dir;
    const QString asWritten = dir.filePath(QStringLiteral("as-written.dcard"));
    const QString saved = dir.filePath(QStringLiteral("saved.dcard"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const CardDesign &design = c.design;
        TestHelpers::writeFile(asWritten, DesignFile::toXml(design));
        qint64 refused = 0, opens = qint64(1) << 32;
        ASSERT_TRUE(openRefusal(asWritten, opens).isEmpty()) << openRefusal(asWritten, opens).toStdString();
        while (opens - refused > 1) {
            const qint64 middle = (opens + refused) / 2;
            (openRefusal(asWritten, middle).isEmpty() ? opens : refused) = middle;
        }
        const QString reason = openRefusal(asWritten, refused);
        ASSERT_TRUE(reason.contains(QStringLiteral("its pictures would take more memory"))) << reason.toStdString();

        // At the limit: saved, and opened again with the same pictures.
        QString error;
        const bool written = DesignFile::write(saved, design, &error, DesignFile::MaximumFileSize, opens);
        EXPECT_TRUE(written) << error.toStdString();
        const std::optional<CardDesign> back = written ? DesignFile::read(saved, &error, DesignFile::MaximumFileSize, opens)
                                                       : std::nullopt;
        EXPECT_TRUE(back || !written) << error.toStdString();
        for (const auto side : {&CardDesign::graphics, &CardDesign::graphics_back}) {
            if (!back || (*back.*side).size() != (design.*side).size()) {
                EXPECT_FALSE(back) << "elements lost";
                break;
            }
            for (qsizetype i = 0; i < (design.*side).size(); ++i) {
                for (const auto field : {&LMNGraphic::_image, &LMNGraphic::_barcode_image}) {
                    const QImage &before = (design.*side)[i].get()->*field;
                    const QImage &after = (*back.*side)[i].get()->*field;
                    EXPECT_EQ(after.size(), before.size());
                    // As the file keeps it (32-bit colour for most formats).
                    EXPECT_EQ(after, before.convertToFormat(after.format()));
                }
            }
        }

        // One byte over: refused for the reason Open gives, the file as it was.
        TestHelpers::writeFile(saved, "before");
        EXPECT_FALSE(DesignFile::write(saved, design, &error, DesignFile::MaximumFileSize, refused));
        const QString opening = QStringLiteral("The file is too large to be a design: ");
        const QString because = reason.mid(reason.indexOf(opening) + opening.size());
        EXPECT_TRUE(error.endsWith(QStringLiteral("the design is too large: ") + because))
            << error.toStdString() << "\nOpen said: " << reason.toStdString();
        EXPECT_EQ(TestHelpers::readFile(saved), "before");
    }
}

// Designs the editor has saved keep opening under the real limits: the pictures of a design
// are counted as Open's budget counts them, each at four bytes a pixel only while it decodes,
// not all of them at four bytes a pixel at once. Each of these holds seven pictures of some
// 32 million pixels (as large as Qt decodes): 910 MB at four bytes a pixel, far within the
// budget one after the other.
TEST(DesignFileCost, DesignsWithSeveralPicturesOfFewBitsAPixelStillOpen)
{
    struct Case
    {
        const char *what;
        QImage::Format format;
        QRgb colour;
    };
    const Case cases[] = {
        {"seven 8-bit grey scans", QImage::Format_Grayscale8, qRgb(200, 200, 200)},
        {"seven 8-bit indexed pictures", QImage::Format_Indexed8, qRgb(10, 120, 200)},
        {"seven one-bit pictures", QImage::Format_Mono, qRgb(0, 0, 0)},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("scans.dcard"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QImage picture(5700, 5700, c.format);
        if (c.format != QImage::Format_Grayscale8)
            picture.setColorTable({qRgb(255, 255, 255), c.colour});
        picture.fill(c.format == QImage::Format_Grayscale8 ? 200 : 1);
        const QList<QImage> seven(7, picture);
        // Written as the editor has saved it, whatever the limits of its Save.
        const QByteArray xml = DesignFile::toXml(pictureDesign(seven));
        ASSERT_GT(DesignFile::openingCost(xml) + 7 * picture.width() * qint64(picture.height()) * 4,
                  DesignFile::MaximumOpeningCost);
        TestHelpers::writeFile(path, xml);
        QString error;
        const std::optional<CardDesign> design = DesignFile::read(path, &error);
        if (!design || design->graphics.size() != 7) {
            ADD_FAILURE() << "not opened: " << error.toStdString();
            continue;
        }
        for (const GraphicPtr &g : design->graphics)
            EXPECT_EQ(g->_image.pixel(5699, 5699), picture.pixel(5699, 5699));
        // And Save writes it again.
        EXPECT_TRUE(DesignFile::write(path, *design, &error)) << error.toStdString();
    }
}

// Save encodes each picture of a design once, whether the design holds spreadsheet records
// (which are costed against the rest of the design before they join it) or not.
TEST(DesignFileCost, SaveEncodesEachPictureOnce)
{
    const QList<QImage> pictures = {noisePicture(QImage::Format_RGB32, QSize(60, 40), 11),
                                    noisePicture(QImage::Format_Grayscale8, QSize(30, 50), 12),
                                    noisePicture(QImage::Format_ARGB32, QSize(20, 20), 13)};
    QTemporaryDir dir;
    for (const int rows : {0, 50}) {
        SCOPED_TRACE(rows);
        CardDesign design = pictureDesign(pictures);
        for (int i = 0; i < rows; ++i)
            design.Excel_Records.append(QMap<QString, QString>{{QStringLiteral("Name"), QStringLiteral("Guest %1").arg(i)}});
        encodes.clear();
        QString error;
        ASSERT_TRUE(DesignFile::write(dir.filePath(QStringLiteral("pictures.dcard")), design, &error)) << error.toStdString();
        std::map<qint64, int> once;
        for (const QImage &picture : pictures)
            once[picture.cacheKey()] = 1;
        EXPECT_EQ(encodes, once);
    }
}

TEST(DesignFileCost, TheEstimateIsWithinATenthOfWhatOpeningTakes)
{
    if (!HeapCounter::available())
        GTEST_SKIP() << "the heap is counted through the sanitizer's allocator hooks";
    struct Case
    {
        const char *what;
        QByteArray xml;
    };
    const Case cases[] = {
        {"4,000 text elements as the editor makes them", textElements(4000)},
        {"4,000 elements of every kind on both sides", everyKind(4000)},
        {"3,000 text elements with 30 keys of a later version each", withExtraKeys(3000, 30)},
        {"40,000 elements written as <dict/>", repeated("<dict/>", 40000)},
        {"10,000 elements of their kind alone",
         repeated("<dict><key>class</key><string>LMNText</string></dict>", 10000)},
        {"10,000 elements of 52 keys each", [] {
             QByteArray keyed = "<dict><key>class</key><string>Shape_Control</string>";
             for (int k = 1; k < 52; ++k)
                 keyed += "<key>n" + QByteArray::number(k) + "</key><true/>";
             return repeated(keyed + "</dict>", 10000);
         }()},
        {"2,000 spreadsheet records of 8 columns", spreadsheet(2000, 8)},
        {"300 texts of 20,000 characters", longTexts(300, 20000)},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cost.dcard"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TestHelpers::writeFile(path, c.xml);
        const qint64 estimate = DesignFile::openingCost(c.xml);
        qint64 measured = 0;
        {
            HeapCounter heap;
            QString error;
            const std::optional<CardDesign> design = DesignFile::read(path, &error);
            ASSERT_TRUE(design) << error.toStdString();
            measured = heap.peak();
        }
        EXPECT_LE(std::abs(double(estimate - measured)), measured / 10.0)
            << "estimated " << estimate / 1024 << " KiB, opening took " << measured / 1024 << " KiB";
    }
}
