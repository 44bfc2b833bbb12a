#include "CanvasTestSupport.h"

#include "document/GraphicFactory.h"
#include "document/LMNGraphicArchive.h"
#include "document/PlistDictionary.h"

#include "support/BigPictures.h"
#include "support/ForeignPictures.h"
#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include <QClipboard>
#include <QMimeData>
#include <QScopeGuard>
#include <QTemporaryDir>

class Clipboard : public CanvasTest
{
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        QGuiApplication::clipboard()->clear();
    }

    GraphicPtr text;
    GraphicPtr shape;

    void addTwo()
    {
        text = add(QRectF(10, 20, 100, 30), GraphicKind::Text);
        text->setText(QStringLiteral("Happy birthday, Ann"));
        text->control_ID = QStringLiteral("PARTY_TITLE");
        text->txt_clr = QColor(200, 30, 40);
        text->text_alignmnet = 2;
        shape = add(QRectF(120, 60, 40, 40), GraphicKind::Shape);
        shape->_shape_type = QStringLiteral("S");
        shape->_fillColor = QColor(Qt::blue);
        shape->ctrl_is_locked = true;
        shape->print_object = 1;
    }

    QByteArray clipboardData(const QString &type) const
    {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data ? data->data(type) : QByteArray();
    }
};

TEST_F(Clipboard, CopyPutsABinaryPropertyListOfArchivesAndAPicture)
{
    addTwo();
    canvas->selectGraphics({shape, text});
    key(Qt::Key_C, Qt::ControlModifier);

    const QByteArray archives = clipboardData(LMNGraphicViewPasteboardType);
    ASSERT_TRUE(archives.startsWith("bplist00"));

    // The archive encoder, whose output Python's plistlib reads (LMNGraphicArchiveTest): one
    // element per selected one, in list order.
    const auto read = LMNGraphicArchive::decodeList(archives, nullptr);
    ASSERT_TRUE(read && read->size() == 2);
    EXPECT_EQ(LMNGraphicArchive::encodeList(*read, true), LMNGraphicArchive::encodeList({text, shape}, true));

    QImage picture;
    ASSERT_TRUE(picture.loadFromData(clipboardData(QStringLiteral("image/png")), "PNG"));
    // From the text's left edge to the shape's right edge, plus a little for the stroke.
    EXPECT_TRUE(picture.width() >= 150 && picture.width() <= 160 && picture.height() >= 80 && picture.height() <= 90) << picture.width();
    EXPECT_GT(TestHelpers::countPixelsDifferent(picture, Qt::transparent, picture.rect()), 0);
}

TEST_F(Clipboard, PasteRoundTripsEveryElementAsANewObject)
{
    addTwo();
    canvas->selectGraphics({text, shape});
    canvas->copy();
    canvas->Clear_Control_Selection();
    key(Qt::Key_V, Qt::ControlModifier);

    ASSERT_EQ(list().size(), 4);
    const GraphicPtr pastedText = list().at(0);
    const GraphicPtr pastedShape = list().at(1);
    EXPECT_NE(pastedText, text);
    EXPECT_NE(pastedShape, shape);
    // Every field comes along; landing on the originals, the paste steps aside.
    GraphicList expected{text->clone(), shape->clone()};
    for (const GraphicPtr &g : expected)
        g->setBounds(g->bounds().translated(10, 10));
    EXPECT_EQ(LMNGraphicArchive::encodeList({pastedText, pastedShape}, false), LMNGraphicArchive::encodeList(expected, false));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({pastedText, pastedShape}));

    // The next one steps further.
    canvas->paste();
    EXPECT_EQ(list().at(0)->bounds(), text->bounds().translated(20, 20));

    document.undoManager()->undo();
    document.undoManager()->undo();
    EXPECT_EQ(list(), GraphicList({text, shape}));
    document.undoManager()->redo();
    EXPECT_EQ(list().size(), 4);
    EXPECT_EQ(list().at(0), pastedText) << "redo brings back the same objects";
}

TEST_F(Clipboard, ManyElementsPasteOnTopInTheirOrderSteppingAsideAndSelected)
{
    // Past the few elements a selection or a paste looks up one by one.
    GraphicList originals;
    for (int i = 0; i < 30; ++i)
        originals << add(QRectF(i % 6 * 30, i / 6 * 20.5, 25, 15), GraphicKind::Shape);
    const GraphicPtr locked = add(QRectF(200, 100, 20, 20), GraphicKind::Shape, true);
    canvas->selectAll();
    EXPECT_EQ(canvas->selectedGraphics().size(), 31);
    canvas->selectGraphics(originals);
    canvas->copy();
    canvas->Clear_Control_Selection();

    for (double offset : {10.0, 20.0}) {
        SCOPED_TRACE(offset);
        canvas->paste();
        ASSERT_EQ(list().size(), 31 + 30 * offset / 10);
        const GraphicList pasted = list().mid(0, 30);
        for (int i = 0; i < 30; ++i)
            EXPECT_EQ(pasted.at(i)->bounds(), originals.at(i)->bounds().translated(offset, offset)) << i;
        EXPECT_EQ(canvas->selectedGraphics(), pasted);
        EXPECT_EQ(canvas->_Selected_Graphic, pasted.first());
        EXPECT_FALSE(canvas->isSelected(originals.first()));
    }
    document.undoManager()->undo();
    document.undoManager()->undo();
    EXPECT_EQ(list(), originals + GraphicList{locked});
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty());
    document.undoManager()->redo();
    EXPECT_EQ(canvas->selectedGraphics(), list().mid(0, 30)) << "redo selects what came back";
}

TEST_F(Clipboard, PicturesTravelWithTheirElements)
{
    QTemporaryDir dir;
    QImage image(12, 7, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30));
    const QString path = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(image.save(path));
    host.tool = 8;
    Library_Selected_Image = path;
    canvas->createGraphicOfClass(GraphicKind::Image, nullptr, true, QRectF(5, 5, 24, 14), QStringLiteral("F"), {},
                                 QStringLiteral("Fup_Photo"));
    const GraphicPtr picture = canvas->_Selected_Graphic;
    canvas->copy();
    dir.remove(); // the file is gone; the copy still has its picture
    canvas->paste();
    ASSERT_EQ(list().size(), 2);
    EXPECT_EQ(list().at(0)->kind(), GraphicKind::Image);
    EXPECT_EQ(list().at(0)->FilePath(), path);
    EXPECT_EQ(list().at(0)->_image.size(), QSize(12, 7));
}

TEST_F(Clipboard, CutRemovesAsOneStepAndPastesBackInPlace)
{
    addTwo();
    canvas->selectGraphics({text});
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(list(), GraphicList({shape}));
    EXPECT_EQ(document.undoManager()->count(), 1);

    canvas->paste();
    ASSERT_EQ(list().size(), 2);
    EXPECT_EQ(list().at(0)->bounds(), QRectF(10, 20, 100, 30)) << "nothing there any more: no step aside";

    document.undoManager()->undo(); // the paste
    document.undoManager()->undo(); // the cut
    EXPECT_EQ(list(), GraphicList({text, shape}));
}

TEST_F(Clipboard, NothingToCopyOrPasteLeavesEverythingAlone)
{
    addTwo();
    canvas->copy(); // nothing selected
    EXPECT_FALSE(canvas->canPaste());
    canvas->paste();

    auto *foreign = new QMimeData;
    foreign->setText(QStringLiteral("just text"));
    QGuiApplication::clipboard()->setMimeData(foreign);
    EXPECT_FALSE(canvas->canPaste());
    canvas->paste();
    EXPECT_EQ(list().size(), 2);
    EXPECT_EQ(document.undoManager()->count(), 0);
}

namespace {

// `count` elements as the editor's tools make them, every tool in turn, each in its own place.
GraphicList madeByTheTools(int count)
{
    NewGraphicDefaults defaults;
    defaults.contentFont = CardFont(QStringLiteral("TimesNewRomanPS-BoldMT"), 14);
    defaults.placeholderPicture = QImage(16, 16, QImage::Format_ARGB32);
    defaults.placeholderPicture.fill(QColor(200, 10, 10, 128));
    GraphicList graphics;
    for (int i = 0; i < count; ++i) {
        const int tool = 1 + i % (GraphicFactory::ToolCount - 1);
        const QString value = tool == GraphicFactory::TextTool ? QStringLiteral("Guest %1").arg(i) : QString();
        GraphicPtr g = GraphicFactory::makeGraphic(GraphicFactory::kindForTool(tool), tool, value,
                                                   QStringLiteral("F_%1").arg(i), defaults);
        g->setBounds(QRectF(i % 200, i / 200, 40, 20));
        graphics << g;
    }
    return graphics;
}

// The values of a property-list tree as reading counts them: every reference again.
std::uint64_t referencesBelow(plist_t node)
{
    std::uint64_t count = 0;
    if (plist_get_node_type(node) == PLIST_ARRAY) {
        for (uint32_t i = 0; i < plist_array_get_size(node); ++i)
            count += 1 + referencesBelow(plist_array_get_item(node, i));
    } else if (plist_get_node_type(node) == PLIST_DICT) {
        PlistDictionary::forEach(node, [&](const char *, plist_t value) { count += 2 + referencesBelow(value); });
    }
    return count;
}

} // namespace

TEST_F(Clipboard, WhatCopyPutsOnTheClipboardPasteTakesOrCopySaysItIsTooLarge)
{
    // The most elements whose archive holds no more values than Paste reads.
    const GraphicList made = madeByTheTools(LMNGraphicArchive::MaximumValuesInElements * 3 / 2);
    std::uint64_t values = 1;
    int fit = 0;
    for (; fit < made.size(); ++fit) {
        plist_t dict = LMNGraphicArchive::encode(*made[fit]);
        const std::uint64_t more = 1 + referencesBelow(dict);
        plist_free(dict);
        if (values + more > LMNGraphicArchive::MaximumValues)
            break;
        values += more;
    }
    ASSERT_LT(fit, made.size());
    // The documented figure is within 10% of what fits.
    EXPECT_NEAR(fit, LMNGraphicArchive::MaximumValuesInElements, LMNGraphicArchive::MaximumValuesInElements / 10);

    struct Case
    {
        const char *what;
        int count;
        bool copied;
    };
    const Case cases[] = {
        {"as many as fit", fit, true},
        {"one more", fit + 1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QGuiApplication::clipboard()->clear();
        list() = made.mid(0, c.count);
        canvas->selectAll();
        ScriptedModalSeam seam;
        key(Qt::Key_X, Qt::ControlModifier);
        const bool copied = canvas->canPaste();
        EXPECT_EQ(copied, c.copied);
        if (!copied) {
            // Refused at once, naming the limit; the cut takes nothing away.
            ASSERT_EQ(seam.messageTexts().size(), 1);
            EXPECT_TRUE(seam.messageTexts()[0].contains(QLocale().toString(qulonglong(LMNGraphicArchive::MaximumValues))))
                << seam.messageTexts()[0].toStdString();
            EXPECT_EQ(list().size(), c.count);
            EXPECT_EQ(document.undoManager()->count(), 0);
            continue;
        }
        EXPECT_TRUE(list().isEmpty());
        canvas->paste();
        EXPECT_TRUE(seam.messageTexts().isEmpty()) << seam.messageTexts().join('\n').toStdString();
        ASSERT_EQ(list().size(), c.count);
        for (int i = 0; i < c.count; i += c.count / 7)
            EXPECT_EQ(list().at(i)->control_ID, made.at(i)->control_ID);
        document.undoManager()->clear();
    }
}

// Plain elements hold few values: the count of elements, not of values, is the limit they
// meet. Copy refuses one more than Paste reads, in a message with the counts written the
// locale's way and the noun in its plural form.
TEST_F(Clipboard, CopyRefusesMoreElementsThanPasteReads)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto restore = qScopeGuard([&before] { QLocale::setDefault(before); });
    // Plain elements of no settings but where they lie and that they show, as an archive of
    // dictionaries of those keys gives them.
    const int count = int(LMNGraphicArchive::MaximumElements) + 1;
    plist_t empty = plist_new_dict();
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphicArchive::decode(empty, nullptr);
        ASSERT_TRUE(g);
        g->ctrl_is_visible = true;
        g->setBounds(QRectF(i % 200, i / 200, 10, 10));
        list().append(g);
    }
    plist_free(empty);
    // Far within the values Paste reads: only the count of elements stands in the way.
    plist_t one = LMNGraphicArchive::encode(*list().first());
    EXPECT_LT((1 + referencesBelow(one)) * std::uint64_t(count), LMNGraphicArchive::MaximumValues);
    plist_free(one);

    canvas->selectAll();
    ScriptedModalSeam seam;
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(canvas->canPaste());
    EXPECT_TRUE(clipboardData(LMNGraphicViewPasteboardType).isEmpty());
    ASSERT_EQ(seam.messageTexts().size(), 1);
    EXPECT_TRUE(seam.messageTexts()[0].contains(
        QStringLiteral("The 50,001 selected elements cannot be copied: Paste reads at most 50,000 elements.")))
        << seam.messageTexts()[0].toStdString();
}

// Paste counts each picture at four bytes a pixel only while it decodes, then at what it takes
// decoded: pictures of few bits a pixel that Paste takes, Copy takes too. Five pictures of
// 5700 x 5700 pixels: 650 MB at four bytes a pixel, at most 260 MB (grey) while they are pasted.
TEST_F(Clipboard, CopyTakesThePicturesOfFewBitsAPixelPasteTakes)
{
    for (const QImage::Format format : {QImage::Format_Grayscale8, QImage::Format_Mono}) {
        SCOPED_TRACE(format);
        list().clear();
        QImage picture(5700, 5700, format);
        picture.fill(format == QImage::Format_Mono ? 1 : 90);
        ASSERT_GT(5 * qint64(picture.width()) * picture.height() * 4, LMNGraphicArchive::MaximumPictureBytes);
        for (int i = 0; i < 5; ++i)
            add(QRectF(i, i, 20, 20), GraphicKind::Image)->_image = picture;
        canvas->selectAll();
        ScriptedModalSeam seam;
        canvas->copy();
        EXPECT_TRUE(seam.messageTexts().isEmpty()) << seam.messageTexts().value(0).toStdString();
        ASSERT_TRUE(canvas->canPaste());
        canvas->paste();
        ASSERT_EQ(list().size(), 10);
        EXPECT_EQ(list().at(0)->_image.pixel(5699, 5699), picture.pixel(5699, 5699));
    }
}

TEST_F(Clipboard, CopyRefusesPicturesThatPasteWouldNotDecode)
{
    // Each picture decodes at four bytes a pixel; together they pass what Paste gives pictures
    // (which one fewer would not: Paste takes those, see PicturesTravelWithTheirElements). One
    // element's pictures are "its", several elements' "their".
    const int side = 4096;
    const int count = int(LMNGraphicArchive::MaximumPictureBytes / (qint64(side) * side * 4)) + 1;
    struct Case
    {
        int elements;
        QImage picture;
        QString said;
    };
    QImage colour(side, side, QImage::Format_ARGB32), oneBit(12000, 12000, QImage::Format_Mono);
    colour.fill(Qt::white);
    oneBit.fill(0);
    const QString limit = QStringLiteral("%1 MB").arg(LMNGraphicArchive::MaximumPictureBytes >> 20);
    const Case cases[] = {
        {count, colour, QStringLiteral("The %1 selected elements cannot be copied: their pictures would take more than the %2")
                            .arg(count)
                            .arg(limit)},
        {1, oneBit, QStringLiteral("The 1 selected element cannot be copied: its pictures would take more than the %1").arg(limit)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.elements);
        list().clear();
        for (int i = 0; i < c.elements; ++i) {
            GraphicPtr g = add(QRectF(i, i, 20, 20), GraphicKind::Image);
            g->_image = c.picture;
        }
        canvas->selectAll();
        ScriptedModalSeam seam;
        canvas->copy();
        EXPECT_FALSE(canvas->canPaste());
        ASSERT_EQ(seam.messageTexts().size(), 1);
        EXPECT_TRUE(seam.messageTexts()[0].contains(c.said)) << seam.messageTexts()[0].toStdString();
        EXPECT_EQ(list().size(), c.elements) << "nothing pasted";
    }
}

// Every picture Copy takes comes back from Paste pixel for pixel, past Qt's own limit too:
// phone photos, a grey scan, a large PNG, a QR Code made at 2400 dpi.
TEST_F(Clipboard, LargePicturesPasteBackPixelForPixel)
{
    for (const BigPictures::Kind kind : BigPictures::all()) {
        SCOPED_TRACE(BigPictures::name(kind));
        list().clear();
        const bool barcode = kind == BigPictures::Kind::QrCode;
        const GraphicPtr g = add(QRectF(10, 10, 80, 60), barcode ? GraphicKind::Barcode : GraphicKind::Image);
        QImage &held = barcode ? g->_barcode_image : g->_image;
        held = BigPictures::picture(kind);
        ASSERT_FALSE(held.isNull());
        canvas->selectGraphics({g});
        ScriptedModalSeam seam;
        canvas->copy();
        canvas->paste();
        EXPECT_TRUE(seam.messageTexts().isEmpty()) << seam.messageTexts().value(0).toStdString();
        ASSERT_EQ(list().size(), 2);
        const QImage &pasted = barcode ? list().at(0)->_barcode_image : list().at(0)->_image;
        ASSERT_EQ(pasted.size(), held.size());
        EXPECT_TRUE(pasted.convertToFormat(held.format()) == held);
    }
}

// A copied element whose picture data cannot be read (written by another program, damaged, of
// a kind not read) is pasted without it, and a message names it and says why. SVG data naming
// a picture of this disk or a FIFO opens neither; the five kinds read, as another program
// writes them, paste, TIFF in either byte order.
TEST_F(Clipboard, PastedElementsWhosePicturesCannotBeReadAreNamed)
{
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    struct Row
    {
        QString name;
        QByteArray data;
        QString reason;   // "" for a picture read: yellow, 16 x 16 pixels
    };
    QList<Row> rows = {{QStringLiteral("damaged"), BigPictures::damagedPng(),
                        QStringLiteral("it is 16 x 16 pixels, but its picture data cannot be read")}};
    for (const auto &[name, svg] : named.svgs())
        rows.append({name, svg, ForeignPictures::notReadReason()});
    for (const QString &kind : ForeignPictures::readKinds())
        rows.append({kind, ForeignPictures::writtenByPillow(kind, QStringLiteral("yellow")), QString()});
    rows.append({QStringLiteral("big-endian TIFF"), ForeignPictures::bigEndianTiff(QColor(Qt::yellow).rgb()), QString()});
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        auto *data = new QMimeData;
        data->setData(LMNGraphicViewPasteboardType,
                      ForeignPictures::archiveHolding(QStringLiteral("LMNImage"), QStringLiteral("_image"), row.data));
        QGuiApplication::clipboard()->setMimeData(data);
        ScriptedModalSeam seam;
        const qsizetype before = list().size();
        canvas->paste();
        ASSERT_EQ(list().size(), before + 2);
        const GraphicList selected = canvas->selectedGraphics();
        ASSERT_EQ(selected.size(), 2);
        const GraphicPtr pasted = selected.at(0)->kind() == GraphicKind::Image ? selected.at(0) : selected.at(1);
        if (row.reason.isEmpty()) {
            EXPECT_TRUE(seam.messageTexts().isEmpty()) << seam.messageTexts().value(0).toStdString();
            ASSERT_EQ(pasted->_image.size(), QSize(16, 16));
            TestHelpers::expectPixels(pasted->_image, {{0, 0, QColor(Qt::yellow)}, {15, 15, QColor(Qt::yellow)}});
            continue;
        }
        EXPECT_TRUE(pasted->_image.isNull());
        ASSERT_EQ(seam.messageTexts().size(), 1);
        EXPECT_TRUE(seam.messageTexts()[0].contains(QStringLiteral("Element 2 (a picture) lost its picture: ") + row.reason))
            << seam.messageTexts()[0].toStdString();
    }
    EXPECT_EQ(named.fifoOpened(), 0);
}
