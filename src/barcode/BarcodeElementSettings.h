#pragma once

#include "barcode/BarcodeSettings.h"
#include "barcode/BarcodeSizes.h"
#include "document/CardFont.h"

#include <QColor>
#include <QString>

class LMNGraphic;

// The barcode settings a card element stores, as one plain value: what the designer loads and
// writes back, what the hand-over copies between elements and what a batch run renders each
// record with. Field names are those of LMNGraphic; lengths in the designer's units (bar height
// and margins in centimetres, bar width in thousandths of an inch, 2D sizes in points).
// List indexes refer to BarcodeLists.
struct BarcodeElementSettings
{
    int linear_or_2d = 0;          // 0 linear or postal, 1 two-dimensional
    int barcode_font_index = 0;    // BarcodeLists::symbologyTitles()
    QString linear_font_val = QStringLiteral("0123"); // value of a linear barcode
    QString two_d_font_val = QStringLiteral("0123");  // value of a 2D barcode
    QString header_val = QStringLiteral("HEADER");
    QString footer_val = QStringLiteral("FOOTER");
    int show_hide_hdr = 0;         // 1: header hidden
    int show_hide_ftr = 0;         // 1: footer hidden
    int show_hide_val = 0;         // 1: human-readable value hidden
    int show_val_on_top = 0;       // 1: value above the bars
    int align_hdr_index = 1;       // BarcodeLists::textAlignments()
    int align_ftr_index = 1;
    float linear_height_val = 1.0f; // bar height, centimetres
    float linear_width_val = 13.0f; // narrow bar width, thousandths of an inch
    int qr_size_val = 60;          // QR side, points
    int qr_version_index = 0;      // BarcodeLists::qrVersions()
    int qr_ec_index = 0;           // BarcodeLists::qrErrorCorrectionLevels()
    int pdf_hgt_val = 60;          // PDF417 drawing height, points
    int pdf_wdt_val = 180;         // PDF417 drawing width, points
    int pdf_ec_val = 2;            // PDF417 error correction level 0-8
    int dm_module_val = 2;         // DataMatrix module, points
    int dm_format_index = 0;       // BarcodeLists::dataMatrixFormats()
    int dm_encoding_index = 0;     // BarcodeLists::dataMatrixEncodings()
    float hdr_margin_val = 0.1f;   // margins, centimetres
    float ftr_margin_val = 0.1f;
    float val_margin_val = 0.1f;
    float TB_marging_val = 0.1f;
    float LR_margin_val = 0.1f;
    CardFont value_font_val{QStringLiteral("TimesNewRomanPSMT"), 10};
    CardFont header_font_val{QStringLiteral("TimesNewRomanPSMT"), 10};
    CardFont footer_font_val{QStringLiteral("TimesNewRomanPSMT"), 10};
    QColor barcode_hdr_clr_val = Qt::black;
    QColor barcode_ftr_clr_val = Qt::black;
    QColor barcode_val_clr_val = Qt::black;
    QColor barcode_back_clr_val = Qt::white;
    QColor barcode_clr_val = Qt::black;
    int dpi_val_index = 0;         // BarcodeLists::resolutions()
    QString dpi_custom_val;        // custom resolution as typed
    int kerning_value_val = 0;     // 1: a one-group caption stretched over the bars' width

    // A default record holds the start values of a barcode never designed: "0123", "HEADER",
    // "FOOTER", the margins 0.1 cm, Times New Roman 10 points, a 60-point QR Code.

    // Whether the element never went through the designer (no values, QR side or bar height).
    static bool isNeverDesigned(const LMNGraphic &graphic);

    // The element's settings; the start values for an element never designed. A missing font
    // becomes Times New Roman 10.
    static BarcodeElementSettings fromGraphic(const LMNGraphic &graphic);
    // Writes every field into the element (the picture and the binding stay as they are).
    void applyTo(LMNGraphic &graphic) const;

    // The symbology title of barcode_font_index (empty outside the list).
    QString title() const;
    // Whether the title is a 2D symbology (the title decides, not linear_or_2d).
    bool isTwoDimensional() const;
    // The settings a 2D symbol is drawn with: black modules on white, whatever the (hidden) bar
    // and background colours hold; header and footer keep their colours.
    BarcodeElementSettings withTwoDColours() const;
    // The value of the mode: two_d_font_val for 2D, linear_font_val otherwise.
    QString value() const;

    // The resolution in dots per inch of 2D pictures: 600 for "Auto", the item's number, or the
    // custom value. 0 with a reason when the custom value is not a whole number from 72 to 2400.
    int resolution(QString *failure = nullptr) const;

    // The size fields the size computations read (centimetres).
    BarcodeSizeFields sizeFields() const;
    // Fonts, colours, alignments, caption place and margins in points, as the renderer reads them.
    BarcodeSettings rendererSettings() const;

    friend bool operator==(const BarcodeElementSettings &, const BarcodeElementSettings &) = default;
};
