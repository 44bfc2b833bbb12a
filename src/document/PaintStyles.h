#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPen>
#include <QRectF>
#include <QSizeF>
#include <QString>

// Painting conventions shared by card elements and the card background, so a border code,
// a gradient angle or a hatch name looks the same wherever it is drawn. All lengths are in
// points: the painter is expected to map points to device pixels.
class PaintStyles
{
public:
    // The dash lengths of a border code in points, alternately drawn and skipped from phase 0:
    // "DA" 8 2, "DO" 4 6, "DD" 24 10 6 10, "DDD" 24 8 8 8 8 8. "S" and any other code: empty,
    // a continuous line.
    static QList<qreal> dashLengths(const QString &borderCode);

    // A pen of `width` points dashed by `borderCode`. Qt counts dash lengths in pen widths;
    // this converts, so a dash stays 8 points long whatever the width. Flat caps and mitred
    // joins unless the caller changes them.
    static QPen borderPen(const QColor &color, double width, const QString &borderCode);

    // A two-colour linear gradient over `area` at `angleDegrees`, measured like every angle on
    // a card, whose y axis points down: 0 runs from the left edge to the right edge, 90 from
    // the top edge to the bottom edge (angles turn clockwise as seen). The ends are placed so
    // the gradient just covers the whole area, whatever the angle.
    static QBrush angledGradient(const QRectF &area, double angleDegrees, const QColor &from, const QColor &to);

    // The picture of a hatch pattern: "<resourcePath>/Fill_Style_Image/<name>.png", or the
    // same base name with another picture extension. A null picture for an empty name, a name
    // that is a path, or a file that is missing or not a picture.
    static QImage hatchPattern(const QString &resourcePath, const QString &name);

    // A picture file the user chose, turned upright by its orientation tag, read under the
    // one rule for pictures (PictureReading). A null picture for an empty path or a file
    // that is missing, empty, not a picture or too large; then `message` (may be null) names
    // the file and says why. `bytes` (may be null) receives the file's own bytes the picture
    // was decoded from, for a design to store it as (PictureReading::Result::bytes).
    static QImage readPicture(const QString &path, QString *message = nullptr, QByteArray *bytes = nullptr);
    // Whether the picture file at `path` reads under that rule; `message` (may be null) says
    // why not. The picture read is kept for the next readPicture() of the same unchanged file,
    // so a chooser's check and the element that takes the file decode it once.
    static bool checkPicture(const QString &path, QString *message);

    // A shipped picture file (hatch pattern, barcode sample) read once and kept while the
    // file stays unchanged on disk (same size and modification time). Safe to call from any
    // thread; a null picture when the file is missing, empty or not a picture.
    static QImage cachedPicture(const QString &path);

    // A copy of `color` with its alpha multiplied by `fraction` (clamped to 0..1).
    static QColor withOpacity(const QColor &color, double fraction);

    // Size in points of a picture that carries its resolution in dots-per-metre (72 dpi when unset).
    static QSizeF pictureSizeInPoints(const QImage &picture);
    // A brush that tiles `pattern` from `origin` (points), a pattern pixel to a point: the same
    // tiles on the canvas, in exported pictures and on PDF pages. Where `device` (the painter's
    // device transform) enlarges a point, the tile is handed over already smoothed to about
    // the device's pixels, so a rasteriser that draws pictures without smoothing (a PDF
    // reader, a printer) shows what a smoothing one does. Draw it with smoothing.
    static QBrush patternBrush(const QImage &pattern, const QPointF &origin, const QTransform &device = {});
};
