#pragma once

// Pictures shared by the benchmarks.

#include <QImage>
#include <QRandomGenerator>

#include <cmath>

namespace BenchPictures {

// The pixels of a picture that are not wholly transparent.
inline QRect inkBounds(const QImage &picture)
{
    QRect bounds;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// A photograph-like picture: smooth colour fields with some grain (`grain` levels of noise in
// each channel).
inline QImage photo(int width, int height, int seed, int grain = 24)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = grain > 0 ? int(random.bounded(grain)) : 0;
            line[x] = qRgb((x * 255 / width + noise) % 256, (y * 255 / height + noise) % 256,
                           int(128 + 100 * std::sin((x + y) / 40.0)));
        }
    }
    return image;
}

} // namespace BenchPictures
