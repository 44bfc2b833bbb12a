#pragma once

#include "barcode/BarcodeSettings.h"

#include <QSizeF>

class NKDBarcode;
struct TwoDPictureLayout;

// What the designer's size fields hold: the bar height and the five margins in the display
// unit (0 inches, 1 centimetres, 2 millimetres), and which bands the user hid.
struct BarcodeSizeFields
{
    int unit = 1;
    double barHeight = 1.0;
    double valueMargin = 0.1;
    double headerMargin = 0.1;
    double footerMargin = 0.1;
    double lrMargin = 0.1;
    double tbMargin = 0.1;
    bool captionHidden = false;
    bool headerHidden = false;
    bool footerHidden = false;
};

// Total size of barcode pictures from bars or symbol, text bands and margins.
namespace BarcodeSizes {

// Points per display unit, in single precision.
float unitFactor(int unit);

// The five margins in points into `settings`; a hidden band's margin is 0.
void readMargins(const BarcodeSizeFields &fields, BarcodeSettings &settings);

// Sets the margins of the barcode's settings and its height to the total picture height:
// the bar height, each printed band with its margin, and twice the top-bottom margin. The
// bar length (NKDBarcode::barTop) takes the same away again.
void Set_Barcode_Height(NKDBarcode &barcode, const BarcodeSizeFields &fields);

// The total picture width: the widest of bars, shown header and shown footer, two left-right
// margins and, with a margin, 15 points more. Changes only the left-right margin.
float Set_Linear_Barcode_Width(NKDBarcode &barcode, const BarcodeSizeFields &fields);

// The same for a two-dimensional symbol of `symbol` points: layout.height and layout.width.
void Set_2d_Barcode_Height(TwoDPictureLayout &layout, const QSizeF &symbol, const BarcodeSizeFields &fields,
                           BarcodeSettings &settings);
void Set_2d_Barcode_Width(TwoDPictureLayout &layout, const QSizeF &symbol, const BarcodeSizeFields &fields,
                          BarcodeSettings &settings);

} // namespace BarcodeSizes
