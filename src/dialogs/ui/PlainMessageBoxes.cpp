#include "dialogs/ui/PlainMessageBoxes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>

PlainMessageBoxes::PlainMessageBoxes()
{
    QCoreApplication::instance()->installEventFilter(this);
}

PlainMessageBoxes::~PlainMessageBoxes()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void PlainMessageBoxes::makePlain(QMessageBox *box)
{
    for (QLabel *label : box->findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
}

bool PlainMessageBoxes::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish)
        if (auto *box = qobject_cast<QMessageBox *>(watched))
            makePlain(box);
    return false;
}
