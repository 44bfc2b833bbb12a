#include "dialogs/ui/ScrolledPart.h"

#include "dialogs/ui/WindowPlaceKeeper.h"

#include <QBoxLayout>
#include <QScrollBar>

ScrolledPart::ScrolledPart(QWidget *window)
    : QScrollArea(window)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    WindowPlaceKeeper::keep(window);
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
