#include "dialogs/ui/PleaseWaitSheet.h"

#include <QCoreApplication>

PleaseWaitSheet::PleaseWaitSheet(QWidget *parent)
    : QDialog(parent, Qt::Sheet)
{
    ui.setupUi(this);
    setWindowModality(Qt::WindowModal);
}

void PleaseWaitSheet::begin()
{
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PleaseWaitSheet::end()
{
    hide();
}
