#pragma once

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeSettings.h"
#include "barcode/linear/NKDBarcode.h"
#include "barcode/generator/ModuleGridPicture.h"
#include "barcode/generator/TwoDPictureLayout.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

// Barcode pictures from an element's settings: the one generation the designer's preview, its
// OK and every batch run use. Each call works on its own objects only (no dialog, no
// process-wide barcode variable), so any number of threads may call it at once.
//
// Linear and postal codes are drawn at 600 dots per inch, the 2D symbologies at the element's
// resolution; the picture carries its resolution, so its size in points is the designed one.
class BarcodeGenerator
{
public:
    // Pictures beyond this many bytes (as PictureReading counts them) are refused rather than
    // allocated, with the sizes or resolution that would do (BarcodeSizeAdvice). Within what
    // one picture may take in a design and what Paste gives a copy's pictures, so every
    // barcode picture the designer makes survives Save and Open, Copy and Paste.
    static constexpr qint64 kMaxPictureBytes = qint64(256) << 20;
    // Resolution of linear and postal pictures.
    static constexpr int kLinearResolution = 600;

    // Why a DataMatrix symbol could not be made, in the encoder's own terms.
    struct DataMatrixReport
    {
        bool refused = false;   // the encoder found no symbol for the value
        int width = 0;
        int height = 0;
        int encoded = 0;
        int capacity = 0;
        int ecc = 0;
        QByteArray encoding;
    };

    struct Result
    {
        // The finished picture with header, value and footer; null when there is none.
        QImage picture;
        // Why there is no picture (empty when there is one).
        QString failure;
        // The picture would pass kMaxPictureBytes: `failure` gives its size in pixels and, at the
        // element's own resolution, the sizes or resolution that would do.
        bool tooLarge = false;
        // Linear: the barcode object the picture was drawn from.
        std::shared_ptr<NKDBarcode> barcode;
        // 2D: the symbol picture before composition (made for vector output and for colours a
        // picture does not take straight from the module grid; null otherwise), the layout it was
        // composed in and the size of one module in points.
        QImage symbol;
        double modulePoints = 0.0;
        TwoDPictureLayout layout;
        // The renderer settings the picture was drawn with (margins in points).
        BarcodeSettings settings;
        // DataMatrix only, filled when the encoder refused.
        DataMatrixReport dataMatrix;
    };

    // The key of the text every picture carries (QImage::text): the value it was made from, so
    // that an output can draw the same barcode again for its own device.
    static QString valueKey() { return QStringLiteral("Barcode value"); }

    // What a generation is for: a picture at the element's resolution (the default), a picture
    // at another resolution with its bars laid for readers (NKDBarcodeOffscreenView::toReadableImage,
    // the quiet zone kept clear), or no picture at all (the barcode object,
    // or the 2D symbol and its layout, for drawing as vectors).
    struct Output
    {
        double dpi = 0.0;      // 0: the element's resolution
        bool picture = true;
    };

    // The picture of `value` with `header` and `footer` drawn with `settings`: a null picture
    // and the reason in `failure` when there is none (empty value, a value the symbology cannot
    // encode, a symbol that does not fit its size or version, a bad resolution, a picture past
    // kMaxPictureBytes).
    static QImage picture(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                          const QString &footer, QString *failure = nullptr);

    // The same with everything the designer shows besides the picture.
    static Result generate(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                           const QString &footer);
    // The same for another output (see Output).
    static Result generate(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                           const QString &footer, const Output &output);

    // The picture of an element's own value, header and footer.
    static QImage picture(const BarcodeElementSettings &settings, QString *failure = nullptr);

    // generate() without drawing: every check it makes (the value, the symbol, the resolution,
    // the size of the picture), the picture itself not made. `failure` is empty where generate()
    // makes a picture, `tooLarge` set where it would be too large. Cheap enough to be asked many
    // times over.
    static Result measure(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                          const QString &footer);

private:
    // generate() without the advice of a picture too large; with `sizeOnly` everything up to
    // the last size check, no picture drawn.
    static Result run(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                      const QString &footer, const Output &output, bool sizeOnly);
    static void generateLinear(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                               const QString &footer, const Output &output, bool sizeOnly, Result &result);
    static void generateTwoD(const BarcodeElementSettings &settings, const QString &value, const QString &header,
                             const QString &footer, const Output &output, bool sizeOnly, Result &result);
    // The symbol pictures of the three 2D symbologies at `dpi`, as the module grids they are made
    // from; an empty grid with result.failure set when there is none.
    static ModuleGridPicture::Plan Draw_QR_Barcode(const BarcodeElementSettings &settings, const QString &value, int dpi,
                                                   Result &result);
    static ModuleGridPicture::Plan Draw_PDF_417_Barcode(const BarcodeElementSettings &settings, const QString &value,
                                                        int dpi, Result &result);
    static ModuleGridPicture::Plan Draw_DataMatrix_Barcode(const BarcodeElementSettings &settings, const QString &value,
                                                           int dpi, Result &result);
    static bool fitsCap(const QSizeF &points, double dpi, Result &result);
};
