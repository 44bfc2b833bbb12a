#pragma once

#include "document/LMNGraphic.h"

#include <QImage>
#include <QString>

// The preview picture that sits beside a template's design file (same base name, "png") and
// that the template gallery shows: the front side and, on a two-sided card whose back holds
// elements, the back beneath it.
class TemplatePreview {
public:
    // Whether the preview shows the back: the card is two-sided ("2") and its back is not empty.
    static bool showsBack(const QString &cardSide, const GraphicList &backGraphics);

    // `front` with `back` beneath it, as wide as the wider of the two; `front` alone when
    // `back` is null.
    static QImage compose(const QImage &front, const QImage &back);
};
