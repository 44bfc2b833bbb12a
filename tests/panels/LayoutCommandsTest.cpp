// Alignment buttons and the grid window, through the alignment page of the real panel.

#include "PanelFixture.h"

#include "document/LMNGrid.h"
#include "editor/ui/Grid_Wizard.h"
#include "panels/ui/AlignPage.h"
#include "panels/ui/LayoutCommands.h"

namespace {
using LayoutCommandsTest = PanelFixture;
}

TEST_F(LayoutCommandsTest, AlignmentActsOnTheSideInWorkOnly)
{
    GraphicPtr front = add(GraphicKind::Shape, QRectF(30, 30, 20, 20), 0);
    m_window->Select_back_side();
    GraphicPtr back = add(GraphicKind::Shape, QRectF(30, 40, 20, 20), 1);
    GraphicPtr locked = add(GraphicKind::Shape, QRectF(50, 50, 20, 20), 1);
    locked->ctrl_is_locked = true;
    canvas(0)->selectGraphics({front});
    select({back}, 1);

    Ui::AlignPage &page = panel->ui.aligmnt_tab->ui;
    page.Align_Left_btn->click();
    EXPECT_EQ(back->bounds(), QRectF(0, 40, 20, 20));
    EXPECT_EQ(front->bounds(), QRectF(30, 30, 20, 20));

    // One locked element: nothing moves.
    canvas(1)->selectGraphics({locked});
    page.Align_Top_btn->click();
    EXPECT_EQ(locked->bounds(), QRectF(50, 50, 20, 20));
}

TEST_F(LayoutCommandsTest, SameSizeNeedsTwoElementsAndSkipsLockedOnes)
{
    GraphicPtr c = add(GraphicKind::Shape, QRectF(0, 0, 30, 10));
    GraphicPtr b = add(GraphicKind::Shape, QRectF(0, 0, 20, 10));
    GraphicPtr a = add(GraphicKind::Shape, QRectF(0, 0, 10, 10));   // first in list order
    Ui::AlignPage &page = panel->ui.aligmnt_tab->ui;

    select({a});
    page.Make_Same_Height_btn->click();
    EXPECT_EQ(m_seam.messageTexts(), QStringList({QStringLiteral("\nPlease select more than one control.")}));

    b->ctrl_is_locked = true;
    canvas()->selectGraphics({a, b});
    page.Make_Same_Width_btn->click();
    EXPECT_DOUBLE_EQ(b->bounds().width(), 20);

    a->ctrl_is_locked = true;
    b->ctrl_is_locked = false;
    canvas()->selectGraphics({a, b, c});
    page.Make_Same_Width_btn->click();
    EXPECT_DOUBLE_EQ(b->bounds().width(), 10);
    EXPECT_DOUBLE_EQ(c->bounds().width(), 10);
    EXPECT_EQ(m_seam.messages.size(), 1);
}

TEST_F(LayoutCommandsTest, GridWindowChangesStayAndAlignmentNeedsTheGridShown)
{
    LMNGrid *grid = m_window->grid;
    GraphicPtr shape = add(GraphicKind::Shape, QRectF(13, 14, 20, 20));
    select({shape});
    Ui::AlignPage &page = panel->ui.aligmnt_tab->ui;
    page.Align_To_Grid_btn->click();
    EXPECT_EQ(m_seam.messageTexts(), QStringList({QStringLiteral("\nPlease use grid option first.")}));
    EXPECT_EQ(shape->bounds().topLeft(), QPointF(13, 14));

    // The spacing slider shows the grid for good, at least one point apart; Cancel keeps it.
    m_seam.onDialog([](QDialog *dialog) {
        auto *wizard = qobject_cast<Grid_Wizard *>(dialog);
        if (!wizard)
            return int(QDialog::Rejected);
        wizard->ui.Grid_Space_slidr->setValue(0);
        wizard->ui.Grid_Space_slidr->setValue(10);
        wizard->ui.grid_cancel_btn->click();
        return wizard->result();
    });
    page.Grid_btn->click();
    EXPECT_DOUBLE_EQ(grid->_spacing, 10.0);
    EXPECT_TRUE(grid->isAlwaysShown());
    EXPECT_FALSE(grid->isTemporarilyShown());
    EXPECT_FALSE(grid->isConstraining());
    EXPECT_TRUE(m_window->Align_with_grid_btn->isEnabled());

    page.Align_To_Grid_btn->click();
    EXPECT_EQ(shape->bounds(), QRectF(10, 10, 20, 20));
    m_window->layoutCommands()->toggleGridConstraining();
    EXPECT_TRUE(grid->isConstraining());
}
