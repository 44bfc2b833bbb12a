#pragma once

#include "barcode/BarcodeSettings.h"
#include "barcode/TwoDPictureLayout.h"

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QSizeF>

class NKDBarcode;
class QPainter;

// Draws one barcode picture in points, y growing downward, origin at the top-left corner.
//
// Linear mode: a linear or postal barcode with background, bars, caption, header and footer,
// everything taken from the barcode object and the settings it carries. The bars stand on a
// common bottom line above the caption and footer bands (or above the footer alone with the
// caption on top); the four-state codes place each bar between its lower and upper end.
//
// 2D mode: a finished two-dimensional symbol picture on white, a header above and a footer
// below, laid out in the size of a TwoDPictureLayout.
//
// The view keeps a reference to the barcode, which the caller keeps alive while drawing.
class NKDBarcodeOffscreenView
{
public:
    explicit NKDBarcodeOffscreenView(const NKDBarcode &barcode);
    NKDBarcodeOffscreenView(const QImage &symbol, const TwoDPictureLayout &layout, const BarcodeSettings &settings);

    // The picture size in points.
    QSizeF size() const { return m_size; }

    // Draws the whole picture with the painter's user units in points.
    void draw(QPainter &painter) const;

    // The picture as a bitmap of ceil(w x dpi / 72) x ceil(h x dpi / 72) pixels that carries
    // its resolution; null for a resolution of 0 or less, an empty size or a picture too large
    // to hold in memory.
    QImage toImage(double dpi) const;
    // The picture as vector drawing commands in points.
    QPicture toPicture() const;
    // A one-page PDF document of the picture's size; empty when it could not be made.
    QByteArray toPdf() const;

    // The picture of a barcode at the resolution of its settings; null without a barcode.
    static QImage imageFromBarcode(const NKDBarcode *barcode);
    // The composed picture of a 2D symbol at the resolution of the settings; null without a symbol.
    static QImage imageFromBarcodeImage(const QImage &symbol, const TwoDPictureLayout &layout,
                                        const BarcodeSettings &settings);
    // The PDF document of a barcode's picture; empty without a barcode.
    static QByteArray pdfFromBarcode(const NKDBarcode *barcode);

private:
    void drawLinear(QPainter &painter, double pixelsPerPoint) const;
    void drawTwoD(QPainter &painter) const;
    void paint(QPainter &painter, double pixelsPerPoint) const;

    const NKDBarcode *m_barcode = nullptr;
    QImage m_symbol;
    TwoDPictureLayout m_layout;
    BarcodeSettings m_settings;
    QSizeF m_size;
};
