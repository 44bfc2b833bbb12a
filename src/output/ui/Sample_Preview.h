#pragma once

#include <QImage>
#include <QWidget>

// The sheet preview of the print setup window: one sheet at the paper's size in points, every
// cell numbered ("Card 1", "Back 1", ...) and outlined when outlines are on, from the layout
// the window holds now. It draws placeholders, never the cards.
class Sample_Preview : public QWidget
{
    Q_OBJECT

public:
    explicit Sample_Preview(QWidget *parent = nullptr);

    // A still picture of the preview as it is drawn now.
    QImage imageRepresentation();

    // "%1 %2" of "Front", "Back" and "Card" with the cell number in grey; any other text
    // unchanged in red; centred in `rect`.
    static void Draw_Label_String(QPainter &painter, const QString &text, int number, const QRectF &rect);
    static void Draw_Margin_rect(QPainter &painter, const QRectF &rect, bool outlines);

protected:
    void paintEvent(QPaintEvent *event) override;
};
