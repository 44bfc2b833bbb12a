#include "barcode/generator/ModuleGridPicture.h"

#include "barcode/BarcodeUnits.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace ModuleGridPicture {

namespace {

constexpr double kMaxPictureBytes = 256.0 * 1024 * 1024;

// Module index (or -1 outside the grid) of every pixel along one axis.
std::vector<int> sampleAxis(int pixels, double points, double areaStart, double areaLength, int modules)
{
    std::vector<int> index(static_cast<std::size_t>(pixels));
    const double pointsPerPixel = points / pixels;
    for (int p = 0; p < pixels; ++p) {
        const double at = (p + 0.5) * pointsPerPixel - areaStart;
        const int module = at < 0 ? -1 : int(std::floor(at * modules / areaLength));
        index[static_cast<std::size_t>(p)] = module >= modules ? -1 : module;
    }
    return index;
}

// Every row of `picture` (pixels of type T) from the sampled modules.
template<typename T>
void fill(QImage &picture, const ModuleGrid &grid, const std::vector<int> &columns, const std::vector<int> &rows,
          T dark, T light, T background)
{
    const int width = picture.width();
    const std::size_t lineBytes = std::size_t(width) * sizeof(T);
    // Colours of the current module row, entry 0 being the background, so each pixel is one lookup.
    std::vector<T> colours(std::size_t(grid.width()) + 1, background);
    int previousRow = -2;
    const uchar *previousLine = nullptr;
    for (int y = 0; y < picture.height(); ++y) {
        uchar *bytes = picture.scanLine(y);
        const int row = rows[std::size_t(y)];
        if (row == previousRow && previousLine) {
            std::memcpy(bytes, previousLine, lineBytes);
            continue;
        }
        auto *line = reinterpret_cast<T *>(bytes);
        if (row < 0) {
            std::fill(line, line + width, background);
        } else {
            const std::uint8_t *cells = grid.cells().data() + std::size_t(row) * std::size_t(grid.width());
            for (int x = 0; x < grid.width(); ++x)
                colours[std::size_t(x) + 1] = cells[x] ? dark : light;
            for (int x = 0; x < width; ++x)
                line[x] = colours[std::size_t(columns[std::size_t(x)] + 1)];
        }
        previousRow = row;
        previousLine = bytes;
    }
}

} // namespace

QImage render(const ModuleGrid &grid, const QSizeF &points, const QRectF &gridArea, double dpi, QRgb background)
{
    if (grid.isEmpty() || !(dpi > 0) || !(points.width() > 0) || !(points.height() > 0) || gridArea.isEmpty())
        return {};
    const QSize pixels = BarcodeUnits::pixelSize(points, dpi);
    // Each module must cover at least one pixel.
    if (gridArea.width() * pixels.width() / points.width() < grid.width()
        || gridArea.height() * pixels.height() / points.height() < grid.height())
        return {};
    // A mistyped size or resolution must not take all memory: refuse beyond 256 MiB of pixels.
    if (double(pixels.width()) * double(pixels.height()) * sizeof(QRgb) > kMaxPictureBytes)
        return {};
    const bool grey = qAlpha(background) == 255 && qRed(background) == qGreen(background)
        && qRed(background) == qBlue(background);
    QImage picture(pixels, grey ? QImage::Format_Grayscale8 : QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};

    const std::vector<int> columns = sampleAxis(pixels.width(), points.width(), gridArea.x(), gridArea.width(), grid.width());
    const std::vector<int> rows = sampleAxis(pixels.height(), points.height(), gridArea.y(), gridArea.height(), grid.height());
    if (grey)
        fill<uchar>(picture, grid, columns, rows, 0, 255, uchar(qRed(background)));
    else
        fill<QRgb>(picture, grid, columns, rows, qRgba(0, 0, 0, 255), qRgba(255, 255, 255, 255), qPremultiply(background));
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    return picture;
}

} // namespace ModuleGridPicture
