#include "CanvasTestSupport.h"

#include "document/LMNGraphicArchive.h"

#include "support/TestHelpers.h"

#include <QClipboard>
#include <QMimeData>

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
