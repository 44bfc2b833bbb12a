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
