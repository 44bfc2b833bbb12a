#pragma once

#include "barcode/BarcodeSettings.h"
#include "barcode/generator/ModuleGridPicture.h"
#include "barcode/generator/TwoDPictureLayout.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPicture>
#include <QSizeF>

#include <vector>

class NKDBarcode;
class QPainter;

// Draws one barcode picture in points, y growing downward, origin at the top-left corner.
//
// Linear mode: a linear or postal barcode with background, bars, caption, header and footer,
// everything taken from the barcode object and the settings it carries. The bars stand on a
// common bottom line above the caption and footer bands (or above the footer alone with the
// caption on top); the four-state codes place each bar between its lower and upper end.
//
// 2D mode: a finished two-dimensional symbol picture (or the module grid it is made from) on the
// opaque background colour (its quiet zone and light modules too), a header above and a footer
// below, laid out in the size of a TwoDPictureLayout.
//
// The view keeps a reference to the barcode, which the caller keeps alive while drawing.
class NKDBarcodeOffscreenView
{
public:
    explicit NKDBarcodeOffscreenView(const NKDBarcode &barcode);
    NKDBarcodeOffscreenView(const QImage &symbol, const TwoDPictureLayout &layout, const BarcodeSettings &settings);
    // 2D mode with the symbol given as the module grid its picture is made from: a bitmap at the
    // symbol's resolution gets the modules straight into its pixels.
    NKDBarcodeOffscreenView(const ModuleGridPicture::Plan &symbol, const TwoDPictureLayout &layout,
                            const BarcodeSettings &settings);

    // The picture size in points.
    QSizeF size() const { return m_size; }

    // Draws the whole picture with the painter's user units in points, as vectors: bars as
    // rectangles, texts as text, a 2D symbol losslessly (a one-bit picture when black on
    // white, its dark modules as one filled outline otherwise).
    void draw(QPainter &painter) const;

    // The picture as a bitmap of ceil(w x dpi / 72) x ceil(h x dpi / 72) pixels that carries
    // its resolution; null for a resolution of 0 or less, an empty size or a picture too large
    // to hold in memory. Bar edges go to the nearest pixel edge. A picture whose colours are
    // all opaque greys (a 2D symbol given in 8-bit grey) is an 8-bit grey bitmap, else a
    // premultiplied 32-bit one.
    QImage toImage(double dpi) const;
    // The same with the bars laid for readers, `quietZone` points on each side kept clear of
    // them (the bars stay centred; a picture that leaves less keeps what it leaves):
    // - modules of kExactModulePixels or more keep their edges on the nearest pixel edge, the
    //   bars narrowed (by 3 % at most) so that the quiet zone holds the pixel rounding of its
    //   neighbouring bars;
    // - smaller modules, where such rounding would make narrow and wide elements too unequal
    //   for readers, get the nearest whole number of pixels each; the bars keep their span
    //   (narrowed by 3 % at most for a quiet zone of such modules) by a pixel less or more on
    //   some elements: single-module spaces beside a wide one in codes of narrow and double
    //   elements, else the widest elements (at most one in four). Where there are too few,
    //   every module gets the same pixels: the nearest number when the bars and their quiet
    //   zone in such modules fit the picture, else one pixel less (never under one).
    QImage toReadableImage(double dpi, double quietZone) const;
    static constexpr double kExactModulePixels = 3.75;
    // toImage() in premultiplied 32-bit pixels whatever the colours: the picture whose grey a
    // grey one holds.
    QImage toArgbImage(double dpi) const;
    // The picture as vector drawing commands in points.
    QPicture toPicture() const;
    // A one-page PDF document of the picture's size; empty when it could not be made.
    QByteArray toPdf() const;

    // Where the groups of a grouped caption start (points from the left edge) and the kerning
    // each gets: W barcode width, b module width, m start-pattern modules, widths and lengths
    // of the groups as measured. An empty group gets kerning 0.
    struct CaptionGroup
    {
        double x;
        double kerning;
    };
    static QList<CaptionGroup> groupedCaption(double W, double b, int m, double firstBar, double lrMargin,
                                              const QList<double> &widths, const QList<int> &lengths);
    // Kerning of a one-group caption of `length` characters measured `w` wide under bars `span`
    // wide: stretched, the letters spread so that the first starts and the last ends with the
    // bars; else (also for one letter, or a caption wider than the bars) kUnstretchedKerning.
    static constexpr double kUnstretchedKerning = 2.0;
    static double oneGroupKerning(double span, double w, int length, bool stretch);
    // A one-group caption of `font` with `spacing` points after each character, set on one line
    // at most `room` points wide: as it is when it fits, else font and spacing scaled down
    // alike until it does. `size` is the line's measured size.
    struct FittedCaption
    {
        CardFont font;
        double spacing;
        QSizeF size;
    };
    static FittedCaption fittedCaption(const QString &text, const CardFont &font, double spacing, double room);

    // The EAN and UPC caption digits each in a slot of seven modules, as their digits are
    // encoded: for a symbol of `modules` modules with guards of `start` and `end` modules and
    // caption groups of `digits` digits, the first module of every digit's slot, group after
    // group. Two groups lie on either side of the five-module centre guard, touching it; one
    // group follows the start guard.
    static QList<int> digitSlots(int modules, int start, int end, const QList<int> &digits);
    static constexpr int kModulesPerDigit = 7;

    // The picture of a barcode at the resolution of its settings; null without a barcode.
    static QImage imageFromBarcode(const NKDBarcode *barcode);
    // The composed picture of a 2D symbol at the resolution of the settings; null without a symbol.
    static QImage imageFromBarcodeImage(const QImage &symbol, const TwoDPictureLayout &layout,
                                        const BarcodeSettings &settings);
    // The same for a symbol given as its module grid; null when the grid gives no picture.
    static QImage imageFromModuleGrid(const ModuleGridPicture::Plan &symbol, const TwoDPictureLayout &layout,
                                      const BarcodeSettings &settings);
    // The PDF document of a barcode's picture; empty without a barcode.
    static QByteArray pdfFromBarcode(const NKDBarcode *barcode);

private:
    void drawLinear(QPainter &painter, double pixelsPerPoint, const std::vector<int> &edges) const;
    // The caption of an EAN or UPC symbol, its line box ending at `bottom`: the groups' digits
    // in their slots under the bars, the outer digits beside the bars, a little higher. With
    // the module `edges` of a bitmap's bars (pixels), the slots are where the bars were laid.
    void drawDigitSlots(QPainter &painter, double bottom, const std::vector<int> &edges, double pixelsPerPoint) const;
    void drawTwoD(QPainter &painter, double pixelsPerPoint) const;
    // pixelsPerPoint > 0: a bitmap of that scale that holds the background and the bars
    // already, laid on the module `edges` when there are any (see moduleEdges()). 0: vector output.
    void paint(QPainter &painter, double pixelsPerPoint, const std::vector<int> &edges = {}) const;
    // The bars in points, y down; *barHeight gets the length of the last one.
    std::vector<QRectF> barRects(double *barHeight) const;
    QImage rasterise(double dpi, double quietZone, bool mayBeGrey = true) const;
    // The module edges in device pixels at `scale` pixels a point of bars laid for readers
    // with `quietZone` points beside them (see toReadableImage()); none when `quietZone` < 0.
    std::vector<int> moduleEdges(double scale, double quietZone) const;
    // The bars in device pixels at `scale` pixels a point, inside `bounds`; on `edges` when
    // there are any, else each bar's own rectangle rounded.
    std::vector<QRect> deviceBars(double scale, const std::vector<int> &edges, const QRect &bounds) const;
    // The pixel column of each module edge of `pattern` ('1' and '0' modules of `exact` pixels)
    // laid for readers with `quiet` modules beside it, centred in `width` pixels; only the
    // edges between unlike modules are meaningful for small modules.
    static std::vector<int> readableEdges(const QByteArray &pattern, double exact, double quiet, double width);
    // The 2D symbol `picture` into `target` (points) on a vector device.
    void drawSymbolLossless(QPainter &painter, const QRectF &target, const QImage &picture) const;
    // The 2D symbol's picture, made from its module grid when it was given as one.
    QImage symbolPicture() const;
    // Where the 2D symbol lies in the picture, in points.
    QRectF symbolTarget() const;
    // The pixels of `bitmap` (at `pixelsPerPoint`) that take the 2D symbol row for row: an
    // opaque symbol in the bitmap's format made at its resolution on an opaque background.
    // Empty otherwise.
    QRect copiedSymbolPixels(double pixelsPerPoint, const QImage &bitmap) const;
    // Whether bitmaps are 8-bit grey: every colour is an opaque grey (and a 2D symbol is grey).
    // They then hold exactly the grey of the 32-bit pictures drawn otherwise.
    bool drawsGrey() const;
    // Fills every row of `image` with the background and the device-pixel `bars` in ink, all
    // but the pixels of `spared`, which another step writes. A grey image takes the colours'
    // red channel.
    static void fillRows(QImage &image, const std::vector<QRect> &bars, QRgb background, QRgb ink,
                         const QRect &spared = QRect());
    // A rectangle in device pixels with every edge on the nearest pixel edge.
    static QRect snapped(const QRectF &device);

    const NKDBarcode *m_barcode = nullptr;
    // The bars in points, computed once, and the length of the last one.
    std::vector<QRectF> m_bars;
    double m_barHeight = 0.0;
    QImage m_symbol;
    ModuleGridPicture::Plan m_plan;
    TwoDPictureLayout m_layout;
    BarcodeSettings m_settings;
    QSizeF m_size;
};
