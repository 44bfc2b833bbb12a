#pragma once

// Reading our symbols back with ZXing, a decoder we did not write, and random test contents.

#include "support/BarcodeReader.h"

#include "barcode/ModuleGrid.h"

#include <QByteArray>
#include <QImage>

#include <random>
#include <string>
#include <vector>

namespace ModuleGridTestSupport {

using BarcodeReader::Decoded;

inline Decoded read(const std::vector<std::uint8_t> &luminance, int width, int height, ZXing::BarcodeFormat format,
                    bool pure)
{
    return BarcodeReader::read(luminance.data(), width, height, width, format, {.pure = pure});
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
    return BarcodeReader::readOn(picture, format, quiet, Qt::white, {.pure = pure});
}

// `length` bytes drawn evenly from [low, high].
inline QByteArray randomBytes(std::mt19937 &random, int length, int low = 0, int high = 255)
{
    QByteArray bytes(length, '\0');
    for (auto &b : bytes)
        b = char(std::uniform_int_distribution<int>(low, high)(random));
    return bytes;
}

} // namespace ModuleGridTestSupport
