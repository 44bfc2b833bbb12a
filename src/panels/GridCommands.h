#pragma once

#include <QColor>

class LMNGrid;

// The grid window's actions on the one grid of the canvases. A new colour or spacing shows
// the grid for good (not for a moment), so the user sees what the change does.
namespace GridCommands {

// The smallest spacing the grid takes, in points: grid alignment divides by it.
constexpr double MinimumSpacing = 1.0;

void Grid_Show_Hide_Changed(LMNGrid &grid, bool shown);
void Grid_Clr_Changed(LMNGrid &grid, const QColor &color);
// Spacing in points, never below MinimumSpacing.
void Grid_Slider_Changed(LMNGrid &grid, double spacing);
void toggleGridConstraining(LMNGrid &grid);

} // namespace GridCommands
