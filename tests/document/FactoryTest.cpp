#include "CanvasTestSupport.h"

#include "document/GraphicFactory.h"
#include "document/LMNImage.h"

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
    GraphicPtr replace(GraphicKind kind, bool useRect, const QRectF &rect, const QString &value, const QString &id)
    {
        canvas->ReplaceGraphicText(kind, nullptr, useRect, rect, Front, value, id);
        return canvas->_Selected_Graphic;
    }
};

TEST_F(Factory, PlacementCascadesKeepsIdentifiedRectanglesAndSnaps)
{
    // Without a rectangle elements cascade at 50 x 50; newest on top, alone in the selection.
    const GraphicPtr first = create(GraphicKind::Shape, false, {});
    const GraphicPtr second = create(GraphicKind::Shape, false, {});
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->bounds() == QRectF(10, 10, 50, 50) && second->bounds() == QRectF(20, 20, 50, 50));
    EXPECT_EQ(list(), GraphicList({second, first}));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({second}));

    // A given rectangle is kept for identified elements; others take the cascade's origin.
    const GraphicPtr placed = create(GraphicKind::Text, true, QRectF(30, 40, 100, 20), "Hi", "Fup_Name");
    EXPECT_TRUE(placed->bounds() == QRectF(30, 40, 100, 20) && placed->control_ID == "Fup_Name");
    const GraphicPtr cascaded = create(GraphicKind::Text, true, QRectF(30, 40, 100, 20), "Hi");
    EXPECT_TRUE(cascaded->bounds() == QRectF(30, 30, 100, 20) && cascaded->control_ID.isEmpty());

    // The snapping grid rounds origin and far corner of a given rectangle.
    grid.setConstraining(true);
    EXPECT_EQ(create(GraphicKind::Shape, true, QRectF(13, 4, 10, 1), {}, "X")->bounds(), QRectF(9, 0, 18, 9));
}

TEST_F(Factory, AnElementOfZeroSizeIsTakenBackWithoutTrace)
{
    canvas->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(5, 5, 0, 0), Front, {}, "X");
    EXPECT_TRUE(list().isEmpty());
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty());
    EXPECT_EQ(document.undoManager()->count(), 0);

    // Zero in one direction only is a real element (a straight line).
    ASSERT_TRUE(create(GraphicKind::Line, true, QRectF(5, 5, 0, 30), {}, "X"));
    EXPECT_EQ(list().size(), 1);

    // Snapping can collapse a small rectangle to nothing: that too is taken back.
    grid.setConstraining(true);
    canvas->createGraphicOfClass(GraphicKind::Shape, nullptr, true, QRectF(1, 1, 2, 2), Front, {}, "X");
    EXPECT_EQ(list().size(), 1);
}

TEST_F(Factory, TheToolDecidesKindAndShape)
{
    using K = GraphicKind;
    struct Case
    {
        int tool;
        GraphicKind given, made;
        const char *shape;
    };
    const Case cases[] = {{0, K::Text, K::Text, "R"},      {1, K::Line, K::Line, "R"},       {2, K::Text, K::Text, "R"},
                          {3, K::Shape, K::Shape, "R"},    {4, K::Shape, K::Shape, "C"},     {5, K::Shape, K::Shape, "RR"},
                          {6, K::Shape, K::Shape, "T"},    {7, K::Shape, K::Shape, "D"},     {8, K::Text, K::Image, "R"},
                          {9, K::Text, K::Image, "R"},     {10, K::Text, K::Barcode, "R"},   {11, K::Text, K::Signature, "R"},
                          {12, K::Text, K::Signature, "R"}, {13, K::Shape, K::Shape, "S"},   {14, K::Shape, K::Shape, "DS"},
                          {15, K::Shape, K::Shape, "P"}};
    for (const Case &c : cases) {
        host.tool = c.tool;
        const GraphicPtr g = create(c.given, false, {});
        ASSERT_TRUE(g) << c.tool;
        EXPECT_TRUE(g->kind() == c.made && g->Get_shape_type() == c.shape) << "tool " << c.tool;
        if (c.tool == 11 || c.tool == 12) {
            EXPECT_EQ(g->sign_or_fingureprint == "S", c.tool == 11);
        }
    }
    // Shape codes go on whatever class the caller gives (the tool only names the shape).
    host.tool = 4;
    EXPECT_EQ(create(GraphicKind::Text, false, {})->Get_shape_type(), "C");
    EXPECT_EQ(canvas->_Selected_Graphic->kind(), GraphicKind::Text);
}

TEST_F(Factory, PictureToolsTakeTheChosenFileOrThePlaceholder)
{
    QTemporaryDir dir;
    const QString picture = writePicture(dir, "photo.png", QSize(30, 20));
    const int resetsBefore = host.imageControlResets;

    host.tool = 8;
    Library_Selected_Image = picture;
    const GraphicPtr fromFile = create(GraphicKind::Text, false, {});
    EXPECT_TRUE(fromFile->FilePath() == picture && fromFile->_image.size() == QSize(30, 20));

    Library_Selected_Image = dir.filePath("gone.png");
    const GraphicPtr missing = create(GraphicKind::Text, false, {});
    EXPECT_TRUE(missing->kind() == GraphicKind::Image && missing->_image == host.placeholder);

    host.tool = 9;
    const GraphicPtr library = create(GraphicKind::Text, false, {});
    EXPECT_TRUE(library->kind() == GraphicKind::Image && library->_image.isNull()); // no placeholder for the library tool

    host.tool = 11;
    create(GraphicKind::Text, false, {});
    host.tool = 2;
    create(GraphicKind::Text, false, {});
    // Every new picture or signature element resets the picture panel; a text does not.
    EXPECT_EQ(host.imageControlResets - resetsBefore, 4);
}

TEST_F(Factory, TextsTakeTheEditorsContentStyleAndIdentifiersTheirAlignmentAndTitleFont)
{
    host.tool = 2;
    host.contentFont = CardFont("ArialMT", 11);
    host.contentColor = QColor(10, 20, 30);

    const GraphicPtr plain = create(GraphicKind::Text, false, {});
    // Element defaults untouched without a value.
    EXPECT_TRUE(plain->Text_Value == "Text here" && plain->_isDrawingStroke && plain->text_alignmnet == 0 && plain->ctrl_is_visible == 1);
    EXPECT_TRUE(plain->text_ctrl_font == host.contentFont && plain->txt_clr == host.contentColor);

    // A value is shown without fill or border.
    const GraphicPtr valued = create(GraphicKind::Text, false, {}, "Happy birthday");
    EXPECT_TRUE(valued->Text_Value == "Happy birthday" && valued->_Text_contents == "Happy birthday");
    EXPECT_FALSE(valued->_isDrawingFill || valued->_isDrawingStroke);

    const CardFont title("TimesNewRomanPS-BoldItalicMT", 18);
    const std::tuple<const char *, int, bool> parties[] = {
        {"PARTY_TITLE", 2, true}, {"PARTY_TO", 0, false},   {"PARTY_MSG", 0, false},  {"PARTY_DATE", 2, false},
        {"PARTY_TIME", 2, false}, {"PARTY_VENUE", 2, false}, {"PARTY_FROM", 1, false}, {"PARTY_MARRINGE_INFO", 2, true},
        {"Fup_Name", 0, false}};
    for (const auto &[id, alignment, titleFont] : parties) {
        const GraphicPtr g = create(GraphicKind::Text, true, QRectF(30, 40, 200, 20), "x", id);
        EXPECT_EQ(g->text_alignmnet, alignment) << id;
        EXPECT_EQ(g->text_ctrl_font, titleFont ? title : host.contentFont) << id;
    }

    // Only texts take the value.
    host.tool = 3;
    const GraphicPtr shape = create(GraphicKind::Shape, false, {}, "ignored");
    EXPECT_EQ(shape->Text_Value, "Text here");
    EXPECT_TRUE(shape->_isDrawingStroke);
}

TEST_F(Factory, CreationUndoesAndRedoesAsOneStepAndAClickLeavesNothing)
{
    const GraphicPtr g = create(GraphicKind::Shape, false, {});
    EXPECT_EQ(document.undoManager()->count(), 1);
    document.undoManager()->undo();
    EXPECT_TRUE(list().isEmpty() && canvas->selectedGraphics().isEmpty() && !canvas->_Selected_Graphic);
    document.undoManager()->redo();
    EXPECT_TRUE(list() == GraphicList({g}) && canvas->selectedGraphics() == GraphicList({g}));

    list().clear();
    document.undoManager()->clear();
    host.tool = 2;
    click(QPointF(40, 40));
    EXPECT_TRUE(list().isEmpty() && document.undoManager()->count() == 0 && !document.undoManager()->canRedo());
}

TEST_F(Factory, DrawingToolsCreateByDraggingSnapAndReturnToTheArrow)
{
    host.tool = 5; // rounded rectangle
    drag(QPointF(20, 20), QPointF(60, 50));
    ASSERT_EQ(list().size(), 1);
    const GraphicPtr g = list().first();
    EXPECT_TRUE(g->kind() == GraphicKind::Shape && g->Get_shape_type() == "RR" && g->bounds() == QRectF(20, 20, 40, 30));
    EXPECT_TRUE(host.tool == 0 && canvas->_Selected_Graphic == g && host.lastShownProperties == g);
    EXPECT_EQ(document.undoManager()->count(), 1);

    // Dragging up and to the left gives the same kind of rectangle.
    host.tool = 3;
    drag(QPointF(100, 90), QPointF(80, 70));
    EXPECT_EQ(list().first()->bounds(), QRectF(80, 70, 20, 20));
    document.undoManager()->undo();
    document.undoManager()->undo();
    EXPECT_TRUE(list().isEmpty());

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
    const GraphicPtr name = replace(GraphicKind::Text, true, QRectF(30, 40, 100, 20), "Ann", "Fup_Name");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->bounds(), QRectF(30, 40, 100, 20));
    EXPECT_EQ(name->Text_Value, "Ann");

    // Found: bounds stay, the text changes, it is shown again, the selection is left alone.
    name->Set_Ctrl_Is_Visible(0);
    name->_isDrawingStroke = true;
    canvas->selectGraphics({other});
    EXPECT_EQ(replace(GraphicKind::Text, false, QRectF(), "Bob", "Fup_Name"), name);
    EXPECT_EQ(list().size(), 2);
    EXPECT_EQ(name->bounds(), QRectF(30, 40, 100, 20));
    EXPECT_TRUE(name->Text_Value == "Bob" && name->_Text_contents == "Bob" && name->ctrl_is_visible == 1 && !name->_isDrawingStroke);
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({other}));

    // An empty value writes nothing.
    replace(GraphicKind::Text, false, QRectF(), QString(), "Fup_Name");
    EXPECT_EQ(name->Text_Value, "Bob");
}

TEST_F(Factory, ReplaceGivesAFoundPictureOnlyAFileThatExists)
{
    QTemporaryDir dir;
    const QString first = writePicture(dir, "a.png", QSize(8, 8));
    const QString second = writePicture(dir, "b.png", QSize(16, 4));
    host.tool = 8;
    Library_Selected_Image = first;
    const GraphicPtr photo = replace(GraphicKind::Image, true, QRectF(10, 10, 40, 40), first, "Fup_Photo");
    ASSERT_TRUE(photo);
    photo->Set_Ctrl_Is_Visible(0);

    replace(GraphicKind::Image, false, QRectF(), dir.filePath("nope.png"), "Fup_Photo");
    EXPECT_EQ(photo->FilePath(), first);
    EXPECT_EQ(photo->ctrl_is_visible, 0);

    replace(GraphicKind::Image, false, QRectF(), second, "Fup_Photo");
    EXPECT_EQ(photo->FilePath(), second);
    EXPECT_EQ(photo->_image.size(), QSize(16, 4));
    EXPECT_EQ(photo->ctrl_is_visible, 1);
    EXPECT_EQ(list().size(), 1);
}

TEST_F(Factory, IdentifiersAreLookedUpAmongTextsAndPicturesAndProfileElementsHideTogether)
{
    GraphicList found;
    for (GraphicKind kind : {GraphicKind::Shape, GraphicKind::Barcode, GraphicKind::Text, GraphicKind::Text})
        (found << add(QRectF(0, 0, 5, 5), kind)).last()->control_ID = "Fup_Name";
    const GraphicPtr text = found.at(2);
    const GraphicPtr userText = add(QRectF(0, 0, 5, 5), GraphicKind::Text); // drawn by the user: no identifier
    EXPECT_EQ(canvas->Selcect_Ctrl_With_ID("Fup_Name"), text);
    EXPECT_EQ(canvas->Selcect_Ctrl_With_ID("Fup_Title"), nullptr);
    // An empty identifier must never pick up (and let a filler overwrite) the user's own text.
    EXPECT_EQ(canvas->Selcect_Ctrl_With_ID(QString()), nullptr);
    canvas->ReplaceGraphicText(GraphicKind::Text, nullptr, false, QRectF(), Front, "new", QString());
    EXPECT_EQ(userText->Text_Value, "Text here");

    list().clear();
    std::vector<int> visible;
    for (const auto &[kind, id] : {std::pair{GraphicKind::Text, "Fup_Name"}, {GraphicKind::Image, "Fup_Photo"},
                                   {GraphicKind::Shape, "Fup_Website"}, {GraphicKind::Text, "PARTY_TITLE"}})
        add(QRectF(0, 0, 5, 5), kind)->control_ID = QLatin1String(id);
    canvas->Hide_all_Text_control_FUP_Control();
    for (const GraphicPtr &g : list())
        visible.push_back(g->ctrl_is_visible);
    EXPECT_EQ(visible, (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(list().size(), 4);
}
