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

    // Zooms the canvas so the card fills the desk, FitMargin pixels of room left on each side
    // of its tighter direction. A desk out of sight (another side in front, the window not yet
    // shown) has no room of its own: it fits when it is next shown. Every desk starts so.
    void fitCanvas();
    static constexpr int FitMargin = 12;

protected:
    // A click on the desk around the card clears the selection.
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    LMNGraphicView *m_canvas;
    bool m_fitWhenShown = true;
};
