#include "panels/PanelsGlobals.h"

std::atomic<int> Card_Shape{0};
QString CARD_SIDE_STR;
bool Not_Draw_Only_Prop_Change = false;
QString lib_window_sel_file;
