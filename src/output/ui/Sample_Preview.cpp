#include "output/ui/Sample_Preview.h"

#include "output/SheetLayout.h"
#include "output/ui/Print_Wnd.h"

#include <QPainter>

Sample_Preview::Sample_Preview(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage Sample_Preview::imageRepresentation()
{
    if (size().isEmpty())
        return {};
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    render(&image);
    return image;
}

void Sample_Preview::Draw_Label_String(QPainter &painter, const QString &text, int number, const QRectF &rect)
{
    const bool numbered = text == QLatin1String("Front") || text == QLatin1String("Back") || text == QLatin1String("Card");
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11);
    painter.save();
    painter.setFont(font);
    painter.setPen(numbered ? QColor(Qt::gray) : QColor(Qt::red));
    painter.drawText(rect, Qt::AlignCenter, numbered ? QStringLiteral("%1 %2").arg(text).arg(number) : text);
    painter.restore();
}

void Sample_Preview::Draw_Margin_rect(QPainter &painter, const QRectF &rect, bool outlines)
{
    if (!outlines)
        return;
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    painter.restore();
}

void Sample_Preview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // The print window this preview belongs to holds the layout.
    const Print_Wnd *window = nullptr;
    for (QWidget *w = parentWidget(); w && !window; w = w->parentWidget())
        window = qobject_cast<const Print_Wnd *>(w);
    if (!window)
        return;
    const SheetLayout layout = window->sheetLayout(QSizeF(size()));
    const bool outlines = window->showsOutlines();
    const QImage &front = window->front_image;
    const QSizeF card = front.isNull() ? QSizeF() : window->cardSizePoints();
    const bool back = layout.side == QLatin1String("B");
    for (int row = 1; row <= layout.rows; ++row) {
        for (int column = 1; column <= layout.cols; ++column) {
            const SheetLayout::Cell cell = layout.cell(row, column, card);
            if (front.isNull()) {
                Draw_Label_String(painter, QStringLiteral("Invalid Data"), cell.number, cell.part);
                Draw_Margin_rect(painter, cell.part, outlines);
                continue;
            }
            Draw_Label_String(painter, back ? QStringLiteral("Back") : QStringLiteral("Card"), cell.number, cell.part);
            Draw_Margin_rect(painter, cell.part, outlines);
            if (layout.bothSides()) {
                Draw_Label_String(painter, QStringLiteral("Back"), cell.number, cell.back);
                Draw_Margin_rect(painter, cell.back, outlines);
            }
        }
    }
}
