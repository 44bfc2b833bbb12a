#include "editor/WindowPlacement.h"

#include <algorithm>

QRect WindowPlacement::fitted(const QRect &wanted, const QMargins &frame, const QRect &available)
{
    if (!available.isValid() || !wanted.isValid())
        return wanted;
    QRect outer = wanted.marginsAdded(frame);
    outer.setWidth(std::min(outer.width(), available.width()));
    outer.setHeight(std::min(outer.height(), available.height()));
    if (outer.right() > available.right())
        outer.moveRight(available.right());
    if (outer.bottom() > available.bottom())
        outer.moveBottom(available.bottom());
    if (outer.left() < available.left())
        outer.moveLeft(available.left());
    if (outer.top() < available.top())
        outer.moveTop(available.top());
    return outer.marginsRemoved(frame);
}
