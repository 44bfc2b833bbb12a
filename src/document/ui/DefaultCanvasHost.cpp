#include "document/ui/DefaultCanvasHost.h"

#include "document/DocumentGlobals.h"

#include <QPainter>

DefaultCanvasHost::DefaultCanvasHost()
    : contentFont(Text_Ctrl_Font, 14.0)
    , placeholder(64, 64, QImage::Format_ARGB32_Premultiplied)
{
    // A grey tile crossed out: plainly "no picture here".
    placeholder.fill(QColor(230, 230, 230));
    QPainter p(&placeholder);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 3));
    p.drawRect(QRectF(1.5, 1.5, 61, 61));
    p.drawLine(QPointF(8, 8), QPointF(56, 56));
    p.drawLine(QPointF(56, 8), QPointF(8, 56));
}

void DefaultCanvasHost::Card_Base_Drawing(QPainter &painter, const QRectF &rect)
{
    painter.fillRect(rect, Qt::white);
}

QPointF DefaultCanvasHost::Control_New_Point(const QString &)
{
    // Cascade down and to the right so new elements do not hide each other, and start over
    // before they wander far from the card's corner.
    const QPointF point(last_ctrl_X, last_ctrl_Y);
    last_ctrl_X += 10.0f;
    last_ctrl_Y += 10.0f;
    if (last_ctrl_X > 100.0f || last_ctrl_Y > 100.0f) {
        last_ctrl_X = 10.0f;
        last_ctrl_Y = 10.0f;
    }
    return point;
}

void DefaultCanvasHost::Show_RHS_Properties(const GraphicPtr &graphic)
{
    lastShownProperties = graphic;
    ++propertyRefreshes;
}
