// The keys of the application's small dialogs, pressed in the real dialogs as the editor's
// commands make them: Enter presses the button that confirms the dialog, wherever the focus
// is, and Escape does what the cancelling button does (closes the dialog with its result).

#include "EditorWindowFixture.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/Update_Ex_Num.h"
#include "data/ui/View_Data_Series.h"
#include "dialogs/ui/Long_SMS_Dlg.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "editor/ui/Grid_Wizard.h"
#include "editor/ui/Insert_Template.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/Template_Wizard.h"
#include "help/ui/Help_Support.h"
#include "help/ui/Promotion_Form.h"
#include "help/ui/Review_Form.h"
#include "help/ui/Share_It_Dlg.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/ExportWindow.h"
#include "output/ui/PageSetupWindow.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"
#include "panels/ui/Image_Library.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalSpy>

namespace {

struct DialogKeys
{
    const char *name;
    std::function<QDialog *()> open;
    const char *confirm;   // object name of the button Enter presses
    const char *cancel;    // object name of the button Escape stands for; nullptr: Escape closes
};

class DialogKeysTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        // Buttons that open links, mail or files answer through the seam; their messages too.
        m_seam.expectUnused();
    }

    void TearDown() override
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            window->hide();
    }

    QList<DialogKeys> dialogs()
    {
        return {
            {"template wizard", [] { return Template_Wizard::defaultInstance(); }, "template_ok_btn", "template_cancel_btn"},
            {"insert template", [] { return Insert_Template::defaultInstance(); }, "insert_ok_btn", "insert_cancel_btn"},
            {"grid", [] { return Grid_Wizard::defaultInstance(); }, "grid_ok_btn", "grid_cancel_btn"},
            {"picture library", [] { return Image_Library::defaultInstance(); }, "ok_btn", "cancel_btn"},
            {"barcode designer", [] { return Barcode_Gen::defaultInstance(); }, "ok_btn", "cancel_btn"},
            {"sender profile", [this] { return profileDialog(Show_User_Profile::defaultInstance(), "F"); }, "OK_btn",
             "Cancel_btn"},
            {"wizard profile", [this] { return profileDialog(User_profile::defaultInstance(), ""); }, "OK_btn",
             "Cancel_btn"},
            {"print", [] { return Print_Wnd::defaultInstance(); }, "Print_btn", "Cancel_btn"},
            {"page setup", [this] { return new PageSetupWindow(m_window.get()); }, nullptr, nullptr},
            {"export", [] { return ExportWindow::defaultInstance(); }, "export_ok_btn", "export_cancel_btn"},
            {"mail settings", [] { return Email_Setting::defaultInstance(); }, "save_btn", "close_btn"},
            {"exported files", [this] { return new Open_Export_Files(m_window.get()); }, "export_ok_btn",
             "export_cancel_btn"},
            {"long message", [] { return Long_SMS_Dlg::defaultInstance(); }, "ok_btn", "no_btn"},
            {"edit value", [] { return BatchWizard::defaultInstance()->Update_Value_Wnd; }, "ok_btn", "cancel_btn"},
            {"replace or add", [this] { return new Load_Num_Info(m_window.get()); }, "yes_btn", "cancel_btn"},
            {"create series", [] { return Generate_List::defaultInstance(); }, "ok_btn", "cancel_btn"},
            {"import wizard", [] { return Import_Wizard::defaultInstance(); }, "ok_btn", "cancel_btn"},
            {"spreadsheet", [] { return Import_Excel::defaultInstance(); }, "ok_btn", "cancel_btn"},
            {"spreadsheet sheet", [] { return Import_Excel_DataSheet::defaultInstance(); }, "ok_btn", "cancel_btn"},
            {"spreadsheet records", [] { return Data_From_Excel::defaultInstance(); }, "ok_btn", nullptr},
            {"series viewer", [] { return View_Data_Series::defaultInstance(); }, "OK_Btn", nullptr},
            {"support", [this] { return new Help_Support(m_window.get()); }, "close_btn", nullptr},
            {"promotion", [] { return Promotion_Form::defaultInstance(); }, "OK_btn", nullptr},
            {"review", [] { return Review_Form::defaultInstance(); }, "OK_btn", nullptr},
            {"share", [this] { return new Share_It_Dlg(m_window.get()); }, "OK_btn", nullptr},
        };
    }

    // A profile dialog as the profile command hands it over.
    QDialog *profileDialog(ProfileDialogBase *dialog, const char *side)
    {
        dialog->commands = m_window->profile();
        dialog->load_side = QString::fromLatin1(side);
        return dialog;
    }

    static QPushButton *button(QDialog *dialog, const char *name)
    {
        if (!name) {   // a standard button box: its OK
            auto *box = dialog->findChild<QDialogButtonBox *>();
            return box ? box->button(QDialogButtonBox::Ok) : nullptr;
        }
        return dialog->findChild<QPushButton *>(QLatin1String(name));
    }

    // Shows the dialog as its command does (without a modal loop) and makes it the active window.
    static void showActive(QDialog *dialog)
    {
        dialog->setResult(-1);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    }

    // Where a key typed now goes.
    static QWidget *keyTarget(QDialog *dialog)
    {
        QWidget *focus = QApplication::focusWidget();
        return focus && focus->window() == dialog ? focus : dialog;
    }
};

} // namespace

TEST_F(DialogKeysTest, EnterPressesTheConfirmingButtonWhereverTheFocusIs)
{
    for (const DialogKeys &row : dialogs()) {
        SCOPED_TRACE(row.name);
        QDialog *dialog = row.open();
        ASSERT_NE(dialog, nullptr);
        QPushButton *confirm = button(dialog, row.confirm);
        ASSERT_NE(confirm, nullptr);

        // With the focus where the dialog puts it when it opens.
        showActive(dialog);
        QSignalSpy pressed(confirm, &QAbstractButton::clicked);
        QTest::keyClick(keyTarget(dialog), Qt::Key_Return);
        EXPECT_EQ(pressed.size(), 1);

        // With the focus on another button: Enter still confirms, and that button is not pressed.
        dialog->hide();
        showActive(dialog);
        QPushButton *other = nullptr;
        for (QPushButton *b : dialog->findChildren<QPushButton *>())
            if (b != confirm && b->isVisible() && b->isEnabled() && b->focusPolicy() & Qt::TabFocus) {
                other = b;
                break;
            }
        if (!other)
            continue;
        other->setFocus(Qt::TabFocusReason);
        QSignalSpy otherPressed(other, &QAbstractButton::clicked);
        pressed.clear();
        QTest::keyClick(other, Qt::Key_Return);
        EXPECT_EQ(pressed.size(), 1) << "focus on " << other->objectName().toStdString();
        EXPECT_EQ(otherPressed.size(), 0) << other->objectName().toStdString();
        dialog->hide();
    }
}

TEST_F(DialogKeysTest, EscapeClosesTheDialogAsItsCancellingButtonDoes)
{
    for (const DialogKeys &row : dialogs()) {
        SCOPED_TRACE(row.name);
        QDialog *dialog = row.open();
        ASSERT_NE(dialog, nullptr);
        int cancelled = QDialog::Rejected;
        if (row.cancel) {
            QPushButton *cancel = button(dialog, row.cancel);
            ASSERT_NE(cancel, nullptr);
            showActive(dialog);
            cancel->click();
            EXPECT_FALSE(dialog->isVisible());
            cancelled = dialog->result();
        }
        showActive(dialog);
        QTest::keyClick(keyTarget(dialog), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        if (row.cancel) {
            EXPECT_EQ(dialog->result(), cancelled);
        }
        dialog->hide();
    }
}

// Escape leaves the export-finished panel as Cancel does: its offer to open the file ticked
// again for the next export.
TEST_F(DialogKeysTest, EscapeTicksTheExportPanelsOfferAgainAsCancelDoes)
{
    Open_Export_Files panel(m_window.get());
    showActive(&panel);
    panel.ui._open_log_chk->setChecked(false);
    QTest::keyClick(keyTarget(&panel), Qt::Key_Escape);
    EXPECT_TRUE(panel.ui._open_log_chk->isChecked());
}

// The start screen has no button that confirms it: a button given the focus from the keyboard
// takes Enter, as it did before dialogs got a default button.
TEST_F(DialogKeysTest, OnTheStartScreenEnterPressesTheFocusedButton)
{
    Invitation_Wizard start(m_window.get());
    showActive(&start);
    ASSERT_EQ(start.ui.wizard_pages->currentIndex(), 0);
    start.ui.start_wizard_btn->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start.ui.start_wizard_btn, Qt::Key_Return);
    EXPECT_EQ(start.ui.wizard_pages->currentIndex(), 1);
    // Inside the wizard Next is the default button: Enter moves on from any field.
    QTest::keyClick(keyTarget(&start), Qt::Key_Return);
    EXPECT_EQ(start.ui.wizard_pages->currentIndex(), 2);
}
