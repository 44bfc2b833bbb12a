#pragma once

#include "barcode/ModuleGrid.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>

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

QImage render(const ModuleGrid &grid, const QSizeF &points, const QRectF &gridArea, double dpi, QRgb background);

} // namespace ModuleGridPicture
