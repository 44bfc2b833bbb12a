#include "editor/TemplatePreview.h"

#include <QPainter>

#include <algorithm>

bool TemplatePreview::showsBack(const QString &cardSide, const GraphicList &backGraphics)
{
    return cardSide == QLatin1String("2") && !backGraphics.isEmpty();
}

QImage TemplatePreview::compose(const QImage &front, const QImage &back)
{
    if (back.isNull() || front.isNull())
        return front;
    QImage both(std::max(front.width(), back.width()), front.height() + back.height(),
                QImage::Format_ARGB32_Premultiplied);
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawImage(0, 0, front);
    painter.drawImage(0, front.height(), back);
    painter.end();
    return both;
}
