#pragma once

#include "document/CardFont.h"
#include "document/LMNGraphic.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

// What the element pages of the settings panel hold, apart from the widgets that show it,
// and how each page writes itself into an element. The pages read their controls into these
// values; the write-back applies them to every selected element of the side in work.

// Border style codes in the order of every border style list: 0 "S" solid, 1 "DA", 2 "DO",
// 3 "DD", 4 "DDD".
namespace BorderCodes {
const QStringList &codes();
// The list index of a code; -1 for a code that is not one of the five.
int indexOf(const QString &code);
// The code at a list index; nothing for no selection or an index out of the list.
std::optional<QString> codeAt(int index);
} // namespace BorderCodes

// A border as the border group of a page holds it.
struct StrokeValues
{
    bool on = false;
    QColor color;
    int width = 1;
    int styleIndex = -1;   // border list index; -1 (nothing chosen) keeps the element's code

    // On: stroke drawn with the colour and width. Off: no stroke, colour and width kept.
    void apply(LMNGraphic &graphic) const;
};

struct ShapeTabValues
{
    StrokeValues stroke;
    bool fillOn = false;
    QColor fillColor;
    bool gradientRadio = false;
    bool hatchRadio = false;
    QColor gradient1, gradient2;
    double gradientAngle = 0;
    QColor hatchBackground;
    QString hatchName;       // selected pattern; empty when none is selected
    double opacityPercent = 100;
    double cornerRadius = 10;
    int doubleStar = 8;
    int polygon = 6;
    int printObject = 0;

    void apply(LMNGraphic &graphic) const;
};

struct LineTabValues
{
    QColor color;
    int width = 1;
    int styleIndex = -1;
    int capIndex = -1;       // no selection is stored as 0
    int orientationIndex = -1;
    double opacityPercent = 100;
    int printObject = 0;

    void apply(LMNGraphic &graphic) const;
};

struct TextTabValues
{
    int printObject = 0;
    StrokeValues stroke;
    bool fillOn = false;
    QColor fillColor;
    bool gradientRadio = false;
    QColor gradient1, gradient2;
    double gradientAngle = 0;
    QColor textColor;
    CardFont font;
    std::optional<QString> text;   // only with exactly one selected element
    double opacityPercent = 100;
    int alignment = -1;            // -1 (nothing chosen) keeps the element's alignment
    int textCase = -1;             // -1 keeps the element's case
    double kerning = 0;

    void apply(LMNGraphic &graphic) const;
};

struct ImageTabValues
{
    int printObject = 0;
    StrokeValues stroke;
    bool flipH = false, flipV = false, invert = false, grey = false, sepia = false;
    float opacity = 100, rotation = 0, hue = 0, saturation = 1, brightness = 0, contrast = 1, sharpness = 0,
          exposure = 0, blur = 0;
    QString path;

    // The effects go into every element; the path only into pictures, and a picture whose
    // path changes loads the new file.
    void apply(LMNGraphic &graphic) const;
    // The neutral effects of the reset: opacity 100, saturation and contrast 1, the rest 0,
    // no flips, grey, sepia or invert.
    void resetEffects();
};

struct SignTabValues
{
    int printObject = 0;
    StrokeValues stroke;
    QString path;

    // Border into every element; the path only into signatures, which load a changed file.
    void apply(LMNGraphic &graphic) const;
};
