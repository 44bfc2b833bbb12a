#pragma once

// Process-wide state of the editor window and the start wizard.

#include "data/DataGlobals.h"   // batch_file_EXT

#include <QString>

class LMNWindowController;

// The one editor window, set by its constructor; every subsystem reaches the editor through it.
extern LMNWindowController *Main_App_wnd;

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

// What the last export wrote and what to tell the user about it (the export-finished panel).
extern QString Export_File_Path;
extern QString Export_File_Message;
