#pragma once

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QTimer>

class QPainter;

// The canvas grid: one object shared by every canvas. It can be shown for good (the grid
// check box), shown for a moment after its spacing or colour changed through the setters,
// and it can snap (constrain) the points of moved, resized and new elements. Grid alignment
// (alignedRect) rounds whether or not snapping is on.
class LMNGrid : public QObject
{
    Q_OBJECT

public:
    explicit LMNGrid(QObject *parent = nullptr);

    // Written directly by the grid commands (which then call setAlwaysShown so the canvases
    // hear of it). Spacing is in points.
    QColor _color;
    double _spacing = 9.0;

    // How long a change made through setSpacing / setColor shows the grid.
    static constexpr int TemporaryShowingMs = 1000;

    bool isAlwaysShown() const { return m_alwaysShown; }
    // Stores the flag only when it changes; a change reports alwaysShownChanged (the editor
    // enables its align-with-grid button to match) and ends a temporary showing. Every call
    // reports changed(), so the canvases redraw the grid with its current colour and spacing.
    void setAlwaysShown(bool shown);

    bool isConstraining() const { return m_constraining; }
    void setConstraining(bool constraining);

    // Setters that show the new spacing or colour for a moment when the grid is hidden.
    void setSpacing(double spacing);
    void setColor(const QColor &color);

    // Visible now: shown for good or for a moment.
    bool isShown() const { return m_alwaysShown || m_temporaryTimer.isActive(); }
    bool isTemporarilyShown() const { return m_temporaryTimer.isActive(); }

    // The point rounded to the nearest grid crossing while snapping is on and the spacing is
    // usable (above 0); otherwise the point itself.
    QPointF constrainedPoint(const QPointF &point) const;

    // Origin and far corner each rounded to the nearest multiple of the spacing:
    // r(v) = floor(v / spacing + 0.5) * spacing; x' = r(x), y' = r(y),
    // width' = r(x + width) - x', height' = r(y + height) - y'.
    // A spacing that is not above 0 leaves the rectangle as it is.
    QRectF alignedRect(const QRectF &rect) const;

    // Draws the grid lines crossing `area` (points) when the grid is shown. `pixelsPerPoint`
    // is the scale of the target; lines closer than a few pixels are not drawn.
    void drawGrid(QPainter &painter, const QRectF &area, double pixelsPerPoint) const;

signals:
    void changed();
    void alwaysShownChanged(bool shown);

private:
    double rounded(double value) const;
    void showTemporarily();

    bool m_alwaysShown = false;
    bool m_constraining = false;
    QTimer m_temporaryTimer;
};
