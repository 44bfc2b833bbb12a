#pragma once

#include <QMargins>
#include <QRect>

// Where a top-level window may lie: its whole frame (the client area with the window
// manager's title bar and borders around it) inside a screen's available area.
class WindowPlacement
{
public:
    // The client area nearest to `wanted` whose frame, `frame` around it, lies inside
    // `available`: made smaller only where the frame is larger than the area, then moved in
    // only as far as needed.
    static QRect fitted(const QRect &wanted, const QMargins &frame, const QRect &available);
};
