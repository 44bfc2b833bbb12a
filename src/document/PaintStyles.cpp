#include "document/PaintStyles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QLinearGradient>
#include <QtMath>

#include <algorithm>
#include <mutex>

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

QImage PaintStyles::readPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString clean = QDir::cleanPath(path);
    const QFileInfo info(clean);
    if (!info.isFile() || info.size() <= 0)
        return {};
    QImageReader reader(clean);
    reader.setAutoTransform(true);
    return reader.read();
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

QBrush PaintStyles::patternBrush(const QImage &pattern, const QPointF &origin)
{
    QBrush brush(pattern);
    brush.setTransform(QTransform::fromTranslate(origin.x(), origin.y()));
    return brush;
}
