#include "document/Shape_Control.h"

#include <QPainter>
#include <QPainterPath>

void Shape_Control::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}
