#pragma once

// Reading our symbols back with ZXing, a decoder we did not write.

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include "barcode/ModuleGrid.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

namespace ModuleGridDecode {

struct Decoded {
    bool valid = false;
    QByteArray bytes;   // the content bytes, before any character set is applied
    std::string text;   // the content as the reader renders it in UTF-8
    std::string ecLevel;
};

inline Decoded read(const std::vector<std::uint8_t> &luminance, int width, int height, ZXing::BarcodeFormat format,
                    bool pure)
{
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setIsPure(pure);
    hints.setTryRotate(false);
    hints.setTryDownscale(false);
    hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
    const ZXing::ImageView view(luminance.data(), width, height, ZXing::ImageFormat::Lum);
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

// Draws the grid with `moduleWidth` x `moduleHeight` pixels per module inside a quiet zone of
// `quiet` modules, and decodes it.
inline Decoded decodeGrid(const ModuleGrid &grid, ZXing::BarcodeFormat format, int moduleWidth = 2,
                          int moduleHeight = 2, int quiet = 4)
{
    const int width = (grid.width() + 2 * quiet) * moduleWidth;
    const int height = (grid.height() + 2 * quiet) * moduleHeight;
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height), 255);
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = 0; x < grid.width(); ++x) {
            if (!grid.get(x, y))
                continue;
            for (int dy = 0; dy < moduleHeight; ++dy) {
                std::uint8_t *p = pixels.data() + std::size_t((quiet + y) * moduleHeight + dy) * width
                    + std::size_t((quiet + x) * moduleWidth);
                std::fill(p, p + moduleWidth, 0);
            }
        }
    }
    return read(pixels, width, height, format, true);
}

// Decodes a finished picture laid on white, with a white quiet zone of `quiet` pixels around it.
inline Decoded decodePicture(const QImage &picture, ZXing::BarcodeFormat format, int quiet, bool pure = false)
{
    QImage canvas(picture.width() + 2 * quiet, picture.height() + 2 * quiet, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.drawImage(quiet, quiet, picture);
    }
    const QImage grey = canvas.convertToFormat(QImage::Format_Grayscale8);
    std::vector<std::uint8_t> pixels(std::size_t(grey.width()) * std::size_t(grey.height()));
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(), pixels.data() + std::size_t(y) * grey.width());
    return read(pixels, grey.width(), grey.height(), format, pure);
}

} // namespace ModuleGridDecode
