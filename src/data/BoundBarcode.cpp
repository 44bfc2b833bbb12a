#include "data/BoundBarcode.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/generator/BarcodeGenerator.h"

QImage BoundBarcode::picture(const LMNGraphic &barcode, const QString &value, QString *failure)
{
    return BarcodeGenerator::picture(BarcodeElementSettings::fromGraphic(barcode), value, barcode.header_val,
                                     barcode.footer_val, failure);
}
