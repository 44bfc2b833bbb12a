#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class Long_SMS_Dlg;
}

// The general message box, for texts too long for an alert: either a question with Yes and
// No and an optional apply-to-all check box, or an information text with OK only.
//
//   Long_SMS_Dlg *box = Long_SMS_Dlg::defaultInstance();
//   box->title_val = "Series in use";      // set: the question layout
//   box->msg_val_str = "...";
//   box->apply_chk_show = 1;
//   if (box->Open_Long_sms_Dialog() == 1 && Msg_Apply_All_Chk) ...
//
// With title_val empty it shows Cutom_Msg_Title and Cutom_Msg_Val as an information box.
// The fields keep their values after the box closes, and the check box keeps its state from
// one opening to the next. Main thread only.
class Long_SMS_Dlg : public QDialog
{
    Q_OBJECT

public:
    explicit Long_SMS_Dlg(QWidget *parent = nullptr);
    ~Long_SMS_Dlg() override;

    // The process-wide box, made on first use.
    static Long_SMS_Dlg *defaultInstance();

    // Runs the box modally (through ModalSeam); 1 for OK or Yes, 0 for No or closing. OK or
    // Yes copies the check box's state into Msg_Apply_All_Chk; No leaves it as it was.
    int Open_Long_sms_Dialog();

    QString title_val;      // heading of a question; empty for an information box
    QString msg_val_str;    // text of a question
    int apply_chk_show = 0; // 1 shows the apply-to-all check box

private:
    std::unique_ptr<Ui::Long_SMS_Dlg> ui;
};
