#include "document/LMNImage.h"

#include "document/DashedStroke.h"
#include "document/PaintStyles.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

QString settingsKey(const ImageEffects::Settings &s)
{
    QString key;
    for (double v : {s.hue, s.saturation, s.brightness, s.contrast, s.sharpness, s.exposure, s.blur})
        key += QString::number(v, 'g', 17) + QLatin1Char(',');
    key += QLatin1Char(s.monochrome ? 'm' : '-');
    key += QLatin1Char(s.sepia ? 's' : '-');
    key += QLatin1Char(s.invert ? 'i' : '-');
    return key;
}

// How many device pixels one point becomes along each axis of the painter.
QSizeF deviceScale(const QPainter &painter, const DrawContext &context)
{
    const QTransform t = painter.deviceTransform();
    const double sx = std::hypot(t.m11(), t.m12());
    const double sy = std::hypot(t.m21(), t.m22());
    const double fallback = context.devicePixelsPerPoint > 0 ? context.devicePixelsPerPoint : 1.0;
    return QSizeF(sx > 0 ? sx : fallback, sy > 0 ? sy : fallback);
}

} // namespace

void LMNImage::setFilePath(const QString &path)
{
    readPictureFile(path);
    m_processed.clear();
}

void LMNImage::makeNaturalSize()
{
    if (_image.isNull())
        return;
    _bounds.setSize(PaintStyles::pictureSizeInPoints(_image));
}

QSizeF LMNImage::rotatedPictureSize() const
{
    const double w = _bounds.width();
    const double h = _bounds.height();
    const double angle = std::isfinite(rotate_image) ? qDegreesToRadians(double(rotate_image)) : 0.0;
    const double c = std::abs(std::cos(angle));
    const double s = std::abs(std::sin(angle));
    double k = 1.0;
    if (w > 0 && h > 0) {
        k = std::min({1.0, w / (w * c + h * s), h / (w * s + h * c)});
    }
    return QSizeF(w * k, h * k);
}

QImage LMNImage::processedPicture(const QSize &pixels) const
{
    if (_image.isNull() || pixels.isEmpty())
        return {};
    const QSize working(std::clamp(pixels.width(), 1, _image.width()), std::clamp(pixels.height(), 1, _image.height()));
    const ImageEffects::Settings settings = ImageEffects::Settings::fromGraphic(*this);
    if (working == _image.size() && settings.isNeutral())
        return _image;

    const QString key = memoKey(_image, working, settings);
    QImage result;
    if (m_processed.find(key, &result))
        return result;

    // The scaled copy is remembered apart from the effects, so moving an effect slider only
    // redoes the effects on the small copy, not the scaling of the whole picture.
    QImage scaled = _image;
    if (working != _image.size()) {
        const QString scaledKey =
            QStringLiteral("%1|%2x%3|scaled").arg(_image.cacheKey()).arg(working.width()).arg(working.height());
        if (!m_processed.find(scaledKey, &scaled)) {
            scaled = _image.scaled(working, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_processed.store(scaledKey, scaled);
        }
    }
    // Effect lengths are in points of the card: pixels per point of this working copy.
    const QSizeF drawn = rotatedPictureSize();
    double pixelsPerPoint = 1.0;
    if (drawn.width() > 0 && drawn.height() > 0)
        pixelsPerPoint = (working.width() / drawn.width() + working.height() / drawn.height()) / 2.0;
    result = ImageEffects::apply(scaled, settings, pixelsPerPoint);
    m_processed.store(key, result);
    return result;
}

QString LMNImage::memoKey(const QImage &picture, const QSize &working, const ImageEffects::Settings &settings)
{
    return QStringLiteral("%1|%2x%3|").arg(picture.cacheKey()).arg(working.width()).arg(working.height())
           + settingsKey(settings.clamped());
}

QString LMNImage::effectsKey() const
{
    return settingsKey(ImageEffects::Settings::fromGraphic(*this).clamped());
}

void LMNImage::setPreparedPicture(const QImage &picture, const QImage &processed)
{
    _image = picture;
    m_processed.clear();
    const ImageEffects::Settings settings = ImageEffects::Settings::fromGraphic(*this);
    if (!picture.isNull() && !processed.isNull() && !settings.isNeutral())
        m_processed.store(memoKey(picture, picture.size(), settings), processed);
}

void LMNImage::drawContents(QPainter &painter, const DrawContext &context) const
{
    if (_image.isNull() || _bounds.isEmpty())
        return; // a picture element without a picture draws nothing

    const QSizeF size = rotatedPictureSize();
    const QSizeF scale = deviceScale(painter, context);
    // Never more than the picture has (processedPicture caps that); the bound only keeps
    // absurd element sizes from overflowing the conversion.
    auto devicePixels = [](double length) { return int(std::clamp(std::ceil(length), 1.0, 1.0e6)); };
    const QSize pixels(devicePixels(size.width() * scale.width()), devicePixels(size.height() * scale.height()));
    const QImage picture = processedPicture(pixels);
    if (!picture.isNull()) {
        painter.save();
        const double transparency = std::isfinite(img_trnsp_val) ? std::clamp(img_trnsp_val / 100.0, 0.0, 1.0) : 1.0;
        painter.setOpacity(painter.opacity() * transparency);
        painter.translate(_bounds.center());
        if (std::isfinite(rotate_image))
            painter.rotate(rotate_image);
        painter.scale(_isFlippedHorizontally ? -1.0 : 1.0, _isFlippedVertically ? -1.0 : 1.0);
        painter.drawImage(QRectF(QPointF(-size.width() / 2.0, -size.height() / 2.0), size), picture);
        painter.restore();
    }

    if (hasVisibleStroke()) {
        QPainterPath frame;
        frame.addRect(_bounds);
        DashedStroke::strokePath(painter, frame, strokePen());
    }
}
