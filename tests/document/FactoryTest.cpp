#include "CanvasTestSupport.h"

#include "document/GraphicFactory.h"
#include "document/LMNImage.h"

#include <QTemporaryDir>

namespace {

const QString Front = QStringLiteral("F");

QString writePicture(const QTemporaryDir &dir, const QString &name, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
}

} // namespace

class Factory : public CanvasTest
{
protected:
    // The factory with no mouse event, as the program's own fillers call it.
    GraphicPtr create(GraphicKind kind, bool useRect, const QRectF &rect, const QString &value = {},
                      const QString &id = {})
    {
        canvas->createGraphicOfClass(kind, nullptr, useRect, rect, Front, value, id);
        return canvas->_Selected_Graphic;
    }
};

TEST_F(Factory, WithoutRectangleElementsCascadeAt50By50)
{
    const GraphicPtr first = create(GraphicKind::Shape, false, {});
    const GraphicPtr second = create(GraphicKind::Shape, false, {});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->bounds(), QRectF(10, 10, 50, 50));
    EXPECT_EQ(second->bounds(), QRectF(20, 20, 50, 50));
    // Newest on top, alone in the selection.
    EXPECT_EQ(list(), GraphicList({second, first}));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({second}));
}

TEST_F(Factory, GivenRectangleIsKeptForIdentifiedElementsAndCascadedOtherwise)
{
    const GraphicPtr placed = create(GraphicKind::Text, true, QRectF(30, 40, 100, 20), QStringLiteral("Hi"),
                                     QStringLiteral("Fup_Name"));
    EXPECT_EQ(placed->bounds(), QRectF(30, 40, 100, 20));
    EXPECT_EQ(placed->control_ID, QStringLiteral("Fup_Name"));

    const GraphicPtr cascaded = create(GraphicKind::Text, true, QRectF(30, 40, 100, 20), QStringLiteral("Hi"));
    EXPECT_EQ(cascaded->bounds(), QRectF(10, 10, 100, 20)); // origin from the cascade, size kept
    EXPECT_EQ(cascaded->control_ID, QString());
}

TEST_F(Factory, SnappingGridRoundsOriginAndFarCornerOfAGivenRectangle)
{
    grid.setConstraining(true);
    const GraphicPtr g = create(GraphicKind::Shape, true, QRectF(13, 4, 10, 1), {}, QStringLiteral("X"));
    EXPECT_EQ(g->bounds(), QRectF(9, 0, 18, 9));
}

TEST_F(Factory, AnElementOfZeroSizeIsTakenBackWithoutTrace)
{
    canvas->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(5, 5, 0, 0), Front, {}, QStringLiteral("X"));
    EXPECT_TRUE(list().isEmpty());
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty());
    EXPECT_EQ(document.undoManager()->count(), 0);

    // Zero in one direction only is a real element (a straight line).
    const GraphicPtr line = create(GraphicKind::Line, true, QRectF(5, 5, 0, 30), {}, QStringLiteral("X"));
    ASSERT_TRUE(line);
    EXPECT_EQ(list().size(), 1);

    // Snapping can collapse a small rectangle to nothing: that too is taken back.
    grid.setConstraining(true);
    canvas->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(1, 1, 2, 2), Front, {}, QStringLiteral("X"));
    EXPECT_EQ(list().size(), 1);
}

TEST_F(Factory, TheToolDecidesKindAndShape)
{
    struct Case
    {
        int tool;
        GraphicKind given;
        GraphicKind made;
        QString shape;
    };
    const QList<Case> cases = {
        {0, GraphicKind::Text, GraphicKind::Text, QStringLiteral("R")},
        {1, GraphicKind::Line, GraphicKind::Line, QStringLiteral("R")},
        {2, GraphicKind::Text, GraphicKind::Text, QStringLiteral("R")},
        {3, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("R")},
        {4, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("C")},
        {5, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("RR")},
        {6, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("T")},
        {7, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("D")},
        {8, GraphicKind::Text, GraphicKind::Image, QStringLiteral("R")},
        {9, GraphicKind::Text, GraphicKind::Image, QStringLiteral("R")},
        {10, GraphicKind::Text, GraphicKind::Barcode, QStringLiteral("R")},
        {11, GraphicKind::Text, GraphicKind::Signature, QStringLiteral("R")},
        {12, GraphicKind::Text, GraphicKind::Signature, QStringLiteral("R")},
        {13, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("S")},
        {14, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("DS")},
        {15, GraphicKind::Shape, GraphicKind::Shape, QStringLiteral("P")},
    };
    for (const Case &c : cases) {
        host.tool = c.tool;
        const GraphicPtr g = create(c.given, false, {});
        ASSERT_TRUE(g) << c.tool;
        EXPECT_EQ(g->kind(), c.made) << "tool " << c.tool;
        EXPECT_EQ(g->Get_shape_type(), c.shape) << "tool " << c.tool;
        if (c.tool == 11) {
            EXPECT_EQ(g->sign_or_fingureprint, QStringLiteral("S"));
        } else if (c.tool == 12) {
            EXPECT_NE(g->sign_or_fingureprint, QStringLiteral("S"));
        }
    }
    // Shape codes go on whatever class the caller gives (the tool only names the shape).
    host.tool = 4;
    EXPECT_EQ(create(GraphicKind::Text, false, {})->Get_shape_type(), QStringLiteral("C"));
    EXPECT_EQ(canvas->_Selected_Graphic->kind(), GraphicKind::Text);
}

TEST_F(Factory, PictureToolsTakeTheChosenFileOrThePlaceholder)
{
    QTemporaryDir dir;
    const QString picture = writePicture(dir, QStringLiteral("photo.png"), QSize(30, 20));
    const int resetsBefore = host.imageControlResets;

    host.tool = 8;
    Library_Selected_Image = picture;
    const GraphicPtr fromFile = create(GraphicKind::Text, false, {});
    EXPECT_EQ(fromFile->FilePath(), picture);
    EXPECT_EQ(fromFile->_image.size(), QSize(30, 20));

    Library_Selected_Image = dir.filePath(QStringLiteral("gone.png"));
    const GraphicPtr missing = create(GraphicKind::Text, false, {});
    EXPECT_EQ(missing->kind(), GraphicKind::Image);
    EXPECT_EQ(missing->_image, host.placeholder);

    host.tool = 9;
    const GraphicPtr library = create(GraphicKind::Text, false, {});
    EXPECT_EQ(library->kind(), GraphicKind::Image);
    EXPECT_TRUE(library->_image.isNull()); // no placeholder for the library tool

    host.tool = 11;
    create(GraphicKind::Text, false, {});
    host.tool = 2;
    create(GraphicKind::Text, false, {});
    // Every new picture or signature element resets the picture panel; a text does not.
    EXPECT_EQ(host.imageControlResets - resetsBefore, 4);
}

TEST_F(Factory, ATextGivenAValueShowsItWithoutFillOrBorderInTheEditorsContentStyle)
{
    host.tool = 2;
    host.contentFont = CardFont(QStringLiteral("ArialMT"), 11);
    host.contentColor = QColor(10, 20, 30);

    const GraphicPtr plain = create(GraphicKind::Text, false, {});
    EXPECT_EQ(plain->Text_Value, QStringLiteral("Text here"));
    EXPECT_TRUE(plain->_isDrawingStroke); // element defaults untouched without a value
    EXPECT_EQ(plain->text_ctrl_font, host.contentFont);
    EXPECT_EQ(plain->txt_clr, host.contentColor);
    EXPECT_EQ(plain->text_alignmnet, 0);
    EXPECT_EQ(plain->ctrl_is_visible, 1);

    const GraphicPtr valued = create(GraphicKind::Text, false, {}, QStringLiteral("Happy birthday"));
    EXPECT_EQ(valued->Text_Value, QStringLiteral("Happy birthday"));
    EXPECT_EQ(valued->_Text_contents, QStringLiteral("Happy birthday"));
    EXPECT_FALSE(valued->_isDrawingFill);
    EXPECT_FALSE(valued->_isDrawingStroke);

    // Only texts take the value.
    host.tool = 3;
    const GraphicPtr shape = create(GraphicKind::Shape, false, {}, QStringLiteral("ignored"));
    EXPECT_EQ(shape->Text_Value, QStringLiteral("Text here"));
    EXPECT_TRUE(shape->_isDrawingStroke);
}

TEST_F(Factory, PartyIdentifiersStyleAlignmentAndTitleFont)
{
    host.tool = 2;
    host.contentFont = CardFont(QStringLiteral("ArialMT"), 11);
    const CardFont title(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18);
    struct Case
    {
        const char *id;
        int alignment;
        bool titleFont;
    };
    for (const Case &c : {Case{"PARTY_TITLE", 2, true}, Case{"PARTY_TO", 0, false}, Case{"PARTY_MSG", 0, false},
                          Case{"PARTY_DATE", 2, false}, Case{"PARTY_TIME", 2, false}, Case{"PARTY_VENUE", 2, false},
                          Case{"PARTY_FROM", 1, false}, Case{"PARTY_MARRINGE_INFO", 2, true},
                          Case{"Fup_Name", 0, false}}) {
        const GraphicPtr g = create(GraphicKind::Text, true, QRectF(30, 40, 200, 20), QStringLiteral("x"),
                                    QString::fromLatin1(c.id));
        EXPECT_EQ(g->text_alignmnet, c.alignment) << c.id;
        EXPECT_EQ(g->text_ctrl_font, c.titleFont ? title : host.contentFont) << c.id;
    }
}

TEST_F(Factory, PartyStackOfTheWizardComesOutInReverseOrder)
{
    // The wizard's worked example: a card 360 points wide, every answer given.
    canvas->setCanvasSize(QSizeF(360, 252));
    host.tool = 2;
    document.disableUndoRegistration();
    const double W = 280;
    const QList<std::pair<QString, QRectF>> stack = {
        {QStringLiteral("PARTY_TITLE"), QRectF(40, 40, W, 30)}, {QStringLiteral("PARTY_TO"), QRectF(30, 90, W, 20)},
        {QStringLiteral("PARTY_MSG"), QRectF(50, 120, W, 80)},  {QStringLiteral("PARTY_DATE"), QRectF(30, 200, W, 20)},
        {QStringLiteral("PARTY_VENUE"), QRectF(30, 230, W, 60)}, {QStringLiteral("PARTY_FROM"), QRectF(40, 300, W, 40)},
    };
    for (const auto &[id, rect] : stack)
        create(GraphicKind::Text, true, rect, id + QStringLiteral(" text"), id);
    document.enableUndoRegistration();

    ASSERT_EQ(list().size(), 6);
    for (int i = 0; i < 6; ++i) {
        const auto &[id, rect] = stack.at(5 - i);
        EXPECT_EQ(list().at(i)->control_ID, id);
        EXPECT_EQ(list().at(i)->bounds(), rect); // identified elements keep their rectangle
    }
    EXPECT_EQ(canvas->_Selected_Graphic, list().first());
    EXPECT_EQ(document.undoManager()->count(), 0) << "the wizard's elements cannot be undone";
}

TEST_F(Factory, CreationUndoesAndRedoesAsOneStep)
{
    const GraphicPtr g = create(GraphicKind::Shape, false, {});
    EXPECT_EQ(document.undoManager()->count(), 1);
    document.undoManager()->undo();
    EXPECT_TRUE(list().isEmpty());
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty());
    EXPECT_EQ(canvas->_Selected_Graphic, nullptr);
    document.undoManager()->redo();
    EXPECT_EQ(list(), GraphicList({g}));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({g}));
}

TEST_F(Factory, DrawingToolsCreateByDraggingAndReturnToTheArrow)
{
    host.tool = 5; // rounded rectangle
    drag(QPointF(20, 20), QPointF(60, 50));
    ASSERT_EQ(list().size(), 1);
    const GraphicPtr g = list().first();
    EXPECT_EQ(g->kind(), GraphicKind::Shape);
    EXPECT_EQ(g->Get_shape_type(), QStringLiteral("RR"));
    EXPECT_EQ(g->bounds(), QRectF(20, 20, 40, 30));
    EXPECT_EQ(host.tool, 0);
    EXPECT_EQ(canvas->_Selected_Graphic, g);
    EXPECT_EQ(host.lastShownProperties, g);
    EXPECT_EQ(document.undoManager()->count(), 1);

    // Dragging up and to the left gives the same kind of rectangle.
    host.tool = 3;
    drag(QPointF(100, 90), QPointF(80, 70));
    EXPECT_EQ(list().first()->bounds(), QRectF(80, 70, 20, 20));

    document.undoManager()->undo();
    document.undoManager()->undo();
    EXPECT_TRUE(list().isEmpty());
}

TEST_F(Factory, AClickWithADrawingToolLeavesNothing)
{
    host.tool = 2;
    click(QPointF(40, 40));
    EXPECT_TRUE(list().isEmpty());
    EXPECT_EQ(document.undoManager()->count(), 0);
    EXPECT_FALSE(document.undoManager()->canRedo());
}

TEST_F(Factory, DraggedElementsSnapToTheGrid)
{
    grid.setConstraining(true);
    host.tool = 3;
    drag(QPointF(12, 14), QPointF(50, 33));
    ASSERT_EQ(list().size(), 1);
    EXPECT_EQ(list().first()->bounds(), QRectF(9, 18, 45, 18));
}

TEST_F(Factory, DrawnLinesFollowTheDragsDirection)
{
    struct Case
    {
        QPointF from, to;
        int orientation;
    };
    for (const Case &c : {Case{{20, 40}, {120, 42}, 0}, Case{{60, 10}, {61, 120}, 1}, Case{{20, 20}, {80, 90}, 2},
                          Case{{20, 90}, {80, 20}, 3}, Case{{80, 20}, {20, 90}, 3}}) {
        host.tool = 1;
        drag(c.from, c.to);
        EXPECT_EQ(list().first()->kind(), GraphicKind::Line);
        EXPECT_EQ(list().first()->_line_ori, c.orientation) << c.from.x() << "," << c.from.y();
    }
}

TEST_F(Factory, ReplaceWritesIntoTheIdentifiedElementOrCreatesIt)
{
    host.tool = 2;
    const GraphicPtr other = add(QRectF(0, 0, 20, 20));
    canvas->selectGraphics({other});

    canvas->ReplaceGraphicText(GraphicKind::Text, nullptr, true, QRectF(30, 40, 100, 20), Front,
                               QStringLiteral("Ann"), QStringLiteral("Fup_Name"));
    const GraphicPtr name = canvas->_Selected_Graphic;
    ASSERT_TRUE(name);
    EXPECT_EQ(name->bounds(), QRectF(30, 40, 100, 20));
    EXPECT_EQ(name->Text_Value, QStringLiteral("Ann"));

    // Found: bounds stay, the text changes, it is shown again, the selection is left alone.
    name->Set_Ctrl_Is_Visible(0);
    name->_isDrawingStroke = true;
    canvas->selectGraphics({other});
    canvas->ReplaceGraphicText(GraphicKind::Text, nullptr, false, QRectF(), Front, QStringLiteral("Bob"),
                               QStringLiteral("Fup_Name"));
    EXPECT_EQ(list().size(), 2);
    EXPECT_EQ(name->bounds(), QRectF(30, 40, 100, 20));
    EXPECT_EQ(name->Text_Value, QStringLiteral("Bob"));
    EXPECT_EQ(name->_Text_contents, QStringLiteral("Bob"));
    EXPECT_EQ(name->ctrl_is_visible, 1);
    EXPECT_FALSE(name->_isDrawingStroke);
    EXPECT_EQ(canvas->_Selected_Graphic, name);
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({other}));

    // An empty value writes nothing.
    canvas->ReplaceGraphicText(GraphicKind::Text, nullptr, false, QRectF(), Front, QString(), QStringLiteral("Fup_Name"));
    EXPECT_EQ(name->Text_Value, QStringLiteral("Bob"));
}

TEST_F(Factory, ReplaceGivesAFoundPictureOnlyAFileThatExists)
{
    QTemporaryDir dir;
    const QString first = writePicture(dir, QStringLiteral("a.png"), QSize(8, 8));
    const QString second = writePicture(dir, QStringLiteral("b.png"), QSize(16, 4));
    host.tool = 8;
    Library_Selected_Image = first;
    canvas->ReplaceGraphicText(GraphicKind::Image, nullptr, true, QRectF(10, 10, 40, 40), Front, first,
                               QStringLiteral("Fup_Photo"));
    const GraphicPtr photo = canvas->_Selected_Graphic;
    ASSERT_TRUE(photo);
    photo->Set_Ctrl_Is_Visible(0);

    canvas->ReplaceGraphicText(GraphicKind::Image, nullptr, false, QRectF(), Front, dir.filePath("nope.png"),
                               QStringLiteral("Fup_Photo"));
    EXPECT_EQ(photo->FilePath(), first);
    EXPECT_EQ(photo->ctrl_is_visible, 0);

    canvas->ReplaceGraphicText(GraphicKind::Image, nullptr, false, QRectF(), Front, second,
                               QStringLiteral("Fup_Photo"));
    EXPECT_EQ(photo->FilePath(), second);
    EXPECT_EQ(photo->_image.size(), QSize(16, 4));
    EXPECT_EQ(photo->ctrl_is_visible, 1);
    EXPECT_EQ(list().size(), 1);
}

TEST_F(Factory, IdentifiersAreLookedUpAmongTextsAndPicturesOnly)
{
    const GraphicPtr shape = add(QRectF(0, 0, 5, 5), GraphicKind::Shape);
    const GraphicPtr barcode = add(QRectF(0, 0, 5, 5), GraphicKind::Barcode);
    const GraphicPtr text = add(QRectF(0, 0, 5, 5), GraphicKind::Text);
    const GraphicPtr laterText = add(QRectF(0, 0, 5, 5), GraphicKind::Text);
    const GraphicPtr userText = add(QRectF(0, 0, 5, 5), GraphicKind::Text); // drawn by the user: no identifier
    for (const GraphicPtr &g : {shape, barcode, text, laterText})
        g->control_ID = QStringLiteral("Fup_Name");

    EXPECT_EQ(canvas->Selcect_Ctrl_With_ID(QStringLiteral("Fup_Name")), text);
    EXPECT_EQ(canvas->Selcect_Ctrl_With_ID(QStringLiteral("Fup_Title")), nullptr);
    // An empty identifier must never pick up (and let a filler overwrite) the user's own text.
    EXPECT_EQ(canvas->Selcect_Ctrl_With_ID(QString()), nullptr);
    canvas->ReplaceGraphicText(GraphicKind::Text, nullptr, false, QRectF(), Front, QStringLiteral("new"), QString());
    EXPECT_EQ(userText->Text_Value, QStringLiteral("Text here"));
}

TEST_F(Factory, ProfileElementsAreHiddenTogether)
{
    const GraphicPtr name = add(QRectF(0, 0, 5, 5), GraphicKind::Text);
    const GraphicPtr photo = add(QRectF(0, 0, 5, 5), GraphicKind::Image);
    const GraphicPtr shape = add(QRectF(0, 0, 5, 5), GraphicKind::Shape);
    const GraphicPtr party = add(QRectF(0, 0, 5, 5), GraphicKind::Text);
    name->control_ID = QStringLiteral("Fup_Name");
    photo->control_ID = QStringLiteral("Fup_Photo");
    shape->control_ID = QStringLiteral("Fup_Website");
    party->control_ID = QStringLiteral("PARTY_TITLE");

    canvas->Hide_all_Text_control_FUP_Control();
    EXPECT_EQ(name->ctrl_is_visible, 0);
    EXPECT_EQ(photo->ctrl_is_visible, 0);
    EXPECT_EQ(shape->ctrl_is_visible, 1);
    EXPECT_EQ(party->ctrl_is_visible, 1);
    EXPECT_EQ(list().size(), 4);
}
