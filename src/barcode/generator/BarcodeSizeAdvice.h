#pragma once

#include "barcode/BarcodeElementSettings.h"

#include <QString>

// What to choose when a barcode picture would be too large to keep, in the designer's own
// fields: the size of a QR Code, the drawing size of a PDF417 (its width and height in their
// proportion), the module size of a DataMatrix, each besides the resolution; the bar height
// or the bar width of a linear or postal code (drawn at a resolution of their own). Each value
// is found by asking the generation itself (BarcodeGenerator::measure) with that field changed
// and every other setting as it is, so every value advised is one the designer takes, and one
// step more (a point, a dpi, the field's last digit) makes the picture too large.
namespace BarcodeSizeAdvice {

// The sentence naming the values, e.g. "Choose a size of at most 214 points, or at most
// 1746 dpi."; a general hint when no one field would do.
QString advice(const BarcodeElementSettings &settings, const QString &value, const QString &header,
               const QString &footer);

} // namespace BarcodeSizeAdvice
