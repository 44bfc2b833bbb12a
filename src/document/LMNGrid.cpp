#include "document/LMNGrid.h"

#include <QPainter>

#include <cmath>

LMNGrid::LMNGrid(QObject *parent)
    : QObject(parent)
    , _color(Qt::lightGray)
    , m_temporaryTimer(this)
{
    m_temporaryTimer.setObjectName(QStringLiteral("temporaryShowing"));
    m_temporaryTimer.setSingleShot(true);
    m_temporaryTimer.setInterval(TemporaryShowingMs);
    connect(&m_temporaryTimer, &QTimer::timeout, this, &LMNGrid::changed);
}

void LMNGrid::setAlwaysShown(bool shown)
{
    if (shown != m_alwaysShown) {
        m_alwaysShown = shown;
        m_temporaryTimer.stop();
        emit alwaysShownChanged(shown);
    }
    emit changed();
}

void LMNGrid::setConstraining(bool constraining)
{
    m_constraining = constraining;
    emit changed();
}

void LMNGrid::setSpacing(double spacing)
{
    _spacing = spacing;
    showTemporarily();
}

void LMNGrid::setColor(const QColor &color)
{
    _color = color;
    showTemporarily();
}

void LMNGrid::showTemporarily()
{
    if (!m_alwaysShown)
        m_temporaryTimer.start();
    emit changed();
}

double LMNGrid::rounded(double value) const
{
    return std::floor(value / _spacing + 0.5) * _spacing;
}

QPointF LMNGrid::constrainedPoint(const QPointF &point) const
{
    if (!m_constraining || !(_spacing > 0.0))
        return point;
    return {rounded(point.x()), rounded(point.y())};
}

QRectF LMNGrid::alignedRect(const QRectF &rect) const
{
    if (!(_spacing > 0.0))
        return rect;
    const double x = rounded(rect.x());
    const double y = rounded(rect.y());
    const double width = rounded(rect.x() + rect.width()) - x;
    const double height = rounded(rect.y() + rect.height()) - y;
    return {x, y, width, height};
}

void LMNGrid::drawGrid(QPainter &painter, const QRectF &area, double pixelsPerPoint) const
{
    // Closer lines would only grey the card out (and a tiny spacing would mean millions of them).
    constexpr double MinimumPixelGap = 3.0;
    if (!isShown() || !(_spacing > 0.0) || _spacing * pixelsPerPoint < MinimumPixelGap || area.isEmpty())
        return;
    painter.save();
    QPen pen(_color);
    pen.setCosmetic(true);
    pen.setWidth(0);
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double firstX = std::ceil(area.left() / _spacing) * _spacing;
    for (double x = firstX; x <= area.right(); x += _spacing)
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    const double firstY = std::ceil(area.top() / _spacing) * _spacing;
    for (double y = firstY; y <= area.bottom(); y += _spacing)
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.restore();
}
