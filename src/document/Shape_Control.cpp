#include "document/Shape_Control.h"

#include <QPainter>
#include <QPolygonF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

// Vertices on the unit circle, the first at the top, alternating with inner vertices at
// `innerRatio` of the radius when that is above 0; then stretched so that their own
// bounding box fills `rect`.
QPolygonF starOrPolygon(const QRectF &rect, int corners, double innerRatio)
{
    const bool star = innerRatio > 0.0;
    const int count = star ? corners * 2 : corners;
    QPolygonF unit;
    unit.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double angle = -M_PI / 2.0 + 2.0 * M_PI * i / count;
        const double radius = (star && i % 2 == 1) ? innerRatio : 1.0;
        unit.append(QPointF(radius * std::cos(angle), radius * std::sin(angle)));
    }
    const QRectF box = unit.boundingRect();
    QPolygonF fitted;
    fitted.reserve(count);
    for (const QPointF &p : unit) {
        fitted.append(QPointF(rect.left() + (p.x() - box.left()) / box.width() * rect.width(),
                              rect.top() + (p.y() - box.top()) / box.height() * rect.height()));
    }
    return fitted;
}

} // namespace

QPainterPath Shape_Control::shapePath(const QString &code, const QRectF &rect, double cornerRadius, int starPoints,
                                      int polygonCorners)
{
    QPainterPath path;
    const QRectF r = rect.normalized();
    if (code == QLatin1String("C")) {
        path.addEllipse(r);
    } else if (code == QLatin1String("RR")) {
        const double limit = std::min(r.width(), r.height()) / 2.0;
        const double radius = std::isfinite(cornerRadius) ? std::clamp(cornerRadius, 0.0, limit) : 0.0;
        path.addRoundedRect(r, radius, radius);
    } else if (code == QLatin1String("T")) {
        path.addPolygon(QPolygonF({QPointF(r.center().x(), r.top()), r.bottomRight(), r.bottomLeft()}));
        path.closeSubpath();
    } else if (code == QLatin1String("D")) {
        path.addPolygon(QPolygonF({QPointF(r.center().x(), r.top()), QPointF(r.right(), r.center().y()),
                                   QPointF(r.center().x(), r.bottom()), QPointF(r.left(), r.center().y())}));
        path.closeSubpath();
    } else if (code == QLatin1String("S")) {
        // The inner radius of a regular pentagram: the points' edges run in straight lines.
        path.addPolygon(starOrPolygon(r, 5, 0.381966));
        path.closeSubpath();
    } else if (code == QLatin1String("DS")) {
        path.addPolygon(starOrPolygon(r, std::clamp(starPoints, 3, 100), 0.5));
        path.closeSubpath();
    } else if (code == QLatin1String("P")) {
        path.addPolygon(starOrPolygon(r, std::clamp(polygonCorners, 3, 100), 0.0));
        path.closeSubpath();
    } else {
        path.addRect(r);
    }
    return path;
}

QPainterPath Shape_Control::path() const
{
    return shapePath(_shape_type, _bounds, cor_rad_val_val, double_star_type, polygon_type);
}

void Shape_Control::drawContents(QPainter &painter, const DrawContext &context) const
{
    if (_bounds.isEmpty())
        return;
    fillAndStroke(painter, path(), context);
}

QRectF Shape_Control::drawingBounds() const
{
    if (!hasVisibleStroke())
        return _bounds;
    return strokedBounds(path(), strokePen());
}

bool Shape_Control::hitTest(const QPointF &point) const
{
    if (ctrl_is_visible == 0)
        return false;
    const QPainterPath outline = path();
    // The inside counts even without a fill, so an outlined shape can be picked by its middle.
    if (outline.contains(point))
        return true;
    return hasVisibleStroke() && onStroke(outline, strokePen(), point, 4.0);
}
