#pragma once

#include "document/CoverageMaskCache.h"
#include "document/ThreadCacheBudget.h"

#include <QtGlobal>

#include <functional>

class QBrush;
class QPainter;
class QPainterPath;
class QPen;

// Draws solid-colour pen strokes (and fills) from coverage masks kept per thread.
//
// Qt's stroker turns every dash, join and round cap of a stroke into polygons and flattens them
// on every draw, although a batch run draws the same lines and outlines at the same place on
// every card. Here the second drawing of a stroke on a thread is done by Qt itself onto a
// coverage picture (CoverageMaskCache) (the first, and a stroke drawn once, Qt draws as it
// comes); later drawings of the same stroke (same path, pen,
// transform, render hints and device size) blend that coverage in the pen's colour with exactly
// the rounding of Qt's raster engine. The pixels are Qt's own.
namespace StrokeMaskCache {

// What the stroke is drawn by, part of what a mask is known by: Qt draws a line given as a line
// by a way of its own.
enum class Way { Path, Line, Fill };

// Draws a stroke with Qt: `pen` on `painter`, as the caller would draw the stroke itself; returns
// a value kept with the mask and handed back with every later drawing.
using QtDrawing = std::function<bool(QPainter &painter, const QPen &pen)>;

// Draws the stroke of `path` (for Way::Line, a line from its first to its second point) with
// `pen` as `qtDraw` draws it, from the calling thread's mask, making the mask with `qtDraw` when
// the thread has drawn the stroke before (CoverageMaskCache::seenBefore()). Returns false, drawing nothing, unless the painter is a raster painter on a 32-bit
// premultiplied image without clipping, in source-over, the pen a solid colour more than a pixel
// wide, Qt would give every pixel its coverage in one pass (a dashed line with flat or square
// caps it draws dash by dash), and the thread has drawn the stroke before (or holds its mask):
// the caller draws then, as also while DrawingCaches are off. `result` gets what qtDraw returned.
bool draw(QPainter &painter, Way way, const QPainterPath &path, const QPen &pen, const QtDrawing &qtDraw,
          bool *result = nullptr);

// As draw(), for the fill of `path` with the solid `brush` as QPainter::fillPath draws it. Returns
// false, drawing nothing, for a brush of a gradient or a pattern and where draw() would.
bool fill(QPainter &painter, const QPainterPath &path, const QBrush &brush);

// Masks the calling thread holds (of strokes and of text), and their bytes.
int maskCount();
qint64 maskBytes();

// At most this many masks and bytes per thread: beyond them the thread starts afresh.
constexpr int kMaxMasks = CoverageMaskCache::kMaxMasks;
constexpr qint64 kMaxBytes = ThreadCacheBudget::kThreadBytes;

} // namespace StrokeMaskCache
