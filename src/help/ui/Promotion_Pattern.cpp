#include "help/ui/Promotion_Pattern.h"

#include "editor/EditorGlobals.h"
#include "editor/ui/LMNWindowController.h"

#include <QPaintEvent>
#include <QPainter>

Promotion_Pattern::Promotion_Pattern(QWidget *parent)
    : QLabel(parent)
{
}

QImage Promotion_Pattern::pattern() const
{
    if (!m_pattern.isNull() || !Main_App_wnd)
        return m_pattern;
    return Main_App_wnd->promotion_pattern_image;
}

void Promotion_Pattern::paintEvent(QPaintEvent *event)
{
    const QImage tile = pattern();
    if (!tile.isNull()) {
        QPainter painter(this);
        painter.fillRect(event->rect(), QBrush(tile));
    }
    QLabel::paintEvent(event);
}
