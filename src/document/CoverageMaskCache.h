#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRect>

#include <functional>
#include <vector>

class QBrush;
class QImage;
class QTransform;

// Coverage of drawings Qt made, kept per thread so that the same drawing at the same place can
// be put down again without Qt working it out afresh: a batch run draws the same strokes,
// outlines and titles at the same place on every card, and a canvas on every repaint.
//
// A mask is made by Qt itself: the drawing is done in opaque white onto a coverage picture as
// large as the device, through the painter's own transform and render hints, so that Qt's
// rasteriser gives every pixel the coverage it gives it when drawing for real. Putting the mask
// down blends a solid colour through that coverage with the raster engine's own rounding: the
// pixels are Qt's own.
//
// What a thread keeps counts against ThreadCacheBudget: its masks with their keys and
// bookkeeping, and the coverage picture kept from one mask to the next (up to a card at
// 600 dpi; a larger one, up to 16 MB, is made for a mask and let go at once). A thread keeps at
// most kMaxMasks masks; where a new one finds no room the masks used longest ago go first, and
// a mask that still finds none is used once and not kept. Beside the budget, bounded: the
// colours asked of Qt (kMaxColours) and the hashes of the keys looked for (kMaxSeen, a few
// hundred kilobytes).
//
// Nothing is kept or used while DrawingCaches are off.
namespace CoverageMaskCache {

// Pixels of one row from `x` on: wholly covered, or with their coverage at `offset` in the
// mask's bytes.
struct Run
{
    int y;
    int x;
    int length;
    int offset;
    bool whole;
};

// Where one drawing covers the device, and what its Qt drawing returned. The runs of a drawing
// of several layers come layer after layer, each layer's in rows from the top.
struct Mask
{
    std::vector<Run> runs;
    std::vector<uchar> coverage;
    // The device pixels of the runs.
    QRect bounds;
    bool result = false;
    // Qt would not have drawn this by coverage alone (a colour font): the caller draws.
    bool leftToQt = false;

    qint64 bytes() const;
};

// Draws the drawing onto `scratch`, whose transform, render hints and white pen are set; returns
// a value kept with the mask. Sets `leftToQt` where the drawing is not one of coverage alone.
// A drawing Qt blends in several fills (text of several glyph runs: a pixel two runs share is
// blended once by each) calls `endLayer` after each fill: the coverage drawn since becomes a
// layer of its own, put down after the layers before it, as Qt blends them.
using CoverageDrawing = std::function<bool(QPainter &scratch, bool &leftToQt, const std::function<void()> &endLayer)>;

struct Making
{
    QSize device;
    QTransform transform;
    QPainter::RenderHints hints;
    // The device pixels the drawing may touch; beyond them coverage is not looked for.
    QRect reach;
    CoverageDrawing draw;
    // Whether the drawing is clipped to `reach` (device pixels): where it is not known to stay
    // inside. A mask with coverage on the edge of its reach is then left to Qt.
    bool clipToReach = false;
};

// Calls `use` with the calling thread's mask known by `key`, made as `making` says when the
// thread holds none. Returns false, calling nothing, where no coverage picture could be had.
bool withMask(const QByteArray &key, const Making &making, const std::function<void(const Mask &)> &use);

// The calling thread's mask known by `key`, or null; valid until the thread's next mask.
const Mask *find(const QByteArray &key);

// Whether the calling thread has looked for `key` before, recently enough that a mask made now
// would still be kept when `key` comes round again; remembers it. A mask is made for a drawing
// only when this says so: a drawing done once (a record's own value, a card of its own) is
// Qt's, and costs nothing here but its key.
bool seenBefore(const QByteArray &key);

// Lets go of all the calling thread keeps and remembers (DrawingCaches::resetThread()).
void resetThread();

// The premultiplied 32-bit colour Qt's raster engine fills a solid `brush` with at the painter
// opacity `opacity`.
quint32 fillColour(const QBrush &brush, double opacity);

// Source-over of the premultiplied `colour` through the mask onto a 32-bit image (premultiplied
// or RGB32), as Qt's raster engine blends a solid colour through coverage.
void blend(QImage &image, const Mask &mask, quint32 colour);

// The same source-over of the opaque grey `level` onto an 8-bit grey image: the grey of the
// pixels the 32-bit blend gives.
void blendGrey(QImage &image, const Mask &mask, uchar level);

// Masks and bytes the calling thread holds here (its coverage picture included).
int maskCount();
qint64 threadBytes();
qint64 scratchBytes();

constexpr int kMaxMasks = 1024;
constexpr qsizetype kMaxSeen = 4 * kMaxMasks;
constexpr qsizetype kMaxColours = 256;

} // namespace CoverageMaskCache
