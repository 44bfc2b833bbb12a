#pragma once

#include "document/LMNGraphic.h"
#include "document/LMNRenderingView.h"
#include "output/SheetCardSource.h"

// The design's own card on every cell: copies of both sides' elements and backgrounds taken
// when it is made, drawn as vectors without the elements marked as not printing.
class PlainCardSource : public SheetCardSource
{
public:
    PlainCardSource(const QSizeF &cardSize, const GraphicList &front, const GraphicList &back,
                    LMNRenderingView::BackgroundPainter frontBackground,
                    LMNRenderingView::BackgroundPainter backBackground, DrawContext context);

    int recordCount() const override { return 0; }
    QSizeF cardSize() const override { return m_cardSize; }
    bool drawCard(QPainter &painter, const QRectF &target, int record, int side,
                  QString *failure) const override;

    // Draws `graphics` over `background` as one card of `cardSize` mapped onto `target`.
    static void drawSide(QPainter &painter, const QRectF &target, const QSizeF &cardSize,
                         const GraphicList &graphics, const LMNRenderingView::BackgroundPainter &background,
                         const DrawContext &context);

private:
    QSizeF m_cardSize;
    GraphicList m_front, m_back;
    LMNRenderingView::BackgroundPainter m_frontBackground, m_backBackground;
    DrawContext m_context;
};
