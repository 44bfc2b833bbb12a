#include "panels/GridCommands.h"

#include "document/LMNGrid.h"

#include <algorithm>

void GridCommands::Grid_Show_Hide_Changed(LMNGrid &grid, bool shown)
{
    grid.setAlwaysShown(shown);
}

void GridCommands::Grid_Clr_Changed(LMNGrid &grid, const QColor &color)
{
    grid._color = color;
    grid.setAlwaysShown(true);
}

void GridCommands::Grid_Slider_Changed(LMNGrid &grid, double spacing)
{
    grid._spacing = std::max(spacing, MinimumSpacing);
    grid.setAlwaysShown(true);
}

void GridCommands::toggleGridConstraining(LMNGrid &grid)
{
    grid.setConstraining(!grid.isConstraining());
}
