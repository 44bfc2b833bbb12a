#include "barcode/generator/TwoDPictureLayout.h"

#include "barcode/BarcodeText.h"

void TwoDPictureLayout::setCaptionFontSize(float size, const BarcodeSettings &settings)
{
    caption_fontSize = size;
    captionHeight = BarcodeText::bandHeight(settings.value_font);
}

void TwoDPictureLayout::setHeaderFontSize(float size, const BarcodeSettings &settings)
{
    header_fontSize = size;
    headerHeight = BarcodeText::bandHeight(settings.header_font);
    headerWidth = float(BarcodeText::measure(header, settings.header_font, BarcodeText::kHeaderFooterKerning).width());
}

void TwoDPictureLayout::setFooterFontSize(float size, const BarcodeSettings &settings)
{
    footer_fontSize = size;
    footerHeight = BarcodeText::bandHeight(settings.footer_font);
    footerWidth = float(BarcodeText::measure(footer, settings.footer_font, BarcodeText::kHeaderFooterKerning).width());
}
