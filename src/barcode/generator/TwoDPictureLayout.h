#pragma once

#include "barcode/BarcodeSettings.h"

#include <QString>

// The text bands and size of a two-dimensional barcode picture: the symbol on white, a header
// above it and a footer below. The designer fills it for each 2D generation; BarcodeSizes
// computes width and height; the renderer lays the picture out in it.
struct TwoDPictureLayout
{
    QString content;
    QString header;
    QString footer;
    bool printsCaption = false;
    bool printsHeader = false;
    bool printsFooter = false;
    float caption_fontSize = 0.0f;
    float header_fontSize = 0.0f;
    float footer_fontSize = 0.0f;
    // Band heights in inches, text widths and picture size in points.
    float captionHeight = 0.0f;
    float headerHeight = 0.0f;
    float footerHeight = 0.0f;
    float headerWidth = 0.0f;
    float footerWidth = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    // Store the size; the bands follow the settings' fonts, the widths the header and footer
    // texts (set the texts first).
    void setCaptionFontSize(float size, const BarcodeSettings &settings);
    void setHeaderFontSize(float size, const BarcodeSettings &settings);
    void setFooterFontSize(float size, const BarcodeSettings &settings);
};
