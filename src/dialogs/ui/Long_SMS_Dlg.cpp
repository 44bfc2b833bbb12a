#include "dialogs/ui/Long_SMS_Dlg.h"
#include "dialogs/ui/SharedWindow.h"

#include "ui_Long_SMS_Dlg.h"

#include "document/DocumentGlobals.h"
#include "dialogs/ui/ModalSeam.h"

#include <QPointer>

Long_SMS_Dlg::Long_SMS_Dlg(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::Long_SMS_Dlg>())
{
    ui->setupUi(this);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(241, 244, 250));
    background.setColor(QPalette::Base, QColor(241, 244, 250));
    setPalette(background);
    setAutoFillBackground(true);
}

Long_SMS_Dlg::~Long_SMS_Dlg() = default;

Long_SMS_Dlg *Long_SMS_Dlg::defaultInstance()
{
    return sharedWindow<Long_SMS_Dlg>();
}

int Long_SMS_Dlg::Open_Long_sms_Dialog()
{
    const bool question = !title_val.isEmpty();
    const QString heading = question ? title_val : Cutom_Msg_Title;
    ui->title_lbl->setText(heading);
    ui->title_lbl->setVisible(!heading.isEmpty());
    ui->msg_txt->setPlainText(question ? msg_val_str : Cutom_Msg_Val);
    ui->apply_all_chk->setVisible(apply_chk_show == 1);
    ui->no_btn->setVisible(question);
    ui->ok_btn->setText(question ? tr("Yes") : tr("OK"));
    ui->ok_btn->setFocus();

    if (ModalSeam::instance().execDialog(this) != QDialog::Accepted)
        return 0;
    Msg_Apply_All_Chk = ui->apply_all_chk->isChecked() ? 1 : 0;
    return 1;
}
