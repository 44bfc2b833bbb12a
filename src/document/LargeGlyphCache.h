#pragma once

#include <QList>

#include <functional>

class QColor;
class QGlyphRun;
class QPainter;
class QPointF;
class QRectF;

// Draws large text onto a plain bitmap from coverage masks kept per thread.
//
// Qt's raster engine caches rendered glyphs only up to 64 pixels and fills larger ones from
// their outlines on every draw, which costs a 600 dpi caption a hundred times more than the
// bars beside it. Here the text a caller draws again at the same place (every card of a batch,
// every repaint of the canvas) is drawn by Qt once per thread onto a coverage picture at its
// exact place and transform as Qt draws it for real, fill by fill as Qt fills it (every text
// item, and every face of a font of several, is a fill of its own, blended on its own)
// (CoverageMaskCache), and later blended from that coverage, fill after fill, in the text's
// colour with the raster engine's own rounding (on 8-bit grey pictures, in the grey of the
// 32-bit pixels): the pixels are Qt's own.
namespace LargeGlyphCache {

// How the caller's Qt drawing draws the runs: part of what a mask is known by. GlyphRuns: each
// run by QPainter::drawGlyphRun() at the origin, in order; TextLine and TextLayout: by
// QTextLine::draw() or QTextLayout::draw().
enum class Way { GlyphRuns, TextLine, TextLayout };

// Draws the text with the painter's pen as the caller draws it with Qt.
using QtDrawing = std::function<void(QPainter &painter)>;

// Draws `runs` laid out in the painter's user units, shifted by `origin`, in `colour`, as
// `qtDraw` draws them. Returns false, drawing nothing, unless the painter draws unclipped and at
// full opacity onto a 32-bit image (or an 8-bit grey one, in an opaque grey colour) through a
// plain scale, every glyph comes out larger than Qt's own cache holds, and the calling thread
// has drawn the same text at the same place before: the caller draws the text with Qt then. A
// grey image gets exactly the grey of the 32-bit pixels.
bool draw(QPainter &painter, Way way, const QList<QGlyphRun> &runs, const QPointF &origin, const QColor &colour,
          const QtDrawing &qtDraw);

// As draw(), for a painter whose clip the caller set to the rectangle `clip` (user units) and
// knows to be nothing else; a clip of another shape would go unnoticed. Draws only when every
// pixel the text covers lies wholly inside `clip` (and inside the painter's clip bounds), where
// clipping would have changed none of them; otherwise returns false, drawing nothing.
bool drawInsideClip(QPainter &painter, Way way, const QList<QGlyphRun> &runs, const QPointF &origin,
                    const QColor &colour, const QRectF &clip, const QtDrawing &qtDraw);

// To be called before Qt draws `runs` itself with `painter`: where Qt fills the glyphs'
// outlines (glyphs larger than its own cache holds), they then come out as on a thread that has
// drawn nothing before. Does nothing for smaller glyphs, whose pictures do not depend on it.
void prepareQtDrawing(const QPainter &painter, const QList<QGlyphRun> &runs);

// Masks the calling thread holds (of text and of strokes).
int maskCount();

} // namespace LargeGlyphCache
