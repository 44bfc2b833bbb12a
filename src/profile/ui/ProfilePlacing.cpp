// The editor window's sender-profile commands: opening a profile dialog for a side and placing
// a side's profile record on it as "Fup_" elements.

#include "data/SpreadsheetTable.h"
#include "data/ui/DataSourceServices.h"
#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNText.h"
#include "document/MessageLog.h"
#include "document/StringUtilities.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/ui/LMNWindowController.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/SettingsPanel.h"
#include "profile/PartyLayout.h"
#include "profile/ProfileGlobals.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"

#include <QComboBox>
#include <QSignalBlocker>

int LMNWindowController::Open_User_Profile_Window(bool load, const QString &side)
{
    const QString trimmed = Trim_Str(side);
    ProfileDialogBase *dialog = trimmed.isEmpty() ? static_cast<ProfileDialogBase *>(User_profile::defaultInstance())
                                                  : Show_User_Profile::defaultInstance();
    dialog->load_side = trimmed;
    const int code = dialog->Open_Wnd(load);
    if (code == 1) {
        Fill_User_Profile = true;
        if (trimmed.isEmpty()) {
            // The wizards' road: the start screen places these records once it is finished.
            m_wizardProfile = {Front_user_profile, Back_user_profile};
            m_wizardProfileConfirmed = true;
        }
    }
    return code;
}

void LMNWindowController::User_Profile_Button_Clicked()
{
    const bool back = Card_Front_Or_Back != 0;
    if (Open_User_Profile_Window(true, back ? QStringLiteral("B") : QStringLiteral("F")) == 1) {
        if (back)
            Fill_User_profile_info_back_side();
        else
            Fill_User_profile_info_front_side();
    }
    Refresh_Canvas();
}

QRectF LMNWindowController::Get_Control_Rect_From_Template(const QString &controlId)
{
    const QSizeF card = Front_card_Prop.Card_Size;
    Show_NSLog_Message(QStringLiteral("Profile element on a card of %1 x %2 points").arg(card.width()).arg(card.height()));
    const bool portrait = card.width() < card.height();   // a square card is landscape
    return Show_User_Profile::defaultInstance()->placeholderRect(controlId, portrait);
}

void LMNWindowController::placeUserProfile(const User_Profile_Class &record, LMNGraphicView *canvas, bool commitSide)
{
    if (commitSide) {
        // The panel's data-source list offers "Excel" while spreadsheet data is loaded; its
        // signals stay quiet, or the selected element would be rebound.
        if (auto *combo = settingsPanel()->findChild<QComboBox *>(QStringLiteral("Data_source_type"))) {
            const QSignalBlocker blocker(combo);
            if (Excel_Binding_Use)
                DataSourceServices::Add_Excel_Col_Name_In_Combo(combo);
            else
                DataSourceServices::Remove_Excel_Col_Name_In_Combo(combo);
        }
        if (!Fill_User_Profile)
            return;
    }
    canvas->Hide_all_Text_control_FUP_Control();
    setSelected_Control_Tool(2);
    for (int i = 0; i < ProfileFields::Count; ++i) {
        const User_Profile_Field &field = record.field(i);
        if (field.value.isEmpty())
            continue;
        const GraphicPtr existing = canvas->Selcect_Ctrl_With_ID(field.id);
        const QRectF rect = existing ? QRectF() : Get_Control_Rect_From_Template(field.id);
        const bool photo = i == ProfileFields::Photo;
        if (photo) {
            setSelected_Control_Tool(8);
            Library_Selected_Image = field.value;
        }
        canvas->ReplaceGraphicText(photo ? GraphicKind::Image : GraphicKind::Text, nullptr, !existing, rect,
                                   QStringLiteral("F"), field.value, field.id);
        // The binding goes only onto this field's own element, found or just made.
        const GraphicPtr element = existing ? existing : canvas->Selcect_Ctrl_With_ID(field.id);
        if (!element)
            continue;
        // A field just placed takes a font small enough for its frame, as the wizard's stack
        // does; what still cannot fit at the smallest size shows the canvas's overflow sign.
        if (!existing && element->kind() == GraphicKind::Text)
            static_cast<LMNText &>(*element).shrinkFontToFit(PartyLayout::kSmallestFont);
        if (field.ds) {
            element->data_source_type = 1;
            element->batch_list_name = field.ds_name;
            element->batch_list_index = field.ds_indx;
            element->excel_binding = false;
        }
        if (field.xl) {
            element->data_source_type = 2;
            element->excel_binding = true;
            element->excel_col_indx = field.xl_col_indx;
        }
    }
}

void LMNWindowController::Fill_User_profile_info_front_side()
{
    placeUserProfile(Front_user_profile, _graphicView, true);
}

void LMNWindowController::Fill_User_profile_info_back_side()
{
    placeUserProfile(Back_user_profile, _graphicView_BACK, true);
}

void LMNWindowController::Fill_User_profile_info_TEMP_side()
{
    placeUserProfile(TEMP_user_profile, _graphicView_TEMP, false);
}

void LMNWindowController::Fill_User_profile_Details()
{
    Fill_User_profile_info_front_side();
    Fill_User_profile_info_back_side();
}

void LMNWindowController::placeWizardProfile()
{
    if (!m_wizardProfileConfirmed)
        return;
    m_wizardProfileConfirmed = false;
    Front_user_profile = m_wizardProfile.first;
    Back_user_profile = m_wizardProfile.second;
    Fill_User_Profile = true;
    m_document->disableUndoRegistration();
    Fill_User_profile_info_front_side();
    if (CARD_SIDE_STR == QLatin1String("2"))
        Fill_User_profile_info_back_side();
    m_document->enableUndoRegistration();
    setSelected_Control_Tool(0);
}
