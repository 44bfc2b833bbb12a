#include "dialogs/ui/ScrolledPart.h"

#include <QBoxLayout>
#include <QEvent>
#include <QScreen>
#include <QScrollBar>

ScrolledPart::ScrolledPart(QWidget *window)
    : QScrollArea(window)
    , m_window(window)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    window->installEventFilter(this);
}

ScrolledPart *ScrolledPart::wrap(QWidget *window, QLayout *part, Qt::Orientations scrolled)
{
    auto *outer = qobject_cast<QBoxLayout *>(window->layout());
    const int index = outer ? outer->indexOf(part) : -1;
    if (index < 0)
        return nullptr;
    const int stretch = outer->stretch(index);
    outer->takeAt(index);   // the part itself: a layout is its own layout item
    auto *area = new ScrolledPart(window);
    auto *page = new QWidget(area);
    page->setObjectName(part->objectName() + QStringLiteral("_page"));
    page->setAutoFillBackground(false);
    part->setParent(nullptr);
    page->setLayout(part);   // takes the part's widgets along
    part->setContentsMargins(0, 0, 0, 0);
    area->setWidget(page);
    area->viewport()->setAutoFillBackground(false);
    const QSize least = page->minimumSizeHint();
    if (!(scrolled & Qt::Horizontal)) {
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setMinimumWidth(least.width() + area->verticalScrollBar()->sizeHint().width());
    }
    if (!(scrolled & Qt::Vertical)) {
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        area->setMinimumHeight(least.height() + area->horizontalScrollBar()->sizeHint().height());
    }
    outer->insertWidget(index, area, stretch);
    return area;
}

QSize ScrolledPart::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
}

QMargins ScrolledPart::assumedFrame()
{
    return {8, 32, 8, 8};
}

bool ScrolledPart::eventFilter(QObject *watched, QEvent *event)
{
    // Sent before the window appears: its size can still change unseen.
    if (watched == m_window && event->type() == QEvent::Show)
        fitWindowOnScreen();
    return QScrollArea::eventFilter(watched, event);
}

void ScrolledPart::fitWindowOnScreen()
{
    const QScreen *screen = m_window->screen();
    if (!screen || m_window->isMaximized() || m_window->isFullScreen())
        return;
    QMargins frame = assumedFrame();
    const QRect client = m_window->geometry();
    const QRect outer = m_window->frameGeometry();
    if (outer != client)
        frame = QMargins(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                         outer.bottom() - client.bottom());
    const QSize room = screen->availableGeometry().marginsRemoved(frame).size();
    const QSize fitted = m_window->size().boundedTo(room).expandedTo(m_window->minimumSize());
    if (fitted != m_window->size())
        m_window->resize(fitted);
}
