#include "document/LMNText.h"

#include <QPainter>
#include <QPainterPath>

void LMNText::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}
