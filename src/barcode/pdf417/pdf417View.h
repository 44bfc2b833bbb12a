#pragma once

#include "barcode/generator/ModuleGridPicture.h"
#include "barcode/pdf417/PDF417Encoder.h"

#include <QImage>
#include <QSizeF>
#include <QString>

// The PDF417 picture maker the barcode designer holds: it keeps the error correction level and
// the drawing size, encodes a text and makes the symbol picture at a print resolution. It draws
// nothing on screen itself (the designer shows getImage()), so it runs on worker threads too;
// one object serves one generation at a time.
class pdf417View
{
public:
    enum ImageState { ImageReady = 0, EmptyText = 1, EncodingError = 2 };

    pdf417View() = default;

    // Size in points the symbol is stretched to (the designer's width field and height stepper).
    void setFrameSize(const QSizeF &points) { m_frameSize = points; }
    QSizeF frameSize() const { return m_frameSize; }

    void setErrorLevel(int level);
    int getErrorLevel() const { return m_errorLevel; }

    // Encodes `text` and rebuilds the picture at `dpi` dots per inch; returns the new state.
    // An empty text, a text that cannot be encoded or a drawing size too small for one pixel per
    // module leave no picture.
    int drawWithText(const QString &text, double dpi);
    // Encodes `text` into param() without a picture; ImageReady when it could be encoded.
    int encodeText(const QString &text);

    int imageState() const { return m_imageState; }
    // The current picture: frameSize() points, carrying its resolution; null when there is none.
    QImage getImage() const { return m_image; }
    // The record of the last encoding (rows, columns, level, codewords, module matrix).
    const PDF417::pdf417param &param() const { return m_param; }

    // The module matrix stretched to `points` at `dpi` with nearest-neighbour scaling, every
    // codeword row to the same height. Null when a module would get less than one pixel.
    static QImage makePicture(const ModuleGrid &grid, const QSizeF &points, double dpi);
    // What makePicture() draws, for drawing it elsewhere.
    static ModuleGridPicture::Plan picturePlan(const ModuleGrid &grid, const QSizeF &points, double dpi);

private:
    int encode(const QString &text, double dpi, bool picture);

    PDF417::pdf417param m_param;
    QImage m_image;
    QSizeF m_frameSize;
    int m_errorLevel = 2;
    int m_imageState = EmptyText;
};
