#pragma once

#include "barcode/ModuleGrid.h"
#include "barcode/generator/ModuleGridPicture.h"

#include <QByteArray>
#include <QImage>

// The DataMatrix picture of the barcode designer: the symbol as a bitmap at the print
// resolution, with a quiet zone of one module on every side.
class DataMatrixPicture
{
public:
    // The symbol drawn at `moduleSize` points per module with the one-module quiet zone, so
    // (W + 2) x (H + 2) modules, at `dpi` dots per inch. Null for an empty grid, a module size
    // below 1 or a resolution that gives a module less than one pixel.
    static QImage makeImage(const ModuleGrid &grid, int moduleSize, double dpi);
    // What makeImage() draws, for drawing it elsewhere; an empty grid where it gives null.
    static ModuleGridPicture::Plan picturePlan(const ModuleGrid &grid, int moduleSize, double dpi);
};
