#include "document/ui/OverflowSign.h"

#include <QPainter>

namespace {

constexpr double kSide = 9.0;   // pixels

} // namespace

QRectF OverflowSign::rect(const QPointF &corner)
{
    return {corner.x() - kSide, corner.y() - kSide, kSide, kSide};
}

QColor OverflowSign::colour()
{
    return QColor(220, 30, 30);
}

void OverflowSign::paint(QPainter &painter, const QPointF &corner)
{
    const QRectF box = rect(corner);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setPen(QPen(colour(), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    const QPointF centre = box.center();
    painter.drawLine(QPointF(box.left() + 2.5, centre.y()), QPointF(box.right() - 2.5, centre.y()));
    painter.drawLine(QPointF(centre.x(), box.top() + 2.5), QPointF(centre.x(), box.bottom() - 2.5));
    painter.restore();
}
