#pragma once

#include <QImage>
#include <QSizeF>

// Unit rule and resolution step shared by every barcode picture maker.
namespace BarcodeUnits {

// A length in the display unit (0 inches, 1 centimetres, 2 millimetres) in points.
double toPoints(double value, int unit);
// A narrow bar width in thousandths of an inch, in points.
double milsToPoints(double mils);

// Pixel size of a picture of `points` at `dpi` dots per inch: ceil(w x dpi / 72) x ceil(h x dpi / 72),
// the product formed in double precision and rounded to single precision before the ceiling.
QSize pixelSize(const QSizeF &points, double dpi);

// The resolution step (Increase_DPI:withDPI:): redraws `picture`, whose size in points is
// `points`, into a new ARGB32-premultiplied picture of pixelSize(points, dpi) pixels with no
// smoothing, and sets its dots-per-metre so that it holds `dpi` dots per inch.
// A null picture, an empty size or a resolution of 0 or less gives a null picture.
QImage Increase_DPI(const QImage &picture, const QSizeF &points, double dpi);

// Size in points of a picture that carries its resolution in dots-per-metre (72 dpi when unset).
QSizeF pointSize(const QImage &picture);
// The same for a picture of `pixels` with those dots-per-metre.
QSizeF pointSize(const QSize &pixels, int dotsPerMetreX, int dotsPerMetreY);

} // namespace BarcodeUnits
