#include "barcode/BarcodeSizes.h"

#include "barcode/linear/NKDBarcode.h"
#include "barcode/generator/TwoDPictureLayout.h"

#include <algorithm>

namespace BarcodeSizes {

namespace {

float widthWithMargins(float widest, float lrMargin)
{
    // A margin also buys room for the outer caption digits.
    return widest + 2.0f * lrMargin + (lrMargin > 0.0f ? 15.0f : 0.0f);
}

} // namespace

float unitFactor(int unit)
{
    switch (unit) {
    case 0: return 72.0f;
    case 1: return float(0.393701 * 72.0);
    default: return float(0.393701 * 72.0 / 10.0);
    }
}

void readMargins(const BarcodeSizeFields &fields, BarcodeSettings &settings)
{
    const float u = unitFactor(fields.unit);
    settings.value_margin = fields.captionHidden ? 0.0f : float(fields.valueMargin * u);
    settings.header_margin = fields.headerHidden ? 0.0f : float(fields.headerMargin * u);
    settings.footer_margin = fields.footerHidden ? 0.0f : float(fields.footerMargin * u);
    settings.LR_margin = float(fields.lrMargin * u);
    settings.TB_margin = float(fields.tbMargin * u);
}

void Set_Barcode_Height(NKDBarcode &barcode, const BarcodeSizeFields &fields)
{
    readMargins(fields, barcode.settings());
    const BarcodeSettings &settings = barcode.settings();
    float height = float(fields.barHeight * unitFactor(fields.unit));
    if (barcode.printsCaption())
        height = float(double(height) + double(barcode.captionHeight()) * 72.0 + settings.value_margin);
    barcode.storePictureHeight(height);
    if (barcode.printsHeader())
        height = float(double(height) + double(barcode.headerHeight()) * 72.0 + settings.header_margin);
    barcode.storePictureHeight(height);
    if (barcode.printsFooter())
        height = float(double(height) + double(barcode.footerHeight()) * 72.0 + settings.footer_margin);
    barcode.storePictureHeight(height);
    barcode.storePictureHeight(float(double(height) + 2.0 * settings.TB_margin));
}

float Set_Linear_Barcode_Width(NKDBarcode &barcode, const BarcodeSizeFields &fields)
{
    const float headerWidth = fields.headerHidden ? 0.0f : barcode.headerWidth();
    const float footerWidth = fields.footerHidden ? 0.0f : barcode.footerWidth();
    barcode.settings().LR_margin = float(fields.lrMargin * unitFactor(fields.unit));
    return widthWithMargins(std::max({headerWidth, footerWidth, barcode.width()}), float(barcode.settings().LR_margin));
}

void Set_2d_Barcode_Height(TwoDPictureLayout &layout, const QSizeF &symbol, const BarcodeSizeFields &fields,
                           BarcodeSettings &settings)
{
    readMargins(fields, settings);
    const float headerBand = fields.headerHidden ? 0.0f : layout.headerHeight * 72.0f;
    const float footerBand = fields.footerHidden ? 0.0f : layout.footerHeight * 72.0f;
    float height = float(symbol.height());
    height += headerBand;
    height += float(settings.header_margin);
    height += footerBand;
    height += float(settings.footer_margin);
    height += 2.0f * float(settings.TB_margin);
    layout.height = height;
}

void Set_2d_Barcode_Width(TwoDPictureLayout &layout, const QSizeF &symbol, const BarcodeSizeFields &fields,
                          BarcodeSettings &settings)
{
    const float headerWidth = fields.headerHidden ? 0.0f : layout.headerWidth;
    const float footerWidth = fields.footerHidden ? 0.0f : layout.footerWidth;
    settings.LR_margin = float(fields.lrMargin * unitFactor(fields.unit));
    layout.width = widthWithMargins(std::max({headerWidth, footerWidth, float(symbol.width())}), float(settings.LR_margin));
}

} // namespace BarcodeSizes
