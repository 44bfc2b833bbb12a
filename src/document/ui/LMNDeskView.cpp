#include "document/ui/LMNDeskView.h"

#include "document/ui/LMNGraphicView.h"

LMNDeskView::LMNDeskView(LMNGraphicView *canvas, QWidget *parent)
    : QScrollArea(parent)
    , m_canvas(canvas)
{
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    setWidget(canvas);
}
