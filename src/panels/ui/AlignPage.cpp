#include "panels/ui/AlignPage.h"

AlignPage::AlignPage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
}
