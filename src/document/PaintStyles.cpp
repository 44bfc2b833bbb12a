#include "document/PaintStyles.h"

#include "document/PictureReading.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numeric>
#include <utility>

QList<qreal> PaintStyles::dashLengths(const QString &borderCode)
{
    if (borderCode == QLatin1String("DA"))
        return {8, 2};
    if (borderCode == QLatin1String("DO"))
        return {4, 6};
    if (borderCode == QLatin1String("DD"))
        return {24, 10, 6, 10};
    if (borderCode == QLatin1String("DDD"))
        return {24, 8, 8, 8, 8, 8};
    return {};
}

QPen PaintStyles::borderPen(const QColor &color, double width, const QString &borderCode)
{
    QPen pen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    const QList<qreal> lengths = dashLengths(borderCode);
    if (!lengths.isEmpty()) {
        // A zero-width (hairline) pen counts its dashes in units of one.
        const qreal unit = width > 0 ? width : 1.0;
        QList<qreal> inWidths;
        inWidths.reserve(lengths.size());
        for (qreal length : lengths)
            inWidths.append(length / unit);
        pen.setDashPattern(inWidths);
        pen.setDashOffset(0);
    }
    return pen;
}

QBrush PaintStyles::angledGradient(const QRectF &area, double angleDegrees, const QColor &from, const QColor &to)
{
    const double radians = qDegreesToRadians(angleDegrees);
    const QPointF direction(std::cos(radians), std::sin(radians));
    const QPointF centre = area.center();
    // Half the extent of the area along the direction: the corner farthest along it.
    const double half = (std::abs(direction.x()) * area.width() + std::abs(direction.y()) * area.height()) / 2.0;
    QLinearGradient gradient(centre - direction * half, centre + direction * half);
    gradient.setColorAt(0.0, from);
    gradient.setColorAt(1.0, to);
    gradient.setSpread(QGradient::PadSpread);
    return QBrush(gradient);
}

QImage PaintStyles::hatchPattern(const QString &resourcePath, const QString &name)
{
    if (resourcePath.isEmpty() || name.isEmpty())
        return {};
    // Names come from a file listing, but a stored design could hold anything: never let a
    // name climb out of the pattern folder.
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QLatin1String("..")
        || name == QLatin1String("."))
        return {};
    // Patterns are drawn from "<name>.png"; a pattern the user dropped in as another picture
    // type is listed under its base name too, so look for that as well rather than draw nothing.
    const QDir folder(QDir(resourcePath).filePath(QStringLiteral("Fill_Style_Image")));
    const QImage png = cachedPicture(folder.filePath(name + QStringLiteral(".png")));
    if (!png.isNull())
        return png;
    for (const char *extension : {"jpg", "jpeg", "gif", "bmp", "tif", "tiff"}) {
        const QString path = folder.filePath(name + QLatin1Char('.') + QLatin1String(extension));
        if (QFileInfo::exists(path))
            return cachedPicture(path);
    }
    return {};
}

namespace {

// The picture a chooser has just read to check it, kept for the element that takes it next:
// a photo of fifty megapixels is decoded once, not twice. Taken by the first reading of the
// same unchanged file; a newer check replaces it.
struct CheckedPicture
{
    QString path;
    qint64 size = -1;
    QDateTime modified;
    QImage picture;
    QByteArray bytes;
};

std::mutex &checkedMutex()
{
    static std::mutex mutex;
    return mutex;
}

CheckedPicture &checkedPicture()
{
    static CheckedPicture checked;
    return checked;
}

} // namespace

QImage PaintStyles::readPicture(const QString &path, QString *message, QByteArray *bytes)
{
    if (message)
        message->clear();
    if (bytes)
        bytes->clear();
    if (path.isEmpty())
        return {};
    {
        const QFileInfo info(path);
        std::lock_guard<std::mutex> lock(checkedMutex());
        CheckedPicture &checked = checkedPicture();
        if (!checked.picture.isNull() && checked.path == path && info.isFile() && checked.size == info.size()
            && checked.modified == info.lastModified()) {
            CheckedPicture taken = std::exchange(checked, CheckedPicture());
            if (bytes)
                *bytes = taken.bytes;
            return taken.picture;
        }
    }
    const PictureReading::Result read = PictureReading::readFile(path);
    if (message)
        *message = PictureReading::fileMessage(path, read);
    if (bytes)
        *bytes = read.bytes;
    return read.picture;
}

bool PaintStyles::checkPicture(const QString &path, QString *message)
{
    const QFileInfo info(path);
    QByteArray bytes;
    QImage picture = readPicture(path, message, &bytes);
    std::lock_guard<std::mutex> lock(checkedMutex());
    checkedPicture() = picture.isNull() ? CheckedPicture()
                                        : CheckedPicture{path, info.size(), info.lastModified(), picture, bytes};
    return !picture.isNull();
}

namespace {

// Shipped pictures (hatch patterns, the barcode sample) are few; the bound only guards
// against a caller passing many different files.
constexpr qsizetype kMaxCachedFiles = 64;

struct CachedFile
{
    qint64 size = -1;
    QDateTime modified;
    QImage picture;
};

std::mutex &cacheMutex()
{
    static std::mutex mutex;
    return mutex;
}

QHash<QString, CachedFile> &fileCache()
{
    static QHash<QString, CachedFile> cache;
    return cache;
}

} // namespace

QImage PaintStyles::cachedPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0)
        return {};
    const qint64 size = info.size();
    const QDateTime modified = info.lastModified();
    {
        std::lock_guard<std::mutex> lock(cacheMutex());
        const auto it = fileCache().constFind(path);
        if (it != fileCache().constEnd() && it->size == size && it->modified == modified)
            return it->picture;
    }
    // Decode outside the lock: two threads may both read a new file once, which is harmless.
    QImage picture = readPicture(path);
    if (!picture.isNull() && picture.format() != QImage::Format_ARGB32_Premultiplied)
        picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::lock_guard<std::mutex> lock(cacheMutex());
    if (fileCache().size() >= kMaxCachedFiles)
        fileCache().clear();
    fileCache().insert(path, CachedFile{size, modified, picture});
    return picture;
}

QColor PaintStyles::withOpacity(const QColor &color, double fraction)
{
    QColor c = color;
    c.setAlphaF(float(c.alphaF() * std::clamp(fraction, 0.0, 1.0)));
    return c;
}

QSizeF PaintStyles::pictureSizeInPoints(const QImage &picture)
{
    constexpr double inchesPerMetre = 39.37007874015748;
    const double dpmX = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() : 72.0 * inchesPerMetre;
    const double dpmY = picture.dotsPerMeterY() > 0 ? picture.dotsPerMeterY() : 72.0 * inchesPerMetre;
    return QSizeF(picture.width() * 72.0 * inchesPerMetre / dpmX, picture.height() * 72.0 * inchesPerMetre / dpmY);
}

namespace {

// Tiles are smoothed for at most this many device pixels a point (300 dpi, a photo print's
// resolution): a printer enlarges a smoothed tile further without showing its pixels, and the
// tile, stored once in a PDF, stays small.
constexpr double kMaxTilePixelsPerPoint = 300.0 / 72.0;
constexpr qint64 kMaxTilePixels = qint64(1) << 20;
constexpr qint64 kTileCacheBytes = qint64(64) << 20;
// A PDF reader or printer steps a tiling pattern by whole device pixels. A tile a whole
// number of sixths of an inch wide (12 points) is a whole number of pixels at every usual
// resolution (72, 150, 300, 600, 1200 dpi ...), so its tiles never drift off the places the
// exported picture shows them at.
constexpr int kWholeStep = 12;

struct TileCache
{
    std::mutex mutex;
    QHash<QString, QImage> tiles;
    qint64 bytes = 0;
};

TileCache &tileCache()
{
    static TileCache cache;
    return cache;
}

// `repeats` copies of `pattern` (across, down) smoothed to `pixels`, as a repeating tile: its
// neighbours take part at the edges, so no seam shows where two tiles meet. The same tile (the
// same image, stored once in a PDF) for every caller asking for the same size of the same
// pattern.
QImage smoothedTile(const QImage &pattern, const QSize &repeats, const QSize &pixels)
{
    const QString key = QStringLiteral("%1|%2x%3|%4x%5")
                            .arg(pattern.cacheKey())
                            .arg(repeats.width())
                            .arg(repeats.height())
                            .arg(pixels.width())
                            .arg(pixels.height());
    TileCache &cache = tileCache();
    {
        std::lock_guard<std::mutex> lock(cache.mutex);
        const auto it = cache.tiles.constFind(key);
        if (it != cache.tiles.constEnd())
            return *it;
    }
    const QSize one(pattern.width() * repeats.width(), pattern.height() * repeats.height());
    QImage around(one * 3, QImage::Format_ARGB32_Premultiplied);
    around.fill(Qt::transparent);
    {
        QPainter painter(&around);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (int y = 0; y < around.height(); y += pattern.height())
            for (int x = 0; x < around.width(); x += pattern.width())
                painter.drawImage(x, y, pattern);
    }
    const QImage tile = around.scaled(pixels * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .copy(QRect(QPoint(pixels.width(), pixels.height()), pixels));
    std::lock_guard<std::mutex> lock(cache.mutex);
    const auto it = cache.tiles.constFind(key);
    if (it != cache.tiles.constEnd())
        return *it;   // another thread made it meanwhile: keep one image
    if (cache.bytes + tile.sizeInBytes() > kTileCacheBytes) {
        cache.tiles.clear();
        cache.bytes = 0;
    }
    cache.tiles.insert(key, tile);
    cache.bytes += tile.sizeInBytes();
    return tile;
}

} // namespace

QBrush PaintStyles::patternBrush(const QImage &pattern, const QPointF &origin, const QTransform &device)
{
    QTransform placing = QTransform::fromTranslate(origin.x(), origin.y());
    const auto perPoint = [](double scale) {
        return std::isfinite(scale) ? std::clamp(scale, 1.0, kMaxTilePixelsPerPoint) : 1.0;
    };
    const double across = perPoint(std::hypot(device.m11(), device.m12()));
    const double down = perPoint(std::hypot(device.m21(), device.m22()));
    if (pattern.isNull() || (across == 1.0 && down == 1.0)) {
        QBrush brush(pattern);
        brush.setTransform(placing);
        return brush;
    }
    QSize repeats(kWholeStep / std::gcd(pattern.width(), kWholeStep),
                  kWholeStep / std::gcd(pattern.height(), kWholeStep));
    const auto pixelsOf = [&](const QSize &r) {
        return QSize(int(std::lround(pattern.width() * r.width() * across)),
                     int(std::lround(pattern.height() * r.height() * down)));
    };
    const auto tooLarge = [](const QSize &size) { return qint64(size.width()) * size.height() > kMaxTilePixels; };
    if (tooLarge(pixelsOf(repeats)))
        repeats = QSize(1, 1);
    const QSize pixels = pixelsOf(repeats);
    if (tooLarge(pixels)) {
        // A large picture tiled as it is: it has pixels enough of its own.
        QBrush brush(pattern);
        brush.setTransform(placing);
        return brush;
    }
    placing.scale(double(pattern.width() * repeats.width()) / pixels.width(),
                  double(pattern.height() * repeats.height()) / pixels.height());
    QBrush brush(smoothedTile(pattern, repeats, pixels));
    brush.setTransform(placing);
    return brush;
}
