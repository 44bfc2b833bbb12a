#pragma once

#include "document/CardFont.h"

#include <QColor>
#include <QString>

// The designer's settings that the barcode model and the renderer read, as one plain value.
// The designer maps its controls to and from this record; a generation copies it into the
// barcode object (NKDBarcode::setSettings) so that worker threads never read a dialog.
//
// Margins are in points, already converted from the display unit (BarcodeSizes does that).
struct BarcodeSettings
{
    // Fonts of the caption (the human-readable value), the header and the footer.
    CardFont value_font{QStringLiteral("TimesNewRomanPSMT"), 10};
    CardFont header_font{QStringLiteral("TimesNewRomanPSMT"), 10};
    CardFont footer_font{QStringLiteral("TimesNewRomanPSMT"), 10};

    // Gap between bars and caption, around the header and the footer, left-right and
    // top-bottom margins of the picture, in points.
    double value_margin = 0.1;
    double header_margin = 0.1;
    double footer_margin = 0.1;
    double LR_margin = 0.1;
    double TB_margin = 0.1;

    QColor barColor = Qt::black;
    QColor backgroundColor = Qt::white;
    QColor captionColor = Qt::black;
    QColor headerColor = Qt::black;
    QColor footerColor = Qt::black;

    // Alignment item texts of the header and footer ("Left", "Center", "Right"; anything
    // else keeps the default, left alignment).
    QString headerAlignment = QStringLiteral("Center");
    QString footerAlignment = QStringLiteral("Center");

    // The caption is drawn above the bars instead of below them.
    bool captionOnTop = false;
    // A one-group caption is stretched over the width of the bars.
    bool stretchCaption = false;

    // Resolution of bitmap pictures in dots per inch.
    double resolution = 600;

    // Horizontal alignment flags for an alignment item text.
    static Qt::Alignment alignmentFromName(const QString &name);

    friend bool operator==(const BarcodeSettings &, const BarcodeSettings &) = default;
};
