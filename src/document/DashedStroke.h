#pragma once

#include <QLineF>
#include <QPainterPath>
#include <QPen>

class QPainter;

// Dashed outlines drawn as QPainter draws them, pixel for pixel, in less time.
//
// Qt strokes a dashed pen by filling one path that holds every dash, and its rasterizer slows
// down sharply when one fill is made of many pieces far apart (a dashed frame round the card,
// a long dotted line). Here the same outline is worked out by Qt's stroker and filled in
// groups of dashes that share no device pixel, so that every pixel still gets its coverage
// from a single fill. Only where that gives Qt's own pixels: an antialiased raster painter, a
// dashed pen wider than a pixel, no more than scaling and moving, and straight edges in the
// stroked path (Qt cuts curves into dashes with a finer tolerance than its stroker offers), and
// every dash on the device (Qt's dasher lays out an outline reaching past it otherwise).
// Everything else goes to QPainter unchanged. Either way a stroke drawn again at the same place
// on the same thread is blended from the coverage it got the first time (StrokeMaskCache).
class DashedStroke
{
public:
    // As QPainter::strokePath(path, pen).
    static void strokePath(QPainter &painter, const QPainterPath &path, const QPen &pen);
    // As QPainter::drawLine(line) with `pen` set. Qt draws a dashed line with flat or square
    // caps by a way of its own, left to it; a round-capped one goes the way of any path.
    static void drawLine(QPainter &painter, const QLineF &line, const QPen &pen);

    // Whether the last call drew the dashes in groups (for tests).
    static bool lastCallGrouped();
};
