#include "document/DocumentGlobals.h"

std::atomic<int> Card_Front_Or_Back{0};
float last_ctrl_X = 10.0f;
float last_ctrl_Y = 10.0f;
QString Library_Selected_Image;
QString Cutom_Msg_Title;
QString Cutom_Msg_Val;
std::atomic<int> Msg_Apply_All_Chk{0};
QString Resource_Path;
QString Data_Folder_Path;
