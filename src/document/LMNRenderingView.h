#pragma once

#include "document/LMNGraphic.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <functional>

class QIODevice;

// The off-screen renderer of one card side: the side's background, then its elements from
// the last list index to index 0, into a QImage or a one-page PDF. Every printed, mailed or
// exported card and every preview comes from it.
//
// It draws only what it is given: the elements, the card size and the background painter
// are fixed when it is made, and it never looks at widgets or at the side in work, so one
// renderer (or several) can run on worker threads while the canvas paints. The elements are
// only read; a caller that edits them meanwhile hands over a snapshot() instead.
class LMNRenderingView
{
public:
    // Paints the background of a side: `cardRect` is the whole card (in points, origin 0, 0),
    // `dirtyRect` the part being drawn. Called on the rendering thread.
    using BackgroundPainter =
        std::function<void(QPainter &painter, const QRectF &cardRect, const QRectF &dirtyRect)>;

    // A renderer of a card of `cardSize` points. Without a background painter the card is white.
    explicit LMNRenderingView(const QSizeF &cardSize, BackgroundPainter background = {},
                              DrawContext context = {});

    QSizeF cardSize() const { return m_cardSize; }
    // Resolution of the images made, in dots per inch (72, one pixel per point, unless set).
    double resolution() const { return m_dpi; }
    void setResolution(double dotsPerInch);

    // The card image of `graphics`: the background, then the elements from the last index to
    // index 0, leaving out every element whose print_object is set (and invisible ones). The
    // image is pixelSize() pixels, ARGB32 premultiplied, and carries its resolution; the
    // background is painted on the card as the picture holds it, edge to edge.
    // `print_box` says whether the image may come straight from a bitmap (1) or should follow
    // the PDF drawing (0); both draw the same vector commands here, so they give the same
    // picture. A null image when the card size or resolution is unusable or memory runs out.
    QImage image_From_Card_Graphics(const GraphicList &graphics, int print_box = 1) const;

    // The same side as a one-page PDF of the card's size, written to `device` (open for
    // writing) or returned as data. False or empty data on failure.
    bool writePdf(const GraphicList &graphics, QIODevice *device) const;
    QByteArray pdfData(const GraphicList &graphics) const;

    // The whole pixels a card of `points` takes at `pixelsPerPoint` (the nearest, a half
    // down): every output and the canvas size their pictures by it.
    static QSize pixelSize(const QSizeF &points, double pixelsPerPoint);

    // A white card: what a side looks like before the editor supplies its background.
    static void whiteCard(QPainter &painter, const QRectF &cardRect, const QRectF &dirtyRect);

    // Draws `graphics` from the last index to index 0 into `painter` (in points), skipping
    // elements that miss `dirtyRect` (an empty rectangle draws all), invisible elements, and
    // with `leaveOutNonPrinting` those whose print_object is set. The canvas uses it too.
    static void drawGraphics(QPainter &painter, const GraphicList &graphics, const QRectF &dirtyRect,
                             const DrawContext &context, bool leaveOutNonPrinting);

    // Independent copies of the elements, for rendering while the originals may change.
    static GraphicList snapshot(const GraphicList &graphics);

private:
    // The background painted on `card` (in points), then the elements.
    void render(QPainter &painter, const GraphicList &graphics, double pixelsPerPoint, const QRectF &card) const;
    // The card image on the calling thread.
    QImage drawImage(const GraphicList &graphics) const;

    QSizeF m_cardSize;
    BackgroundPainter m_background;
    DrawContext m_context;
    double m_dpi = 72.0;
};
