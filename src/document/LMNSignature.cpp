#include "document/LMNSignature.h"

#include <QPainter>
#include <QPainterPath>

void LMNSignature::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}
