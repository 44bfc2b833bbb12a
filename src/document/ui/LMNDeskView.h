#pragma once

#include <QScrollArea>

class LMNGraphicView;

// The desk: the scroll area around a canvas, the card centred on a dark surface. Scrolls
// when the zoomed card is larger than the window.
class LMNDeskView : public QScrollArea
{
    Q_OBJECT

public:
    explicit LMNDeskView(LMNGraphicView *canvas, QWidget *parent = nullptr);

    LMNGraphicView *canvas() const { return m_canvas; }

private:
    LMNGraphicView *m_canvas;
};
