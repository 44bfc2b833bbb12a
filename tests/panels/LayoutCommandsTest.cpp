// Alignment buttons and the grid window, through the alignment page of the real panel.

#include "PanelFixture.h"

#include "document/LMNGrid.h"
#include "editor/ui/Grid_Wizard.h"
#include "panels/ui/AlignPage.h"
#include "panels/ui/LayoutCommands.h"

namespace {
using LayoutCommandsTest = PanelFixture;
}

// One row per button of the page; a button wired to another command fails its row, and a
// button missing from the table fails the last check.
TEST_F(LayoutCommandsTest, EveryButtonActsOnTheSideInWorkOnly)
{
    const QRectF r(100, 50, 40, 30), o(10, 10, 20, 10), f(30, 30, 20, 20);
    GraphicPtr front = add(GraphicKind::Shape, f, 0);
    m_window->Select_back_side();
    GraphicPtr other = add(GraphicKind::Shape, o, 1);
    GraphicPtr ref = add(GraphicKind::Text, r, 1);   // topmost: the one the others follow
    const QSizeF card = m_window->cardSize();
    auto becomes = [&](const QRectF &expected) { return [&, expected] { EXPECT_EQ(other->bounds(), expected); }; };
    const std::vector<std::tuple<const char *, std::function<void()>, std::function<void()>>> rows = {
        {"Align_Left_btn", {}, becomes(QRectF(100, 10, 20, 10))},
        {"Align_Right_btn", {}, becomes(QRectF(120, 10, 20, 10))},
        {"Align_Top_btn", {}, becomes(QRectF(10, 50, 20, 10))},
        {"Align_Bottom_btn", {}, becomes(QRectF(10, 70, 20, 10))},
        {"Align_Horz_btn", {}, becomes(QRectF(110, 10, 20, 10))},
        {"Align_Vert_btn", {}, becomes(QRectF(10, 60, 20, 10))},
        {"Make_Same_Width_btn", {}, becomes(QRectF(10, 10, 40, 10))},
        {"Make_Same_Height_btn", {}, becomes(QRectF(10, 10, 20, 30))},
        {"Align_Center_btn", {}, becomes(QRectF((card.width() - 20) / 2, (card.height() - 10) / 2, 20, 10))},
        {"Make_Natural_btn", {}, [&] {   // a shape has no size of its own; a text has
             EXPECT_EQ(other->bounds(), o);
             EXPECT_TRUE(ref->bounds().topLeft() == r.topLeft() && ref->bounds().size() != r.size());
         }},
        {"Align_To_Grid_btn", [&] { m_window->grid->_spacing = 25; m_window->grid->setAlwaysShown(true); },
         becomes(QRectF(0, 0, 25, 25))},
        {"Grid_btn", [&] { m_seam.onDialog([](QDialog *) { return int(QDialog::Rejected); }); },
         [&] { EXPECT_NE(qobject_cast<Grid_Wizard *>(m_seam.dialogsRun.value(m_seam.dialogsRun.size() - 1)), nullptr); }},
    };
    QWidget *page = panel->ui.aligmnt_tab;
    QStringList tabled;
    for (const auto &[button, arrange, check] : rows) {
        SCOPED_TRACE(button);
        tabled << QLatin1String(button);
        m_window->grid->setAlwaysShown(false);
        ref->setBounds(r);
        other->setBounds(o);
        canvas(0)->selectGraphics({front});
        canvas(1)->selectGraphics({other, ref});   // selection order does not matter; list order does
        if (arrange)
            arrange();
        page->findChild<QPushButton *>(QLatin1String(button))->click();
        check();
        EXPECT_EQ(front->bounds(), f);
    }
    for (const QPushButton *button : page->findChildren<QPushButton *>())
        EXPECT_TRUE(tabled.contains(button->objectName())) << "untested button " << button->objectName().toStdString();
    EXPECT_TRUE(m_seam.messages.isEmpty());

    // One locked element: nothing moves.
    other->ctrl_is_locked = true;
    canvas(1)->selectGraphics({other});
    panel->ui.aligmnt_tab->ui.Align_Top_btn->click();
    EXPECT_EQ(other->bounds(), o);
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

    // The spacing slider shows the grid for good, at least one point apart; Cancel keeps it,
    // and the snapping ticked.
    m_seam.onDialog([](QDialog *dialog) {
        auto *wizard = qobject_cast<Grid_Wizard *>(dialog);
        if (!wizard)
            return int(QDialog::Rejected);
        wizard->ui.Grid_Space_slidr->setValue(0);
        wizard->ui.Grid_Space_slidr->setValue(10);
        wizard->ui.Grid_snap_chk->setChecked(true);
        wizard->ui.grid_cancel_btn->click();
        return wizard->result();
    });
    page.Grid_btn->click();
    EXPECT_TRUE(grid->_spacing == 10.0 && grid->isAlwaysShown() && !grid->isTemporarilyShown() && grid->isConstraining());
    EXPECT_TRUE(m_window->Align_with_grid_btn->isEnabled());

    page.Align_To_Grid_btn->click();
    EXPECT_EQ(shape->bounds(), QRectF(10, 10, 20, 20));
    m_window->layoutCommands()->toggleGridConstraining();
    EXPECT_FALSE(grid->isConstraining());
}
