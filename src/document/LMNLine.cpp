#include "document/LMNLine.h"

#include "document/DashedStroke.h"

#include <QPainter>
#include <QPainterPath>

QLineF LMNLine::line() const
{
    const QRectF &r = _bounds;
    switch (_line_ori) {
    case 1: return QLineF(r.center().x(), r.top(), r.center().x(), r.bottom());
    case 2: return QLineF(r.topLeft(), r.bottomRight());
    case 3: return QLineF(r.bottomLeft(), r.topRight());
    default: return QLineF(r.left(), r.center().y(), r.right(), r.center().y());
    }
}

QPen LMNLine::linePen() const
{
    QPen pen = strokePen();
    switch (_line_cap_style) {
    case 1: pen.setCapStyle(Qt::RoundCap); break;
    case 2: pen.setCapStyle(Qt::SquareCap); break;
    default: pen.setCapStyle(Qt::FlatCap); break;
    }
    return pen;
}

void LMNLine::drawContents(QPainter &painter, const DrawContext &) const
{
    if (!(_strokeWidth > 0))
        return;
    const QPen pen = linePen();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    DashedStroke::drawLine(painter, line(), pen);
}

QRectF LMNLine::drawingBounds() const
{
    if (!(_strokeWidth > 0))
        return _bounds;
    QPainterPath path;
    path.moveTo(line().p1());
    path.lineTo(line().p2());
    return strokedBounds(path, linePen());
}

bool LMNLine::hitTest(const QPointF &point) const
{
    if (ctrl_is_visible == 0)
        return false;
    QPainterPath path;
    path.moveTo(line().p1());
    path.lineTo(line().p2());
    // A hairline is still easy to pick: at least 6 points wide for the mouse.
    return onStroke(path, linePen(), point, 6.0);
}
