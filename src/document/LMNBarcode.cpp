#include "document/LMNBarcode.h"

#include <QPainter>
#include <QPainterPath>

void LMNBarcode::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}
