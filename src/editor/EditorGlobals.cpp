#include "editor/EditorGlobals.h"

EditorHost *Main_App_wnd = nullptr;
QString Template_Msg_Val;
