#include "document/DocumentGlobals.h"
#include "dialogs/ui/Long_SMS_Dlg.h"

#include "support/ScriptedModalSeam.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

struct Shown
{
    QString heading;
    QString text;
    bool noShown = false;
    bool checkShown = false;
    bool ticked = false;
    QString okText;
    bool operator==(const Shown &) const = default;
};

Shown read(QDialog *dialog)
{
    const auto *check = dialog->findChild<QCheckBox *>(QStringLiteral("apply_all_chk"));
    return {dialog->findChild<QLabel *>(QStringLiteral("title_lbl"))->text(),
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("msg_txt"))->toPlainText(),
            !dialog->findChild<QPushButton *>(QStringLiteral("no_btn"))->isHidden(), !check->isHidden(), check->isChecked(),
            dialog->findChild<QPushButton *>(QStringLiteral("ok_btn"))->text()};
}

// A handler that reads the box, sets the check box and presses a button as a user would.
ScriptedModalSeam::DialogHandler press(const char *button, Shown *seen, int tick = -1)
{
    return [=](QDialog *dialog) {
        *seen = read(dialog);
        if (tick >= 0)
            dialog->findChild<QCheckBox *>(QStringLiteral("apply_all_chk"))->setChecked(tick == 1);
        dialog->findChild<QPushButton *>(QLatin1String(button))->click();
        return dialog->result();
    };
}

class LongMessageBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        box = Long_SMS_Dlg::defaultInstance();
        Msg_Apply_All_Chk = 0;
    }
    void TearDown() override
    {
        delete box; // the next test gets a fresh process-wide box
        Cutom_Msg_Title.clear();
        Cutom_Msg_Val.clear();
        Msg_Apply_All_Chk = 0;
    }
    Long_SMS_Dlg *box = nullptr;
    ScriptedModalSeam seam;
};

} // namespace

TEST_F(LongMessageBox, WithoutATitleShowsTheProcessWideTextWithOKOnly)
{
    Cutom_Msg_Title = QStringLiteral("DPI (Dots Per Inch) :");
    Cutom_Msg_Val = QStringLiteral("Dots per inch is a measure of the resolution of printers in terms of Print Quality.\n\n"
                                   "Bigger the DPI, Better the Print Quality.");
    Shown seen;
    seam.onDialog(press("ok_btn", &seen));
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 1);
    EXPECT_EQ(seen, (Shown{Cutom_Msg_Title, Cutom_Msg_Val, false, false, false, "OK"}));
    EXPECT_EQ(seam.dialogsRun, QList<QDialog *>{box});
    EXPECT_EQ(Long_SMS_Dlg::defaultInstance(), box) << "one process-wide box";

    // Closed with the window's close box or Escape.
    seam.onDialog([](QDialog *) { return int(QDialog::Rejected); });
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 0);
}

TEST_F(LongMessageBox, WithATitleAsksYesOrNoAndRemembersApplyToAllEvenInTheInformationLayout)
{
    box->title_val = QStringLiteral("Series in use");
    box->msg_val_str = QStringLiteral("The series Guests is bound to the card. Delete it anyway?");
    box->apply_chk_show = 1;
    Cutom_Msg_Title = QStringLiteral("not this one");

    Shown seen;
    seam.onDialog(press("ok_btn", &seen, 1));
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 1);
    EXPECT_EQ(seen, (Shown{"Series in use", box->msg_val_str, true, true, false, "Yes"}));
    EXPECT_EQ(Msg_Apply_All_Chk, 1);

    // No leaves the answer alone; the box keeps its fields and its ticked check box.
    seam.onDialog(press("no_btn", &seen, 0));
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 0);
    EXPECT_TRUE(seen.ticked);
    EXPECT_EQ(Msg_Apply_All_Chk, 1);
    EXPECT_TRUE(box->title_val == QLatin1String("Series in use") && box->apply_chk_show == 1);

    // Yes with the box unticked clears it.
    seam.onDialog(press("ok_btn", &seen, 0));
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 1);
    EXPECT_FALSE(seen.ticked);
    EXPECT_EQ(Msg_Apply_All_Chk, 0);

    // OK of the information layout also sets the answer from the hidden check box: a caller
    // that is done puts the box back into its information layout.
    seam.onDialog(press("ok_btn", &seen, 1));
    ASSERT_EQ(box->Open_Long_sms_Dialog(), 1);
    box->title_val.clear();
    box->apply_chk_show = 0;
    Msg_Apply_All_Chk = 0;
    seam.onDialog(press("ok_btn", &seen));
    EXPECT_EQ(box->Open_Long_sms_Dialog(), 1);
    EXPECT_TRUE(!seen.checkShown && !seen.noShown && Msg_Apply_All_Chk == 1);
}
