#include "CanvasTestSupport.h"

#include "support/TestHelpers.h"

#include <functional>
#include <vector>

using CanvasMouse = CanvasTest;

TEST_F(CanvasMouse, ClickSelectsTheTopmostVisibleElementAndReportsIt)
{
    const GraphicPtr top = add(QRectF(10, 10, 50, 50));
    const GraphicPtr below = add(QRectF(30, 30, 50, 50));
    const GraphicPtr hidden = add(QRectF(70, 70, 30, 30));
    hidden->Set_Ctrl_Is_Visible(0);
    list().move(2, 0); // hidden and topmost: never hit

    click(QPointF(40, 40)); // overlap of top and below
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({top}));
    EXPECT_TRUE(canvas->_Selected_Graphic == top && host.lastShownProperties == top);

    click(QPointF(75, 75));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({below}));

    // Empty space: nothing selected, the card is shown in the panel.
    click(QPointF(200, 140));
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty() && !canvas->_Selected_Graphic && !host.lastShownProperties);
}

// Every road to a selection tells the editor what is selected, as a click does: the panel and
// the edit commands follow the topmost selected element, or the card when nothing is left.
TEST_F(CanvasMouse, EveryRoadToASelectionReportsItsPrimaryElement)
{
    const GraphicPtr a = add(QRectF(10, 10, 20, 20));
    const GraphicPtr b = add(QRectF(50, 10, 20, 20));
    const GraphicPtr c = add(QRectF(90, 80, 20, 20));
    struct Row
    {
        const char *name;
        std::function<void()> select;
        std::function<GraphicPtr()> primary;   // the element reported; nullptr for the card
    };
    const std::vector<Row> rows = {
        {"click", [&] { click(QPointF(60, 20)); }, [&] { return b; }},
        {"rubber band", [&] { drag(QPointF(45, 5), QPointF(120, 110)); }, [&] { return b; }},
        {"Ctrl+A", [&] { key(Qt::Key_A, Qt::ControlModifier); }, [&] { return a; }},
        {"Select All command", [&] { canvas->selectAll(); }, [&] { return a; }},
        {"selected by a command", [&] { canvas->selectGraphics({c, b}); }, [&] { return b; }},
        {"duplicate", [&] { canvas->selectGraphics({c}); key(Qt::Key_D, Qt::ControlModifier); },
         [&] { return list().first(); }},
        {"undo of a delete",
         [&] {
             canvas->selectGraphics({c});
             key(Qt::Key_Delete);
             EXPECT_EQ(host.lastShownProperties, nullptr);
             key(Qt::Key_Z, Qt::ControlModifier);
         },
         [&] { return c; }},
        {"Escape", [&] { canvas->selectGraphics({a}); key(Qt::Key_Escape); }, [] { return GraphicPtr(); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        list() = {a, b, c};
        canvas->Clear_Control_Selection();
        host.lastShownProperties = LMNGraphic::create(GraphicKind::Graphic);   // none of them
        row.select();
        EXPECT_EQ(canvas->_Selected_Graphic, row.primary());
        EXPECT_EQ(host.lastShownProperties, row.primary());
    }
}

TEST_F(CanvasMouse, ShiftClickAddsAndRemovesWhileSelectionStaysInListOrder)
{
    const GraphicPtr a = add(QRectF(10, 10, 20, 20));
    const GraphicPtr b = add(QRectF(50, 10, 20, 20));
    const GraphicPtr c = add(QRectF(90, 10, 20, 20));

    click(QPointF(100, 20));
    click(QPointF(20, 20), Qt::ShiftModifier);
    click(QPointF(60, 20), Qt::ShiftModifier);
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({a, b, c}));

    click(QPointF(20, 20), Qt::ShiftModifier);
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({b, c}));
    EXPECT_EQ(canvas->_Selected_Graphic, b); // the front-most remaining one

    // A shift-click on empty space keeps what is selected.
    click(QPointF(200, 140), Qt::ShiftModifier);
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({b, c}));
}

TEST_F(CanvasMouse, RubberBandSelectsWhatItTouches)
{
    const GraphicPtr a = add(QRectF(10, 10, 20, 20));
    const GraphicPtr b = add(QRectF(50, 10, 20, 20));
    const GraphicPtr c = add(QRectF(90, 80, 20, 20));

    drag(QPointF(5, 5), QPointF(55, 40));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({a, b}));
    EXPECT_EQ(a->bounds(), QRectF(10, 10, 20, 20)); // banding moves nothing

    drag(QPointF(200, 150), QPointF(100, 90), Qt::ShiftModifier);
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({a, b, c}));
    EXPECT_EQ(document.undoManager()->count(), 0);
}

TEST_F(CanvasMouse, DraggingMovesTheSelectionAsOneUndoStepAndAClickRecordsNothing)
{
    const GraphicPtr a = add(QRectF(10, 10, 20, 20));
    const GraphicPtr b = add(QRectF(50, 10, 20, 20));
    click(QPointF(20, 20));
    click(QPointF(20, 20));
    EXPECT_EQ(document.undoManager()->count(), 0);
    canvas->selectGraphics({a, b});

    drag(QPointF(20, 20), QPointF(35, 45));
    EXPECT_TRUE(a->bounds() == QRectF(25, 35, 20, 20) && b->bounds() == QRectF(65, 35, 20, 20));
    ASSERT_EQ(document.undoManager()->count(), 1);

    canvas->Clear_Control_Selection();
    document.undoManager()->undo();
    EXPECT_TRUE(a->bounds() == QRectF(10, 10, 20, 20) && b->bounds() == QRectF(50, 10, 20, 20));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({a, b})); // undo shows what it changed
    document.undoManager()->redo();
    EXPECT_EQ(a->bounds(), QRectF(25, 35, 20, 20));
}

TEST_F(CanvasMouse, DraggingStopsAtTheCardEdgeDoesNotPullElementsInAndSnaps)
{
    const GraphicPtr g = add(QRectF(10, 10, 20, 20));
    drag(QPointF(20, 20), QPointF(-100, 400));
    EXPECT_EQ(g->bounds(), QRectF(0, 134, 20, 20));

    // An element already partly below the card (a short card from the wizard) stays where the
    // user leaves it.
    const GraphicPtr low = add(QRectF(100, 140, 20, 40));
    drag(QPointF(110, 145), QPointF(115, 145));
    EXPECT_EQ(low->bounds(), QRectF(105, 140, 20, 40));

    // Snapping moves the grabbed element's origin onto the grid: 40+25=65 -> 63, 10+2=12 -> 9.
    grid.setConstraining(true);
    const GraphicPtr snapped = add(QRectF(40, 10, 20, 20));
    drag(QPointF(45, 15), QPointF(70, 17));
    EXPECT_EQ(snapped->bounds(), QRectF(63, 9, 20, 20));
}

TEST_F(CanvasMouse, HandlesResizeAndUndoRestores)
{
    const GraphicPtr g = add(QRectF(20, 20, 40, 30));
    click(QPointF(30, 30));
    drag(QPointF(60, 50), QPointF(100, 70)); // bottom-right handle
    EXPECT_EQ(g->bounds(), QRectF(20, 20, 80, 50));
    drag(QPointF(20, 45), QPointF(10, 45)); // left handle
    EXPECT_EQ(g->bounds(), QRectF(10, 20, 90, 50));
    // Dragging past the opposite edge turns the rectangle over instead of making it negative.
    drag(QPointF(55, 20), QPointF(55, 90)); // top handle below the bottom
    EXPECT_EQ(g->bounds(), QRectF(10, 70, 90, 20));

    EXPECT_EQ(document.undoManager()->count(), 3);
    document.undoManager()->setIndex(0);
    EXPECT_EQ(g->bounds(), QRectF(20, 20, 40, 30));
}

TEST_F(CanvasMouse, HandlesWorkAtEveryZoom)
{
    canvas->setZoom(2.0);
    EXPECT_EQ(canvas->size(), QSize(486, 308));
    const GraphicPtr g = add(QRectF(20, 20, 40, 30));
    click(QPointF(30, 30));
    drag(QPointF(60, 50), QPointF(70, 60));
    EXPECT_EQ(g->bounds(), QRectF(20, 20, 50, 40));

    canvas->setZoom(100.0);
    EXPECT_EQ(canvas->zoom(), LMNGraphicView::MaximumZoom);
    canvas->setZoom(0.0);
    EXPECT_EQ(canvas->zoom(), LMNGraphicView::MinimumZoom);
}

TEST_F(CanvasMouse, LockedElementsNeverMove)
{
    const GraphicPtr locked = add(QRectF(10, 10, 20, 20), GraphicKind::Graphic, true);
    const GraphicPtr free = add(QRectF(50, 10, 20, 20));

    // Dragging the locked one selects it and moves nothing.
    drag(QPointF(20, 20), QPointF(80, 80));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({locked}));
    EXPECT_EQ(locked->bounds(), QRectF(10, 10, 20, 20));

    // Dragging a free one of a mixed selection moves only the free one.
    canvas->selectGraphics({locked, free});
    drag(QPointF(60, 20), QPointF(70, 40));
    EXPECT_TRUE(locked->bounds() == QRectF(10, 10, 20, 20) && free->bounds() == QRectF(60, 30, 20, 20));

    // Arrow keys neither.
    key(Qt::Key_Right);
    EXPECT_TRUE(locked->bounds() == QRectF(10, 10, 20, 20) && free->bounds() == QRectF(61, 30, 20, 20));

    // A locked element has no handles: its corner is just the element.
    canvas->selectGraphics({locked});
    drag(QPointF(30, 30), QPointF(60, 60));
    EXPECT_EQ(locked->bounds(), QRectF(10, 10, 20, 20));
}

TEST_F(CanvasMouse, ArrowKeysMoveByPointsAndUndoAsOneStep)
{
    const GraphicPtr g = add(QRectF(50, 50, 20, 20));
    canvas->selectGraphics({g});
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Left);
    EXPECT_EQ(g->bounds(), QRectF(51, 60, 20, 20));
    EXPECT_EQ(document.undoManager()->count(), 1);
    document.undoManager()->undo();
    EXPECT_EQ(g->bounds(), QRectF(50, 50, 20, 20));

    // A mouse move in between starts a new step.
    key(Qt::Key_Up);
    drag(QPointF(60, 55), QPointF(62, 55));
    key(Qt::Key_Up);
    EXPECT_EQ(document.undoManager()->count(), 3);
}

TEST_F(CanvasMouse, DeleteRemovesTheSelectionAndUndoPutsItBack)
{
    const GraphicPtr a = add(QRectF(10, 10, 20, 20));
    const GraphicPtr b = add(QRectF(50, 10, 20, 20));
    const GraphicPtr c = add(QRectF(90, 10, 20, 20));
    canvas->selectGraphics({a, c});
    key(Qt::Key_Delete);
    EXPECT_EQ(list(), GraphicList({b}));
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty() && !canvas->_Selected_Graphic);

    document.undoManager()->undo();
    EXPECT_EQ(list(), GraphicList({a, b, c}));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({a, c}));

    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // redo from the canvas
    EXPECT_EQ(list(), GraphicList({b}));
    key(Qt::Key_Backspace); // nothing selected: nothing happens
    EXPECT_EQ(list(), GraphicList({b}));
}

TEST_F(CanvasMouse, DuplicateCopiesOnTopOffsetAndUndoes)
{
    const GraphicPtr a = add(QRectF(10, 10, 20, 20), GraphicKind::Text);
    a->setText(QStringLiteral("Hello"));
    const GraphicPtr b = add(QRectF(50, 10, 20, 20));
    canvas->selectGraphics({a, b});
    key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(list().size(), 4);
    const GraphicPtr copyA = list().at(0);
    const GraphicPtr copyB = list().at(1);
    EXPECT_TRUE(copyA != a && copyA->kind() == GraphicKind::Text && copyA->Text_Value == QLatin1String("Hello"));
    EXPECT_TRUE(copyA->bounds() == QRectF(20, 20, 20, 20) && copyB->bounds() == QRectF(60, 20, 20, 20));
    EXPECT_EQ(canvas->selectedGraphics(), GraphicList({copyA, copyB}));
    // The copies are independent of their originals.
    copyA->setText(QStringLiteral("Changed"));
    EXPECT_EQ(a->Text_Value, QStringLiteral("Hello"));
    document.undoManager()->undo();
    EXPECT_EQ(list(), GraphicList({a, b}));
}

TEST_F(CanvasMouse, DoubleClickOnABarcodeOpensTheDesigner)
{
    const GraphicPtr barcode = add(QRectF(10, 10, 60, 30), GraphicKind::Barcode);
    const GraphicPtr shape = add(QRectF(100, 10, 30, 30));
    const GraphicPtr lockedBarcode = add(QRectF(150, 10, 60, 30), GraphicKind::Barcode, true);

    doubleClick(QPointF(40, 20));
    EXPECT_TRUE(host.barcodeWindowOpenings == 1 && canvas->_Selected_Graphic == barcode && host.lastShownProperties == barcode);

    doubleClick(QPointF(110, 20));
    EXPECT_EQ(host.barcodeWindowOpenings, 1);
    doubleClick(QPointF(160, 20));
    EXPECT_EQ(host.barcodeWindowOpenings, 1) << "a locked barcode is not opened";
    EXPECT_EQ(document.undoManager()->count(), 0);
}

TEST_F(CanvasMouse, PaintsBackgroundThenElementsLastToFirst)
{
    // Two opaque rectangles overlapping: the one at index 0 must end up on top.
    const GraphicPtr top = add(QRectF(20, 20, 40, 40));
    top->_fillColor = Qt::red;
    const GraphicPtr bottom = add(QRectF(40, 40, 40, 40));
    bottom->_fillColor = Qt::blue;
    for (const GraphicPtr &g : {top, bottom})
        g->_isDrawingStroke = false;

    TestHelpers::expectPixels(canvas->grab().toImage(), {{200, 140, Qt::white}, {50, 50, Qt::red}, {70, 70, Qt::blue}}, 0);
}
