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

    // Zooms the canvas so the whole card shows in the desk with a little room around it
    // (never beyond twice its size).
    void fitCanvas();

private:
    LMNGraphicView *m_canvas;
};
