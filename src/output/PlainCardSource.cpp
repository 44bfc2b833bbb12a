#include "output/PlainCardSource.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

PlainCardSource::PlainCardSource(const QSizeF &cardSize, const GraphicList &front, const GraphicList &back,
                                 LMNRenderingView::BackgroundPainter frontBackground,
                                 LMNRenderingView::BackgroundPainter backBackground, DrawContext context)
    : m_cardSize(cardSize)
    , m_front(LMNRenderingView::snapshot(front))
    , m_back(LMNRenderingView::snapshot(back))
    , m_frontBackground(std::move(frontBackground))
    , m_backBackground(std::move(backBackground))
    , m_context(std::move(context))
{
}

bool PlainCardSource::drawCard(QPainter &painter, const QRectF &target, int, int side, QString *failure) const
{
    if (m_cardSize.isEmpty()) {
        if (failure)
            *failure = QStringLiteral("The card has no size.");
        return false;
    }
    drawSide(painter, target, m_cardSize, side != 0 ? m_back : m_front,
             side != 0 ? m_backBackground : m_frontBackground, m_context);
    return true;
}

void PlainCardSource::drawSide(QPainter &painter, const QRectF &target, const QSizeF &cardSize,
                               const GraphicList &graphics, const LMNRenderingView::BackgroundPainter &background,
                               const DrawContext &context)
{
    const QRectF card(QPointF(0, 0), cardSize);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / cardSize.width(), target.height() / cardSize.height());
    painter.setClipRect(card, Qt::IntersectClip);
    painter.save();
    if (background)
        background(painter, card, card);
    else
        LMNRenderingView::whiteCard(painter, card, card);
    painter.restore();
    DrawContext scaled = context;
    const QTransform device = painter.deviceTransform();
    scaled.devicePixelsPerPoint = std::max(std::hypot(device.m11(), device.m12()), std::hypot(device.m21(), device.m22()));
    LMNRenderingView::drawGraphics(painter, graphics, QRectF(), scaled, true);
    painter.restore();
}
