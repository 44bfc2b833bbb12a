#pragma once

#include "barcode/ModuleGrid.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <utility>

// Turns a module grid into a picture at a print resolution, sampling each pixel's centre from
// the nearest module (never blurred). Shared by the QR Code, PDF417 and DataMatrix picture makers.
//
// The picture is `points` in size at `dpi` dots per inch (BarcodeUnits::pixelSize pixels, its
// dots-per-metre set to match). Inside the picture the grid fills `gridArea`, given in points;
// pixels outside it get `background`. Dark modules are opaque black, light ones opaque white.
// With an opaque grey background the picture is 8-bit grey, else premultiplied 32-bit.
// Null when a module would get less than one pixel, or the picture would pass 256 MiB or
// cannot be made.
namespace ModuleGridPicture {

// A picture to make: the grid and where it goes.
struct Plan
{
    ModuleGrid grid;
    QSizeF points;
    QRectF gridArea;
    double dpi = 0.0;
    QRgb background = 0;
};

QImage render(const ModuleGrid &grid, const QSizeF &points, const QRectF &gridArea, double dpi, QRgb background);
QImage render(const Plan &plan);

// The picture's size in pixels; empty when render() would give a null picture for its size.
QSize pixelSize(const Plan &plan);
// The picture's size in points as its pixels and resolution give it (BarcodeUnits::pointSize of
// the rendered picture).
QSizeF pointSize(const Plan &plan);
// Rows of pixels above the first and below the last row holding a dark module.
std::pair<int, int> lightRows(const Plan &plan);
// Of `height` rows, those above the first and below the last for which `dark(row)` holds; all
// of them above (none below) when it holds for none.
template<typename Dark>
std::pair<int, int> lightRows(int height, Dark &&dark)
{
    int top = 0;
    while (top < height && !dark(top))
        ++top;
    int bottom = height - 1;
    while (bottom > top && !dark(bottom))
        --bottom;
    return {top, height - 1 - bottom};
}
// Writes the picture's pixels into `target` (8-bit grey or 32-bit; an opaque background) with
// its top-left pixel at `corner`, those that fall inside `target`: the same pixels render()
// makes, without a picture between.
void drawInto(QImage &target, const QPoint &corner, const Plan &plan);

} // namespace ModuleGridPicture
