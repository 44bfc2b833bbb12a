#include "barcode/datamatrix/DataMatrixPicture.h"

#include "barcode/BarcodeUnits.h"
#include "barcode/generator/ModuleGridPicture.h"

QImage DataMatrixPicture::makeImage(const ModuleGrid &grid, int moduleSize, double dpi)
{
    return ModuleGridPicture::render(picturePlan(grid, moduleSize, dpi));
}

ModuleGridPicture::Plan DataMatrixPicture::picturePlan(const ModuleGrid &grid, int moduleSize, double dpi)
{
    if (grid.isEmpty() || moduleSize < 1)
        return {};
    const QSizeF points(double(grid.width() + 2) * moduleSize, double(grid.height() + 2) * moduleSize);
    const QRectF symbol(moduleSize, moduleSize, double(grid.width()) * moduleSize, double(grid.height()) * moduleSize);
    // The quiet zone must get its pixel too.
    if (BarcodeUnits::pixelSize(points, dpi).width() < grid.width() + 2)
        return {};
    return {grid, points, symbol, dpi, qRgb(255, 255, 255)};
}
