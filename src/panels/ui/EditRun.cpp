#include "panels/ui/EditRun.h"

#include "document/LMNDocument.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

EditRun::EditRun(QObject *parent)
    : QObject(parent)
{
    if (qApp) {
        qApp->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, &EditRun::startNew);
    }
}

void EditRun::watch(LMNDocument *document)
{
    connect(document, &LMNDocument::graphicsEdited, this,
            [this](GraphicList *, const GraphicList &, bool fromHistory) {
                if (fromHistory)
                    startNew();
            });
}

bool EditRun::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        startNew();
    return QObject::eventFilter(watched, event);
}
