#pragma once

// Small helpers shared by the pixel tests of element drawing and the renderer.

#include "document/LMNGraphic.h"
#include "document/LMNRenderingView.h"
#include "support/TestHelpers.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QTemporaryDir>

#include <cmath>

namespace RenderTestSupport {

inline const QSizeF kCard(200, 150);

// One side of kCard points with the given elements, white background, at `dpi`.
inline QImage render(const GraphicList &graphics, double dpi = 72.0, const QString &resourcePath = {})
{
    DrawContext context;
    context.resourcePath = resourcePath;
    LMNRenderingView view(kCard, {}, context);
    view.setResolution(dpi);
    return view.image_From_Card_Graphics(graphics).convertToFormat(QImage::Format_ARGB32);
}

inline QImage render(const GraphicPtr &graphic, double dpi = 72.0, const QString &resourcePath = {})
{
    return render(GraphicList{graphic}, dpi, resourcePath);
}

using TestHelpers::near;

inline QRect inkBounds(const QImage &image, int tolerance = 8)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!near(image.pixel(x, y), Qt::white, tolerance))
                box |= QRect(x, y, 1, 1);
    return box;
}

// `points` at `dpi` in whole pixels, grown by one pixel all round for antialiased edges.
inline QRect pixelArea(const QRectF &points, double dpi = 72.0)
{
    const double s = dpi / 72.0;
    return QRect(QPoint(int(std::floor(points.left() * s)) - 1, int(std::floor(points.top() * s)) - 1),
                 QPoint(int(std::ceil(points.right() * s)), int(std::ceil(points.bottom() * s))));
}

// A picture of `size` pixels: left half `left`, right half `right`.
inline QImage twoColourPicture(QSize size, const QColor &left, const QColor &right)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, (x < size.width() / 2 ? left : right).rgba());
    return image;
}

} // namespace RenderTestSupport
