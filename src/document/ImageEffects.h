#pragma once

#include <QImage>

class LMNGraphic;

// The eight picture effects of a picture element, written on QImage so they run on any
// thread. Each filter takes any picture and returns a new one in Format_ARGB32 (straight
// alpha); alpha is never changed except by the blur, which averages it. Colour arithmetic
// is done per channel on 0..255 values, rounded to nearest and clamped to 0..255.
//
// Luma, where a filter needs one, is Rec. 709: Y = 0.2126 R + 0.7152 G + 0.0722 B.
//
// The effects and their values (the neutral value leaves the picture as it is):
//
//   filter              field         range            neutral   what it does
//   monochrome          gray_Scale    on / off         off       R = G = B = Y
//   sepia               Sepia         on / off         off       R' = .393R + .769G + .189B,
//                                                                G' = .349R + .686G + .168B,
//                                                                B' = .272R + .534G + .131B
//   invert              invert_clr    on / off         off       c' = 255 - c
//   hue                 hue_val       -180 .. 180 deg  0         rotates hues by the angle (the
//                                                                luma-preserving hue-rotation
//                                                                matrix of SVG's feColorMatrix)
//   saturation          sat_val       0 .. 2           1         c' = Y + s (c - Y)
//   brightness          brt_val       -1 .. 1          0         c' = c + 255 b
//   contrast            con_val       0 .. 4           1         c' = (c - 127.5) k + 127.5
//   sharpen luminance   srp_val       0 .. 2           0         Y' = Y + s (Y - boxmean(Y)),
//                                                                the change added to R, G and B
//   box blur            blr_val       0 .. 100 points  0         mean of a (2r+1)^2 square,
//                                                                edges repeated outwards
//   exposure            ev_val        -10 .. 10 EV     0         linear light times 2^ev (sRGB
//                                                                decoded, scaled, encoded)
//
// Saturation, brightness and contrast form one filter applied in that order. Values outside
// a range are clamped to it; a value that is not a number counts as neutral.
//
// Lengths (blur radius, the sharpening neighbourhood of one point) are in points of the
// card, so an effect looks the same on the canvas, in a 300 dpi export and in a PDF: apply()
// converts them with the pixels per point of the picture being processed.
//
// Opacity (img_trnsp_val, percent, 100 opaque), rotation (rotate_image, degrees) and the
// flips are geometry and compositing; the picture element applies them when it draws.
class ImageEffects
{
public:
    struct Settings
    {
        bool monochrome = false;
        bool sepia = false;
        bool invert = false;
        double hue = 0.0;
        double saturation = 1.0;
        double brightness = 0.0;
        double contrast = 1.0;
        double sharpness = 0.0;
        double exposure = 0.0;
        double blur = 0.0;

        // The effect fields of an element, unchanged.
        static Settings fromGraphic(const LMNGraphic &graphic);
        // The settings with every value clamped to its range (not-a-number becomes neutral).
        Settings clamped() const;
        // True when apply() would return the picture unchanged.
        bool isNeutral() const;

        friend bool operator==(const Settings &, const Settings &) = default;
    };

    static QImage monochrome(const QImage &image);
    static QImage sepia(const QImage &image);
    static QImage invert(const QImage &image);
    static QImage hue(const QImage &image, double degrees);
    static QImage colorControls(const QImage &image, double saturation, double brightness, double contrast);
    // `radius` in pixels (1 to 2000): the neighbourhood whose mean luma is compared.
    static QImage sharpenLuminance(const QImage &image, double sharpness, int radius);
    // `radius` in pixels, at most 2000; 0 or less returns the picture unchanged.
    static QImage boxBlur(const QImage &image, int radius);
    static QImage exposure(const QImage &image, double ev);

    // Every effect of `settings` in the order of the table above, lengths converted with
    // `pixelsPerPoint`. Returns Format_ARGB32_Premultiplied, ready for drawing; a neutral
    // setting returns the picture itself (converted only when it has another format).
    static QImage apply(const QImage &image, const Settings &settings, double pixelsPerPoint);
};
