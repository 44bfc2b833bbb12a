#include "document/LMNLine.h"

#include <QPainter>
#include <QPainterPath>

void LMNLine::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}
