#pragma once

#include "document/LMNGraphic.h"

#include <QImage>

class QMimeData;

// What the canvas puts on the clipboard and how pasted elements are placed. The clipboard
// holds copied elements as a binary property list of element archives under
// LMNGraphicViewPasteboardType, with a PNG picture of them beside it for other programs.
class ElementClipboard
{
public:
    // The clipboard contents for `graphics` (list order), as Copy makes it; null, with the
    // reason in *error (may be null), when Paste would refuse them for their size.
    static QMimeData *mimeDataFor(const GraphicList &graphics, QString *error = nullptr);
    // A picture of `graphics` at one pixel per point, cut to the area they draw on; none when
    // that would be larger than 64 megapixels.
    static QImage pictureOf(const GraphicList &graphics);

    // Moves `pasted` down and to the right by `step` points until none of them lands exactly on
    // an element of `present`, at most 20 steps. Equal bounds are found through a hash, so
    // pasting many elements onto many costs time linear in both.
    static void stepAside(const GraphicList &pasted, const GraphicList &present, double step);
};
