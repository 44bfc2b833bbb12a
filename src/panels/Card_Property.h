#pragma once

#include "document/CardFont.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSizeF>
#include <QString>

// The background of one card side: border, fill (solid colour, gradient, hatch pattern or
// picture), fill opacity, shape code, the card's name, size and size preset, and the side's
// all-text colour and font. A plain value holder: it never validates what it is given. The
// editor keeps two for the life of the process, one per side; copies are cheap (texts and
// the picture are implicitly shared) and are what worker threads render from.
class Card_Property
{
public:
    bool Card_border_chk = false;                       // draw the border
    bool Card_fill_chk = false;                         // fill the card
    QColor Card_bordr_clr = Qt::black;                  // border colour (never takes the opacity)
    QColor Card_fill_clr = Qt::white;                   // solid fill; alpha carries the opacity
    QColor Card_fill_Grd_1_clr = Qt::white;             // gradient start
    QColor Card_fill_Grd_2_clr = Qt::white;             // gradient end
    QColor Card_hatch_bk_clr = Qt::white;               // painted under the hatch pattern
    int Card_bor_Stepper = 1;                           // border width in points
    int Card_grad_Stepper = 0;                          // gradient angle in degrees
    int Card_Cat_index = 0;                             // row of the card-size list, -1 for none
    float Card_alpha_Stepper = 100.0f;                  // opacity fraction; the initial 100 is opaque
    QString Card_border_style = QStringLiteral("S");    // "S", "DA", "DO", "DD", "DDD"
    QString Card_fill_style = QStringLiteral("S");      // "S" solid, "G" gradient, "H" hatch, "I" picture
    QString Card_hatch_style;                           // base name of a picture in "Fill_Style_Image"
    QString Card_Side = QStringLiteral("2");            // "2" two sides, "1" front only
    QString Card_Side_Name = QStringLiteral("F");       // "F" front, "B" back
    QString Card_Shape = QStringLiteral("R");           // "R", "RR", "E": mirrors the process-wide shape
    QString Card_Name = QStringLiteral("Untitled");
    QString Card_Preset = QStringLiteral("Horizontal");
    QString Card_Category = QStringLiteral("PVC Card");
    QString Card_Sub_Category = QStringLiteral("CR80-Credit Card Size");
    QString Card_Create_Mode = QStringLiteral("W");
    QString Card_BG_Image_Path;
    QString Card_BG_Image_Layout = QStringLiteral("Stretch"); // "Stretch" or "Tile"
    QImage Card_BG_Image;                               // loaded from Card_BG_Image_Path; never stored
    QPointF Card_Location;                              // origin of the card area, points
    QSizeF Card_Size;                                   // size of the card area, points
    QColor Card_Content_clr = Qt::black;                // the side's all-text colour
    CardFont Card_Content_font;                         // the side's all-text font

    // The card sizes the editor makes, in millimetres a side: the Size page's range, which
    // holds every size of the card-size lists.
    static constexpr double MinimumSideMM = 10.0;
    static constexpr double MaximumSideMM = 1000.0;

    Card_Property();

    // The shape code the record stores for a process-wide shape number (0 "R", 1 "RR", else
    // "E"), and back (unknown codes give the rectangle).
    static QString shapeCode(int shape);
    static int shapeNumber(const QString &code);

    // Opacity as a drawing fraction: values of 1 and above (the initial 100) are opaque.
    double opacity() const;

    friend bool operator==(const Card_Property &, const Card_Property &) = default;
};
