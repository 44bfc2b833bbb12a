#pragma once

// ZXing, the reader we check printed barcodes against: one way to ask it for every test.

#include <QByteArray>
#include <QImage>
#include <QPainter>

#ifndef ZX_USE_UTF8
#define ZX_USE_UTF8 1
#endif
#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <string>

namespace BarcodeReader {

struct Options
{
    bool pure = false;              // a synthetic symbol: exact modules, nothing around it
    bool tryHarder = false;
    bool code39Extended = false;
    bool codabarStartStop = false;  // return Codabar's start and stop characters
};

struct Decoded
{
    bool valid = false;
    QByteArray bytes;   // the content bytes, before any character set is applied
    std::string text;   // the content as the reader renders it in UTF-8
    std::string ecLevel;
};

// Reads a grey picture of `width` x `height` bytes, `stride` bytes a row (0: width).
inline Decoded read(const std::uint8_t *luminance, int width, int height, int stride, ZXing::BarcodeFormat format,
                    const Options &options = {})
{
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setIsPure(options.pure);
    hints.setTryHarder(options.tryHarder);
    hints.setTryCode39ExtendedMode(options.code39Extended);
    hints.setReturnCodabarStartEnd(options.codabarStartStop);
    if (options.pure) {
        hints.setTryRotate(false);
        hints.setTryDownscale(false);
        hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
    }
    const ZXing::ImageView view(luminance, width, height, ZXing::ImageFormat::Lum, stride);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    Decoded decoded;
    decoded.valid = result.isValid();
    if (decoded.valid) {
        const auto &bytes = result.bytes();
        decoded.bytes = QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
        decoded.text = result.text();
        decoded.ecLevel = result.ecLevel();
    }
    return decoded;
}

inline Decoded read(const QImage &picture, ZXing::BarcodeFormat format, const Options &options = {})
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    return read(grey.constBits(), grey.width(), grey.height(), int(grey.bytesPerLine()), format, options);
}

// Reads `picture` laid on a card of `background` with `margin` pixels of it all round, as a
// printed barcode stands on its card.
inline Decoded readOn(const QImage &picture, ZXing::BarcodeFormat format, int margin = 40,
                      const QColor &background = Qt::white, const Options &options = {.tryHarder = true})
{
    QImage card(picture.width() + 2 * margin, picture.height() + 2 * margin, QImage::Format_RGB32);
    card.fill(background);
    QPainter painter(&card);
    painter.drawImage(margin, margin, picture);
    painter.end();
    return read(card, format, options);
}

} // namespace BarcodeReader
