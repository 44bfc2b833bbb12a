#include "editor/EditorGlobals.h"

EditorHost *Main_App_wnd = nullptr;
QString Template_Msg_Val;
QString Invite_Title;
QString Invite_To;
QString Invite_Message;
QString Invite_Date;
QString Invite_Time;
QString Invite_Venue;
QString Invite_From;
QString Invite_BG_IMG;
