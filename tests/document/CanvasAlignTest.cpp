#include "CanvasTestSupport.h"

#include "document/GraphicArrangement.h"

// Card 243 x 154 points (CanvasTest).
using CanvasAlign = CanvasTest;

TEST_F(CanvasAlign, SingleElementGoesToTheCardsEdgesAndCentresEachAsOneStep)
{
    const GraphicPtr g = add(QRectF(30, 40, 50, 20));
    canvas->selectGraphics({g});
    const std::pair<void (LMNGraphicView::*)(), QRectF> rows[] = {
        {&LMNGraphicView::alignLeftEdges, QRectF(0, 40, 50, 20)},
        {&LMNGraphicView::alignRightEdges, QRectF(193, 40, 50, 20)},
        {&LMNGraphicView::alignTopEdges, QRectF(193, 0, 50, 20)},
        {&LMNGraphicView::alignBottomEdges, QRectF(193, 134, 50, 20)},
        {&LMNGraphicView::alignHorizontalCenters, QRectF(96.5, 134, 50, 20)},
        {&LMNGraphicView::alignVerticalCenters, QRectF(96.5, 67, 50, 20)},
    };
    for (const auto &[command, expected] : rows) {
        (canvas.get()->*command)();
        EXPECT_EQ(g->bounds(), expected);
    }
    EXPECT_EQ(document.undoManager()->count(), 6);
    document.undoManager()->undo();
    EXPECT_EQ(g->bounds(), QRectF(96.5, 134, 50, 20));
}

TEST_F(CanvasAlign, LockedElementsStayButMayServeAsReferenceAndCentreOnCard)
{
    const GraphicPtr lockedRef = add(QRectF(100, 50, 40, 30), GraphicKind::Graphic, true);
    const GraphicPtr a = add(QRectF(10, 10, 20, 10));
    const GraphicPtr lockedOther = add(QRectF(200, 120, 10, 20), GraphicKind::Graphic, true);
    canvas->selectGraphics({lockedRef, a, lockedOther});

    canvas->alignLeftEdges();
    EXPECT_EQ(a->bounds().x(), 100);
    EXPECT_EQ(lockedOther->bounds(), QRectF(200, 120, 10, 20));

    canvas->alignformCenter();
    EXPECT_EQ(lockedRef->bounds(), QRectF(100, 50, 40, 30));
    EXPECT_EQ(a->bounds(), QRectF(111.5, 72, 20, 10));

    // One locked element alone: nothing moves.
    canvas->selectGraphics({lockedOther});
    canvas->alignLeftEdges();
    canvas->alignformCenter();
    EXPECT_EQ(lockedOther->bounds(), QRectF(200, 120, 10, 20));

    // Without a locked reference, centre on card centres every element as one step.
    const GraphicPtr b = add(QRectF(0, 0, 43, 54));
    canvas->selectGraphics({a, b});
    const int steps = document.undoManager()->count();
    canvas->alignformCenter();
    EXPECT_EQ(b->bounds(), QRectF(100, 50, 43, 54));
    EXPECT_EQ(a->bounds(), QRectF(111.5, 72, 20, 10));
    EXPECT_EQ(document.undoManager()->count(), steps + 1);
}

TEST_F(CanvasAlign, AlignWithGridUsesTheGridsRounding)
{
    const GraphicPtr g = add(QRectF(13, 4, 10, 1));
    const GraphicPtr locked = add(QRectF(13, 4, 10, 1), GraphicKind::Graphic, true);
    canvas->selectGraphics({g, locked});
    canvas->alignWithGrid();
    EXPECT_EQ(g->bounds(), QRectF(9, 0, 18, 9));
    EXPECT_EQ(locked->bounds(), QRectF(13, 4, 10, 1));

    grid._spacing = 0; // a broken spacing changes nothing
    g->setBounds(QRectF(13, 4, 10, 1));
    canvas->alignWithGrid();
    EXPECT_EQ(g->bounds(), QRectF(13, 4, 10, 1));
}

TEST_F(CanvasAlign, NaturalSizeAppliesToLockedElementsToo)
{
    // Natural size is the kind's own business; check the command asks every selected element
    // and records the result as one undoable step.
    class Sized : public LMNGraphic
    {
    public:
        void makeNaturalSize() override { _bounds.setSize(QSizeF(33, 44)); }
        GraphicPtr clone() const override { return std::make_shared<Sized>(*this); }
    };
    const auto a = std::make_shared<Sized>();
    a->setBounds(QRectF(5, 6, 1, 1));
    const auto b = std::make_shared<Sized>();
    b->setBounds(QRectF(50, 60, 1, 1));
    b->ctrl_is_locked = true;
    list() = {a, b};
    canvas->selectGraphics({a, b});
    canvas->makeNaturalSize();
    EXPECT_EQ(a->bounds(), QRectF(5, 6, 33, 44));
    EXPECT_EQ(b->bounds(), QRectF(50, 60, 33, 44));
    document.undoManager()->undo();
    EXPECT_EQ(a->bounds(), QRectF(5, 6, 1, 1));
    EXPECT_EQ(b->bounds(), QRectF(50, 60, 1, 1));
}

TEST_F(CanvasAlign, CommandsWithoutSelectionChangeNothingButRefreshTheUndoButtons)
{
    add(QRectF(13, 4, 10, 1));
    const int before = host.undoRedoStateCalls;
    canvas->alignLeftEdges();
    canvas->alignformCenter();
    canvas->makeSameWidth();
    canvas->alignWithGrid();
    EXPECT_EQ(document.undoManager()->count(), 0);
    EXPECT_EQ(host.undoRedoStateCalls - before, 4);
}

TEST_F(CanvasAlign, PrintFlagSkipsLockedElementsAndUndoes)
{
    const GraphicPtr a = add(QRectF(0, 0, 5, 5));
    const GraphicPtr locked = add(QRectF(0, 0, 5, 5), GraphicKind::Graphic, true);
    canvas->print_contol_or_not(1); // nothing selected
    EXPECT_EQ(a->print_object, 0);

    canvas->selectGraphics({a, locked});
    canvas->print_contol_or_not(1);
    EXPECT_EQ(a->print_object, 1);
    EXPECT_EQ(locked->print_object, 0);
    document.undoManager()->undo();
    EXPECT_EQ(a->print_object, 0);
}
