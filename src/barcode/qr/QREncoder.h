#pragma once

#include "barcode/ModuleGrid.h"
#include "barcode/generator/ModuleGridPicture.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The QR Code entry points of the barcode designer: text to module grid, grid to picture.
// Every call is self-contained and may run on any thread.
class QREncoder
{
public:
    // The character-set indicator of UTF-8.
    static constexpr int kUtf8Eci = 26;

    // Encodes `text` at error correction `level` (0 L, 1 M, 2 Q, 3 H) and `version` (0 for the
    // smallest version that holds the text, else 1 to 40). ASCII text is written as it is; text
    // made only of ASCII and Shift JIS double-byte characters is written as Shift JIS so that its
    // Kanji use Kanji mode; any other text is written as UTF-8 bytes after the UTF-8 indicator
    // (ECI 26). A text holding a lone surrogate is refused. An empty grid means the text cannot
    // be encoded.
    static ModuleGrid encodeWithECLevel(int level, int version, const QString &text);

    // Encodes raw bytes. `shiftJisKanji` declares them Shift JIS text (Kanji mode allowed);
    // otherwise no byte pair is ever taken for a Kanji character. `eci` (1 to 127) declares their
    // character set in the symbol; 0 declares none.
    // A requested version is used when the bits of the encoder's own segments fit it; version 0
    // allows every version up to 40.
    static ModuleGrid encodeCStringWithECLevel(int level, int version, const QByteArray &bytes,
                                               bool shiftJisKanji = false, int eci = 0);

    // The symbol picture: `imageDimension` points square, floor(dimension / modules) points per
    // module, the remainder as a transparent margin split between the sides (the extra pixel to the
    // bottom and right), brought to `dpi` dots per inch by the resolution step. A null picture when
    // the grid is empty or the dimension gives less than one point per module.
    // `margin` colours that margin instead (an opaque colour gives an opaque picture).
    static QImage renderDataMatrix(const ModuleGrid &grid, int imageDimension, double dpi,
                                   QRgb margin = qRgba(255, 255, 255, 0));
    // What renderDataMatrix() draws, for drawing it elsewhere; an empty grid where it gives null.
    static ModuleGridPicture::Plan picturePlan(const ModuleGrid &grid, int imageDimension, double dpi, QRgb margin);
};
