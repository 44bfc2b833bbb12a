#pragma once

#include <QImage>

// Conversions between 8-bit grey pictures and the 32-bit pictures that hold the same greys.
// They give exactly the pixels QImage::convertToFormat() gives, several times faster: Qt's
// general converters go pixel by pixel through its colour handling, and barcode pictures are
// converted for every record of a batch.
namespace GreyPictures {

// Whether a 32-bit colour or pixel is fully opaque with the same level on every channel: what an
// 8-bit grey picture can hold.
inline bool isOpaqueGrey(QRgb colour)
{
    return qAlpha(colour) == 255 && qRed(colour) == qGreen(colour) && qRed(colour) == qBlue(colour);
}

// The picture in `format` (RGB32 or ARGB32_Premultiplied) whose every pixel is the opaque
// (g, g, g) of the grey level g; the resolution is kept. Other formats are left to Qt.
QImage toThirtyTwoBit(const QImage &grey, QImage::Format format = QImage::Format_RGB32);

// The 8-bit grey picture of a 32-bit one whose pixels are all opaque greys (the three channels
// alike), as a grey picture drawn on as a 32-bit copy is; any other picture is left to Qt.
QImage toGrey(const QImage &picture);

// toThirtyTwoBit(grey) in RGB32, the last few made on the calling thread kept: a canvas draws
// the same barcode pictures on every repaint. What is kept counts against ThreadCacheBudget
// and takes at most kKeptShare of a thread's bytes, so that it never leaves the masks of
// CoverageMaskCache without room; the oldest picture goes first. Nothing is kept while
// DrawingCaches are off.
QImage keptThirtyTwoBit(const QImage &grey);
// Lets go of the calling thread's kept pictures.
void dropKept();
// Bytes the calling thread's kept pictures hold.
qint64 keptBytes();

constexpr int kKeptPictures = 4;
constexpr qint64 kKeptShare = qint64(8) << 20;

} // namespace GreyPictures
