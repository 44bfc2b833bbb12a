#include "editor/ui/Grid_Wizard.h"

#include "dialogs/ui/UiUtilities.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/LMNGrid.h"
#include "dialogs/ui/ModalSeam.h"
#include "panels/GridCommands.h"

Grid_Wizard::Grid_Wizard(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    connect(ui.grid_ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.grid_cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.Show_hide_grid_chk, &QCheckBox::toggled, this, [this](bool shown) {
        ui.Grid_Opt_box->setEnabled(shown);
        if (m_grid)
            GridCommands::Grid_Show_Hide_Changed(*m_grid, shown);
    });
    // A new colour or spacing shows the grid for good, and the check box says so.
    connect(ui.Grid_clr, &ColorWell::colorChanged, this, [this](const QColor &color) {
        if (!m_grid)
            return;
        GridCommands::Grid_Clr_Changed(*m_grid, color);
        ui.Show_hide_grid_chk->setChecked(true);
    });
    connect(ui.Grid_Space_slidr, &QSlider::valueChanged, this, [this](int spacing) {
        ui.Grid_Space_value->setText(tr("%1 pt").arg(spacing));
        if (!m_grid)
            return;
        GridCommands::Grid_Slider_Changed(*m_grid, spacing);
        ui.Show_hide_grid_chk->setChecked(true);
    });
    connect(ui.Grid_snap_chk, &QCheckBox::toggled, this, [this](bool snap) {
        if (m_grid)
            m_grid->setConstraining(snap);
    });
}

Grid_Wizard *Grid_Wizard::defaultInstance()
{
    return sharedWindow<Grid_Wizard>();
}

void Grid_Wizard::loadFrom(LMNGrid *grid)
{
    m_grid = nullptr;   // loading the controls must not write the grid back
    ui.Grid_clr->setColor(grid->_color);
    ui.Grid_Space_slidr->setValue(int(grid->_spacing));
    ui.Grid_Space_value->setText(tr("%1 pt").arg(int(grid->_spacing)));
    ui.Show_hide_grid_chk->setChecked(grid->isAlwaysShown());
    ui.Grid_snap_chk->setChecked(grid->isConstraining());
    ui.Grid_Opt_box->setEnabled(grid->isAlwaysShown());
    m_grid = grid;
}

void Grid_Wizard::Open_Wnd(LMNGrid *grid)
{
    if (!grid)
        return;
    loadFrom(grid);
    ModalSeam::instance().execDialog(this);
    hide();
    m_grid = nullptr;
}
