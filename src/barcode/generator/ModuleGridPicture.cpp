#include "barcode/generator/ModuleGridPicture.h"

#include "barcode/BarcodeUnits.h"
#include "document/GreyPictures.h"

#include <algorithm>
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

int dotsPerMetre(double dpi)
{
    return int(std::lround(dpi / 0.0254));
}

// The pixels of `plan` within `clip` (the picture's own pixel rectangle) into `target` (pixels
// of type T) with the picture's top-left pixel at `corner`.
template<typename T>
void fill(QImage &target, const QPoint &corner, const QRect &clip, const Plan &plan, const QSize &pixels, T dark,
          T light, T background)
{
    const ModuleGrid &grid = plan.grid;
    const std::vector<int> columns =
        sampleAxis(pixels.width(), plan.points.width(), plan.gridArea.x(), plan.gridArea.width(), grid.width());
    const std::vector<int> rows =
        sampleAxis(pixels.height(), plan.points.height(), plan.gridArea.y(), plan.gridArea.height(), grid.height());
    const std::size_t lineBytes = std::size_t(clip.width()) * sizeof(T);
    // The row as spans of pixels that sample the same module (-1: the background), each filled
    // at once.
    struct Span
    {
        int start;
        int end;
        int module;
    };
    std::vector<Span> spans;
    for (int x = clip.left(); x <= clip.right();) {
        const int module = columns[std::size_t(x)];
        int end = x + 1;
        while (end <= clip.right() && columns[std::size_t(end)] == module)
            ++end;
        spans.push_back({x - clip.left(), end - clip.left(), module});
        x = end;
    }
    int previousRow = -2;
    const uchar *previousLine = nullptr;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        uchar *bytes = target.scanLine(corner.y() + y) + qsizetype(corner.x() + clip.left()) * qsizetype(sizeof(T));
        const int row = rows[std::size_t(y)];
        if (row == previousRow && previousLine) {
            std::memcpy(bytes, previousLine, lineBytes);
            continue;
        }
        auto *line = reinterpret_cast<T *>(bytes);
        if (row < 0) {
            std::fill(line, line + clip.width(), background);
        } else {
            const std::uint8_t *cells = grid.cells().data() + std::size_t(row) * std::size_t(grid.width());
            for (const Span &span : spans)
                std::fill(line + span.start, line + span.end,
                          span.module < 0 ? background : cells[span.module] ? dark : light);
        }
        previousRow = row;
        previousLine = bytes;
    }
}

// The plan's pixels into `target` at `corner`, those inside it.
void write(QImage &target, const QPoint &corner, const Plan &plan, const QSize &pixels)
{
    const QRect clip = QRect(QPoint(0, 0), pixels).intersected(target.rect().translated(-corner));
    if (clip.isEmpty())
        return;
    if (target.format() == QImage::Format_Grayscale8)
        fill<uchar>(target, corner, clip, plan, pixels, 0, 255, uchar(qRed(plan.background)));
    else
        fill<QRgb>(target, corner, clip, plan, pixels, qRgba(0, 0, 0, 255), qRgba(255, 255, 255, 255),
                   qPremultiply(plan.background));
}

} // namespace

QSize pixelSize(const Plan &plan)
{
    const ModuleGrid &grid = plan.grid;
    if (grid.isEmpty() || !(plan.dpi > 0) || !(plan.points.width() > 0) || !(plan.points.height() > 0)
        || plan.gridArea.isEmpty())
        return {};
    const QSize pixels = BarcodeUnits::pixelSize(plan.points, plan.dpi);
    // Each module must cover at least one pixel.
    if (plan.gridArea.width() * pixels.width() / plan.points.width() < grid.width()
        || plan.gridArea.height() * pixels.height() / plan.points.height() < grid.height())
        return {};
    // A mistyped size or resolution must not take all memory: refuse beyond 256 MiB of pixels.
    if (double(pixels.width()) * double(pixels.height()) * sizeof(QRgb) > kMaxPictureBytes)
        return {};
    return pixels;
}

QSizeF pointSize(const Plan &plan)
{
    const int dpm = dotsPerMetre(plan.dpi);
    return BarcodeUnits::pointSize(pixelSize(plan), dpm, dpm);
}

std::pair<int, int> lightRows(const Plan &plan)
{
    const QSize pixels = pixelSize(plan);
    if (pixels.isEmpty())
        return {0, 0};
    const ModuleGrid &grid = plan.grid;
    const std::vector<int> rows =
        sampleAxis(pixels.height(), plan.points.height(), plan.gridArea.y(), plan.gridArea.height(), grid.height());
    const std::vector<int> columns =
        sampleAxis(pixels.width(), plan.points.width(), plan.gridArea.x(), plan.gridArea.width(), grid.width());
    // Modules some pixel column samples: a dark one there makes its pixel rows dark.
    std::vector<bool> sampled(std::size_t(grid.width()), false);
    for (const int column : columns)
        if (column >= 0)
            sampled[std::size_t(column)] = true;
    const auto dark = [&](int y) {
        const int row = rows[std::size_t(y)];
        if (row < 0)
            return false;
        for (int x = 0; x < grid.width(); ++x)
            if (sampled[std::size_t(x)] && grid.get(x, row))
                return true;
        return false;
    };
    return lightRows(pixels.height(), dark);
}

void drawInto(QImage &target, const QPoint &corner, const Plan &plan)
{
    const QSize pixels = pixelSize(plan);
    if (!pixels.isEmpty())
        write(target, corner, plan, pixels);
}

QImage render(const Plan &plan)
{
    const QSize pixels = pixelSize(plan);
    if (pixels.isEmpty())
        return {};
    QImage picture(pixels, GreyPictures::isOpaqueGrey(plan.background) ? QImage::Format_Grayscale8 : QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};
    write(picture, QPoint(0, 0), plan, pixels);
    const int dpm = dotsPerMetre(plan.dpi);
    picture.setDotsPerMeterX(dpm);
    picture.setDotsPerMeterY(dpm);
    return picture;
}

QImage render(const ModuleGrid &grid, const QSizeF &points, const QRectF &gridArea, double dpi, QRgb background)
{
    return render(Plan{grid, points, gridArea, dpi, background});
}

} // namespace ModuleGridPicture
