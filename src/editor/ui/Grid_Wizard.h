#pragma once

#include "ui_Grid_Wizard.h"

#include <QDialog>

class LMNGrid;

// The grid window: shows or hides the canvas grid and sets its colour, spacing and snapping.
// Changes apply to the grid while the window is open; OK and Cancel both just close it.
class Grid_Wizard : public QDialog
{
    Q_OBJECT

public:
    explicit Grid_Wizard(QWidget *parent = nullptr);
    static Grid_Wizard *defaultInstance();

    Ui::Grid_Wizard ui;

    // Loads the controls from `grid`, runs the window modally and orders it out.
    void Open_Wnd(LMNGrid *grid);

private:
    void loadFrom(LMNGrid *grid);

    LMNGrid *m_grid = nullptr;
};
