#include "document/LMNImage.h"

#include <QPainter>
#include <QPainterPath>

void LMNImage::drawContents(QPainter &painter, const DrawContext &context) const
{
    QPainterPath path;
    path.addRect(_bounds);
    fillAndStroke(painter, path, context);
}

void LMNImage::setFilePath(const QString &path)
{
    _file_path = path;
    _image = path.isEmpty() ? QImage() : QImage(path);
}
