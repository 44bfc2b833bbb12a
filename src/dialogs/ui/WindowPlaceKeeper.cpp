#include "dialogs/ui/WindowPlaceKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

const char kFrameCorner[] = "festiloomFrameCorner";

} // namespace

void WindowPlaceKeeper::keep(QWidget *window)
{
    if (!window)
        return;
    static WindowPlaceKeeper *keeper = new WindowPlaceKeeper(QCoreApplication::instance());
    window->removeEventFilter(keeper);
    window->installEventFilter(keeper);
}

bool WindowPlaceKeeper::eventFilter(QObject *watched, QEvent *event)
{
    auto *window = qobject_cast<QWidget *>(watched);
    // Hidden or shown by the program (a window manager's minimising is spontaneous).
    if (!window || !window->isWindow() || event->spontaneous())
        return false;
    if (event->type() == QEvent::Hide) {
        window->setProperty(kFrameCorner, window->frameGeometry().topLeft());
    } else if (event->type() == QEvent::Show) {
        // Sent before the window appears: its size and place can still change unseen.
        fitOnScreen(window);
        const QVariant corner = window->property(kFrameCorner);
        if (corner.isValid() && !window->isMaximized() && !window->isFullScreen()) {
            const QPoint place = corner.toPoint();
            for (const QScreen *screen : QGuiApplication::screens())
                if (screen->availableGeometry().contains(place)) {
                    window->move(place);   // the frame's corner, as for every window
                    break;
                }
        }
    }
    return false;
}

QMargins WindowPlaceKeeper::assumedFrame()
{
    return {8, 32, 8, 8};
}

void WindowPlaceKeeper::fitOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen || window->isMaximized() || window->isFullScreen())
        return;
    QMargins frame = assumedFrame();
    const QRect client = window->geometry();
    const QRect outer = window->frameGeometry();
    if (outer != client)
        frame = QMargins(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                         outer.bottom() - client.bottom());
    const QRect area = screen->availableGeometry();
    const QSize room = area.marginsRemoved(frame).size();
    // Qt's own size is at most two thirds of the screen, a form's may be short of its content.
    const QSize fitted = window->size().expandedTo(window->sizeHint()).boundedTo(room).expandedTo(window->minimumSize());
    if (fitted == window->size())
        return;
    const QPoint centre = client.center();
    window->resize(fitted);
    if (window->testAttribute(Qt::WA_Moved))
        return;
    // Qt's own place (a dialog centred over its parent): centred where it was, on the screen.
    QRect placed(QPoint(), fitted);
    placed.moveCenter(centre);
    placed = placed.marginsAdded(frame);
    placed.moveLeft(std::clamp(placed.left(), area.left(), std::max(area.left(), area.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), area.top(), std::max(area.top(), area.bottom() - placed.height() + 1)));
    window->move(placed.topLeft());
    window->setAttribute(Qt::WA_Moved, false);   // still Qt's place, not one the program chose
}
