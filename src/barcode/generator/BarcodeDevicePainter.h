#pragma once

#include <QRectF>

class LMNGraphic;
class QPainter;

// Barcode elements drawn for the device an output draws on, so that every output scans:
// - a vector device (PDF, printer): bars and texts as vectors, a 2D symbol losslessly;
// - a bitmap: the barcode made again at the bitmap's resolution, its bars laid for readers on
//   whole pixels without entering the quiet zone, placed pixel for pixel (never scaled, never
//   smoothed).
// The element's own settings, header and footer and the value its picture was made from (the
// picture carries it; else the element's value) decide what is drawn. Safe on any thread.
class BarcodeDevicePainter
{
public:
    // Draws `barcode` into `target` (points, the element's picture rectangle) and answers true;
    // answers false, drawing nothing, when the element is better drawn from its picture: no
    // picture, settings that do not give a picture of the same size, a rotated or sheared
    // painter, or modules smaller than a device pixel.
    static bool draw(QPainter &painter, const LMNGraphic &barcode, const QRectF &target);
};
