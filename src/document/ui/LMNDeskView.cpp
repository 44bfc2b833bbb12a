#include "document/ui/LMNDeskView.h"

#include "document/ui/LMNGraphicView.h"

#include <QMouseEvent>

#include <algorithm>

LMNDeskView::LMNDeskView(LMNGraphicView *canvas, QWidget *parent)
    : QScrollArea(parent)
    , m_canvas(canvas)
{
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    setWidget(canvas);
}

void LMNDeskView::fitCanvas()
{
    if (!isVisible()) {
        m_fitWhenShown = true;
        return;
    }
    const QSizeF card = m_canvas->canvasSize();
    const QSizeF room = QSizeF(viewport()->size()) - QSizeF(2 * FitMargin, 2 * FitMargin);
    m_fitWhenShown = card.isEmpty() || room.width() <= 0 || room.height() <= 0;
    if (m_fitWhenShown)
        return;
    const double zoom = std::min(room.width() / card.width(), room.height() / card.height());
    m_canvas->setZoom(std::clamp(zoom, LMNGraphicView::MinimumZoom, LMNGraphicView::MaximumZoom));
}

void LMNDeskView::showEvent(QShowEvent *event)
{
    QScrollArea::showEvent(event);
    if (m_fitWhenShown)
        fitCanvas();
}

void LMNDeskView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier))
        m_canvas->Clear_Control_Selection();
    QScrollArea::mousePressEvent(event);
}
