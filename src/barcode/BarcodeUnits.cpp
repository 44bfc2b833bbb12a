#include "barcode/BarcodeUnits.h"

#include <QPainter>

#include <cmath>

namespace BarcodeUnits {

namespace {
constexpr double kInchesPerMetre = 39.37007874015748;
}

double toPoints(double value, int unit)
{
    switch (unit) {
    case 0: return value * 72.0;
    case 1: return value * 0.393701 * 72.0;
    case 2: return value / 10.0 * 0.393701 * 72.0;
    default: return value * 72.0;
    }
}

double milsToPoints(double mils)
{
    return mils / 1000.0 * 72.0;
}

QSize pixelSize(const QSizeF &points, double dpi)
{
    const float w = float(dpi * points.width() / 72.0);
    const float h = float(dpi * points.height() / 72.0);
    return QSize(int(std::ceil(w)), int(std::ceil(h)));
}

QImage Increase_DPI(const QImage &picture, const QSizeF &points, double dpi)
{
    if (picture.isNull() || !(dpi > 0) || !(points.width() > 0) || !(points.height() > 0))
        return {};
    const QSize pixels = pixelSize(points, dpi);
    if (pixels.isEmpty())
        return {};
    QImage result(pixels, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return {};
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(pixels)), picture, QRectF(picture.rect()));
    }
    const int dotsPerMetre = int(std::lround(dpi * kInchesPerMetre));
    result.setDotsPerMeterX(dotsPerMetre);
    result.setDotsPerMeterY(dotsPerMetre);
    return result;
}

QSizeF pointSize(const QImage &picture)
{
    return pointSize(picture.size(), picture.dotsPerMeterX(), picture.dotsPerMeterY());
}

QSizeF pointSize(const QSize &pixels, int dotsPerMetreX, int dotsPerMetreY)
{
    const double dpmX = dotsPerMetreX > 0 ? dotsPerMetreX : 72.0 * kInchesPerMetre;
    const double dpmY = dotsPerMetreY > 0 ? dotsPerMetreY : 72.0 * kInchesPerMetre;
    return QSizeF(pixels.width() * 72.0 * kInchesPerMetre / dpmX, pixels.height() * 72.0 * kInchesPerMetre / dpmY);
}

} // namespace BarcodeUnits
