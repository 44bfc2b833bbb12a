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

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>

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
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y)
        random.fillRange(reinterpret_cast<quint32 *>(picture.scanLine(y)), picture.bytesPerLine() / 4);
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied)
        picture = picture.convertToFormat(QImage::Format_ARGB32).convertToFormat(format);
    return picture;
}

// A design of picture elements, one for each picture.
CardDesign pictureDesign(const QList<QImage> &pictures)
{
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(243, 154);
    for (const QImage &picture : pictures) {
        GraphicPtr g = LMNGraphic::create(GraphicKind::Image);
        g->setBounds(QRectF(10, 10, 100, 80));
        g->_image = picture;
        design.graphics << g;
    }
    return design;
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
        QList<QImage> pictures;
    };
    const QSize size(320, 200);
    const Case cases[] = {
        {"32-bit with alpha", {noisePicture(QImage::Format_ARGB32, size, 1)}},
        {"32-bit premultiplied", {noisePicture(QImage::Format_ARGB32_Premultiplied, size, 2)}},
        {"32-bit without alpha", {noisePicture(QImage::Format_RGB32, size, 3)}},
        {"8-bit grey", {noisePicture(QImage::Format_Grayscale8, size, 4)}},
        {"8-bit indexed", {noisePicture(QImage::Format_Indexed8, size, 5)}},
        {"one bit a pixel", {noisePicture(QImage::Format_Mono, size, 6)}},
        {"three greys and a 32-bit one",
         {noisePicture(QImage::Format_Grayscale8, size, 7), noisePicture(QImage::Format_Grayscale8, size, 8),
          noisePicture(QImage::Format_RGB32, size, 9), noisePicture(QImage::Format_Grayscale8, QSize(50, 3000), 10)}},
    };
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("written.dcard"));
    const QString saved = dir.filePath(QStringLiteral("saved.dcard"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const CardDesign design = pictureDesign(c.pictures);
        TestHelpers::writeFile(written, DesignFile::toXml(design));
        qint64 refused = 0, opens = qint64(1) << 32;
        ASSERT_TRUE(openRefusal(written, opens).isEmpty()) << openRefusal(written, opens).toStdString();
        while (opens - refused > 1) {
            const qint64 middle = (opens + refused) / 2;
            (openRefusal(written, middle).isEmpty() ? opens : refused) = middle;
        }
        const QString reason = openRefusal(written, refused);
        ASSERT_TRUE(reason.contains(QStringLiteral("its pictures would take more memory"))) << reason.toStdString();

        // At the limit: saved, and opened again with the same pictures.
        QString error;
        ASSERT_TRUE(DesignFile::write(saved, design, &error, DesignFile::MaximumFileSize, opens)) << error.toStdString();
        const std::optional<CardDesign> back = DesignFile::read(saved, &error, DesignFile::MaximumFileSize, opens);
        ASSERT_TRUE(back) << error.toStdString();
        ASSERT_EQ(back->graphics.size(), c.pictures.size());
        for (qsizetype i = 0; i < c.pictures.size(); ++i)
            EXPECT_EQ(back->graphics[i]->_image.convertToFormat(QImage::Format_ARGB32),
                      c.pictures[i].convertToFormat(QImage::Format_ARGB32));

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
