#include "dialogs/ui/PleaseWaitSheet.h"

#include "dialogs/ui/UiUtilities.h"

#include <QCoreApplication>

PleaseWaitSheet::PleaseWaitSheet(QWidget *parent)
    : QDialog(parent, Qt::Sheet)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
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
