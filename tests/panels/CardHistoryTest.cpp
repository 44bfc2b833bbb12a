// Changes made on the card pages in the history: the page the user is on stays in front
// through undo and redo, each step is named after what the user changed, and a card of
// another size comes back fitted in the window.

#include "PanelFixture.h"

#include "dialogs/ui/ColorWell.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QSpinBox>
#include <QTableView>
#include <QUndoStack>

namespace {

class CardHistory : public PanelFixture
{
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        m_window->resize(1000, 700);
        m_window->show();
        m_window->Select_front_side();
    }

    QUndoStack *history() { return m_document.undoManager(); }

    // Clicks a row of the card-size table as a user does.
    void clickSizeRow(int row)
    {
        QTableView *table = panel->ui.ColList;
        panel->ui.sett_tab->setCurrentWidget(panel->card_size_tab);
        const QRect cell = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // On the box: a check box in a wide row takes clicks on its box and label only.
    static void clickCheckBox(QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

    // Picks `color` in the colour dialog a well opens.
    void pickColor(ColorWell *well, const QColor &color)
    {
        m_seam.onDialog([color](QDialog *dialog) {
            static_cast<QColorDialog *>(dialog)->setCurrentColor(color);
            dialog->accept();
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(well, Qt::LeftButton);
    }

    // The page a change is made on, and the change.
    struct PageChange
    {
        const char *name;
        QWidget *page;
        std::function<void()> change;
    };

    QList<PageChange> pageChanges()
    {
        return {
            {"size", panel->card_size_tab, [this] { clickSizeRow(2); }},
            {"background", panel->card_bkgd_tab, [this] { clickCheckBox(panel->ui.Card_fill_chk); }},
            {"border", panel->card_brdr_tab, [this] { clickCheckBox(panel->ui.Card_border_chk); }},
        };
    }
};

TEST_F(CardHistory, UndoAndRedoKeepTheCardPageTheUserIsOn)
{
    QTabWidget *tabs = panel->ui.sett_tab;
    for (const PageChange &row : pageChanges()) {
        SCOPED_TRACE(row.name);
        tabs->setCurrentWidget(row.page);
        const int steps = history()->index();
        row.change();
        ASSERT_EQ(history()->index(), steps + 1);
        ASSERT_EQ(tabs->currentWidget(), row.page);
        m_window->Undo_btn->trigger();
        EXPECT_EQ(tabs->currentWidget(), row.page);
        m_window->Redo_btn->trigger();
        EXPECT_EQ(tabs->currentWidget(), row.page);
    }
    // Coming from an element, the card opens on its first page.
    select({add(GraphicKind::Text)});
    m_window->Select_front_side();
    EXPECT_EQ(tabs->currentWidget(), panel->card_setting_tab);
}

TEST_F(CardHistory, TheFirstChangeOfEachSettingIsNamedAfterIt)
{
    struct Row
    {
        const char *name;
        std::function<void()> change;
        QString step;
    };
    const QList<Row> rows = {
        {"size row", [this] { clickSizeRow(3); }, QStringLiteral("Change Card Size")},
        {"typed width",
         [this] {
             QDoubleSpinBox *width = panel->ui.width_Stepper;
             panel->ui.sett_tab->setCurrentWidget(panel->card_size_tab);
             width->setFocus();
             width->setValue(width->value() + 7);
             emit width->editingFinished();
         },
         QStringLiteral("Change Card Size")},
        {"text colour", [this] { pickColor(panel->ui.All_Text_clr, QColor(200, 30, 60)); }, QStringLiteral("Change Text Color")},
        {"fill", [this] { clickCheckBox(panel->ui.Card_fill_chk); }, QStringLiteral("Change Fill")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        // Each the first change of a freshly started card.
        m_window.reset();
        m_document.undoManager()->clear();
        SetUp();
        const int steps = history()->index();
        row.change();
        ASSERT_EQ(history()->index(), steps + 1);
        EXPECT_EQ(history()->undoText(), row.step);
        EXPECT_EQ(m_window->Undo_btn->text().remove(QLatin1Char('&')), QStringLiteral("Undo ") + row.step);
    }
}

TEST_F(CardHistory, UndoAndRedoOfASizeShowTheWholeCardAsTheChangeDid)
{
    LMNGraphicView *front = canvas(0);
    clickSizeRow(4);
    const double fittedAfter = front->zoom();
    front->setZoom(3.11);   // the user zooms in
    m_window->Undo_btn->trigger();
    const double afterUndo = front->zoom();
    m_window->fitCardInWindow();
    EXPECT_DOUBLE_EQ(afterUndo, front->zoom()) << "the restored card is not fitted";
    EXPECT_NE(afterUndo, 3.11);
    front->setZoom(3.11);
    m_window->Redo_btn->trigger();
    EXPECT_DOUBLE_EQ(front->zoom(), fittedAfter);
}

} // namespace
