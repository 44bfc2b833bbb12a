#pragma once

// Process-wide state of the editor window and the start wizard.

#include "data/DataGlobals.h"   // batch_file_EXT

#include <QString>

// The stock text chosen last in the Insert_Template picker.
extern QString Template_Msg_Val;
