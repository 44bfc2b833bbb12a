#pragma once

#include <QList>

class QColor;
class QGlyphRun;
class QPainter;
class QPointF;
class QRectF;

// Draws text glyphs onto a plain bitmap from coverage masks kept per thread.
//
// Qt's raster engine caches rendered glyphs only up to 64 pixels and fills larger ones from
// their outlines on every draw, which costs a 600 dpi caption a hundred times more than the
// bars beside it. Here each glyph outline is filled once per thread (per font, size and quarter
// pixel of position) and then blended as Qt blends a filled outline.
namespace LargeGlyphCache {

// Draws `runs` laid out in the painter's user units, shifted by `origin`, in `colour`. Returns
// false, drawing nothing, unless the painter draws unclipped and at full opacity onto a 32-bit
// image (or an 8-bit grey one, in an opaque grey colour) through a plain scale and every glyph
// comes out larger than Qt's own cache holds: the caller draws the text then. A grey image gets
// exactly the grey of the 32-bit pixels.
bool draw(QPainter &painter, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour);

// As draw(), for a painter whose clip the caller set to the rectangle `clip` (user units) and
// knows to be nothing else; a clip of another shape would go unnoticed. Draws only when every
// pixel the glyphs touch lies wholly inside `clip` (and inside the painter's clip bounds), where
// clipping would have changed none of them; otherwise returns false, drawing nothing.
bool drawInsideClip(QPainter &painter, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour,
                    const QRectF &clip);

// To be called before Qt draws `runs` itself with `painter`: where Qt fills the glyphs'
// outlines (glyphs larger than its own cache holds), they then come out as on a thread that has
// drawn nothing before. Does nothing for smaller glyphs, whose pictures do not depend on it.
void prepareQtDrawing(const QPainter &painter, const QList<QGlyphRun> &runs);

// Masks the calling thread holds.
int maskCount();

} // namespace LargeGlyphCache
