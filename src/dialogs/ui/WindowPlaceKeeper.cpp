#include "dialogs/ui/WindowPlaceKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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
