#pragma once

#include "data/DesignRecordBudget.h"
#include "document/LMNGraphic.h"
#include "profile/User_Profile_Class.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <utility>

class EditorHost;
class LMNGraphicView;
class PanelHost;

// The editor window's sender-profile commands: the three profile records (front, back and the
// working side of the preview), opening a profile dialog for a side and placing a side's record
// on its canvas as "Fup_" elements.
class ProfileCommands
{
public:
    // What placing needs of the editor besides the two hosts: the working side's canvas and
    // the drawing tool (elements are made with the current tool); and what the open design
    // leaves the records of a workbook the dialogs import (DesignFile::roomForRecords()).
    struct Tools
    {
        std::function<LMNGraphicView *()> workingCanvas;
        std::function<int()> tool;
        std::function<void(int)> setTool;
        std::function<DesignRecordBudget::Cost()> recordRoom;
    };

    ProfileCommands(EditorHost &editor, PanelHost &panels, Tools tools);

    EditorHost &editor() const { return m_editor; }
    // What the design as it stands leaves spreadsheet records, worked out now.
    DesignRecordBudget::Cost recordRoom() const { return m_tools.recordRoom(); }

    User_Profile_Class Front_user_profile;
    User_Profile_Class Back_user_profile;
    User_Profile_Class TEMP_user_profile;
    // Set once a profile dialog opened for a side ended with OK; cleared by a new design. The
    // front and back placing run only while it is set.
    bool Fill_User_Profile = false;

    // Opens the per-side profile dialog for "F" or "B", the wizards' one for ""; 1 after OK.
    int Open_User_Profile_Window(bool load, const QString &side);
    void User_Profile_Button_Clicked();
    void Fill_User_profile_info_front_side();
    void Fill_User_profile_info_back_side();
    void Fill_User_profile_info_TEMP_side();
    void Fill_User_profile_Details();
    QRectF Get_Control_Rect_From_Template(const QString &controlId);

    // The preview: the working side's canvas placed with TEMP_user_profile outside the undo
    // history, its elements handed back; the tool and the cascade point stay as they were.
    GraphicList previewOfSide(const GraphicList &side);

    // A new design: the front and back records start empty and nothing is placed.
    void reset();
    // The start screen opens: a profile confirmed in an earlier run of it is forgotten.
    void forgetWizardProfile() { m_wizardProfileConfirmed = false; }
    // The profile confirmed in the start screen's own dialog, placed once the start screen ends.
    void placeWizardProfile();
    // A design was opened: the panel's data-source list and the rows of both profile dialogs
    // offer "Excel" exactly when it carries spreadsheet records.
    void offerSpreadsheetSource();

private:
    void placeUserProfile(const User_Profile_Class &record, LMNGraphicView *canvas, bool commitSide);

    EditorHost &m_editor;
    PanelHost &m_panels;
    Tools m_tools;
    std::pair<User_Profile_Class, User_Profile_Class> m_wizardProfile;
    bool m_wizardProfileConfirmed = false;
};
