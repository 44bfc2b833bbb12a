#include "data/ui/Load_Num_Info.h"

#include "data/ui/SeriesDialogSupport.h"

Load_Num_Info::Load_Num_Info(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    connect(ui.yes_btn, &QPushButton::clicked, this, [this] { done(Replace); });
    connect(ui.no_btn, &QPushButton::clicked, this, [this] { done(Add); });
    connect(ui.cancel_btn, &QPushButton::clicked, this, [this] { done(Cancelled); });
}
