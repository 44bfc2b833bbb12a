#pragma once

// Process-wide state of the editor window and the start wizard.

#include "data/DataGlobals.h"   // batch_file_EXT

#include <QString>

class EditorHost;

// The one editor window, set by its constructor, as the feature windows see it; shared dialogs
// that are opened from many places (the data series windows) reach the design through it.
extern EditorHost *Main_App_wnd;

// The stock text chosen last in the Insert_Template picker.
extern QString Template_Msg_Val;

// The invitation wizard's answers, trimmed; empty when a question was not answered.
extern QString Invite_Title;
extern QString Invite_To;
extern QString Invite_Message;
extern QString Invite_Date;
extern QString Invite_Time;
extern QString Invite_Venue;
extern QString Invite_From;
extern QString Invite_BG_IMG;
