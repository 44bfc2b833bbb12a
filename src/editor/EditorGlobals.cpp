#include "editor/EditorGlobals.h"

QString Template_Msg_Val;
