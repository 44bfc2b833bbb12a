#include "profile/ui/ProfileCommands.h"

#include "data/SpreadsheetTable.h"
#include "data/ui/DataSourceServices.h"
#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNText.h"
#include "document/MessageLog.h"
#include "document/SetPropertiesCommand.h"
#include "document/StringUtilities.h"
#include "document/ui/LMNGraphicView.h"
#include "document/LMNRenderingView.h"
#include "document/EditorHost.h"
#include "panels/Card_Property.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/PanelHost.h"
#include "panels/ui/SettingsPanel.h"
#include "profile/PartyLayout.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

ProfileCommands::ProfileCommands(EditorHost &editor, PanelHost &panels, Tools tools)
    : m_editor(editor), m_panels(panels), m_tools(std::move(tools))
{
    for (User_Profile_Class *record : {&Front_user_profile, &Back_user_profile, &TEMP_user_profile})
        record->Reset_All_Values();
}

void ProfileCommands::reset()
{
    Front_user_profile.Reset_All_Values();
    Back_user_profile.Reset_All_Values();
    Fill_User_Profile = false;
}

int ProfileCommands::Open_User_Profile_Window(bool load, const QString &side)
{
    const QString trimmed = Trim_Str(side);
    ProfileDialogBase *dialog = trimmed.isEmpty() ? static_cast<ProfileDialogBase *>(User_profile::defaultInstance())
                                                  : Show_User_Profile::defaultInstance();
    dialog->load_side = trimmed;
    dialog->commands = this;
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

void ProfileCommands::User_Profile_Button_Clicked()
{
    const bool back = m_editor.sideInWork() != 0;
    if (Open_User_Profile_Window(true, back ? QStringLiteral("B") : QStringLiteral("F")) == 1) {
        // One undo step per OK: the elements made and the elements changed (texts, pictures,
        // bindings, hidden fields) together.
        // A profile that changes nothing is no step. Placing uses the element tools; the user
        // gets back the tool chosen before.
        LMNGraphicView *canvas = m_panels.sideCanvas(back ? 1 : 0);
        LMNDocument *document = m_editor.document();
        const int tool = m_tools.tool();
        document->beginEditGroup(QCoreApplication::translate("ProfileCommands", "Place Profile"));
        SetPropertiesCommand::record(document, &canvas->graphics(), canvas->graphics(), [this, back] {
            if (back)
                Fill_User_profile_info_back_side();
            else
                Fill_User_profile_info_front_side();
        });
        document->endEditGroup();
        m_tools.setTool(tool);
    }
    m_editor.Refresh_Canvas();
}

QRectF ProfileCommands::Get_Control_Rect_From_Template(const QString &controlId)
{
    const QSizeF card = m_panels.cardRecord(0).Card_Size;
    Show_Debug_Message(QStringLiteral("Profile element on a card of %1 x %2 points").arg(card.width()).arg(card.height()));
    const bool portrait = card.width() < card.height();   // a square card is landscape
    return Show_User_Profile::defaultInstance()->placeholderRect(controlId, portrait);
}

void ProfileCommands::offerSpreadsheetSource()
{
    if (auto *combo = m_panels.settingsPanel()->findChild<QComboBox *>(QStringLiteral("Data_source_type"))) {
        const QSignalBlocker blocker(combo);   // the selected element keeps its binding
        DataSourceServices::offerSpreadsheetSource(combo);
    }
    ProfileDialogBase::offerSpreadsheetColumns();
}

void ProfileCommands::placeUserProfile(const User_Profile_Class &record, LMNGraphicView *canvas, bool commitSide)
{
    if (commitSide) {
        // The panel's data-source list offers "Excel" while spreadsheet data is loaded; its
        // signals stay quiet, or the selected element would be rebound.
        if (auto *combo = m_panels.settingsPanel()->findChild<QComboBox *>(QStringLiteral("Data_source_type"))) {
            const QSignalBlocker blocker(combo);
            DataSourceServices::offerSpreadsheetSource(combo);
        }
        if (!Fill_User_Profile)
            return;
    }
    canvas->Hide_all_Text_control_FUP_Control();
    m_tools.setTool(2);
    for (int i = 0; i < ProfileFields::Count; ++i) {
        const User_Profile_Field &field = record.field(i);
        if (field.value.isEmpty())
            continue;
        const GraphicPtr existing = canvas->Selcect_Ctrl_With_ID(field.id);
        const QRectF rect = existing ? QRectF() : Get_Control_Rect_From_Template(field.id);
        const bool photo = i == ProfileFields::Photo;
        if (photo) {
            m_tools.setTool(8);
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

void ProfileCommands::Fill_User_profile_info_front_side()
{
    placeUserProfile(Front_user_profile, m_panels.sideCanvas(0), true);
}

void ProfileCommands::Fill_User_profile_info_back_side()
{
    placeUserProfile(Back_user_profile, m_panels.sideCanvas(1), true);
}

void ProfileCommands::Fill_User_profile_info_TEMP_side()
{
    placeUserProfile(TEMP_user_profile, m_tools.workingCanvas(), false);
}

void ProfileCommands::Fill_User_profile_Details()
{
    Fill_User_profile_info_front_side();
    Fill_User_profile_info_back_side();
}

void ProfileCommands::placeWizardProfile()
{
    if (!m_wizardProfileConfirmed)
        return;
    m_wizardProfileConfirmed = false;
    Front_user_profile = m_wizardProfile.first;
    Back_user_profile = m_wizardProfile.second;
    Fill_User_Profile = true;
    LMNDocument *document = m_editor.document();
    document->disableUndoRegistration();
    Fill_User_profile_info_front_side();
    if (m_editor.twoSided())
        Fill_User_profile_info_back_side();
    document->enableUndoRegistration();
    m_tools.setTool(0);
}

GraphicList ProfileCommands::previewOfSide(const GraphicList &side)
{
    LMNDocument *document = m_editor.document();
    // The preview is placed on copies of the side's elements, outside the undo history: the
    // design itself changes only on OK.
    const GraphicList working = document->graphics_temp;
    document->graphics_temp = LMNRenderingView::snapshot(side);
    const float x = last_ctrl_X, y = last_ctrl_Y;
    const int tool = m_tools.tool();
    const QString library = Library_Selected_Image;
    document->disableUndoRegistration();
    Fill_User_profile_info_TEMP_side();
    document->enableUndoRegistration();
    const GraphicList placed = document->graphics_temp;
    document->graphics_temp = working;
    m_tools.workingCanvas()->Clear_Control_Selection();
    last_ctrl_X = x;
    last_ctrl_Y = y;
    m_tools.setTool(tool);
    Library_Selected_Image = library;
    return placed;
}
