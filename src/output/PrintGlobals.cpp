#include "output/PrintGlobals.h"

Print_Wnd *Print_Var = nullptr;
float label_width = 0.0f;
float label_hight = 0.0f;
float Left_Mar = 0.0f;
float Rite_Mar = 0.0f;
float Top_Mar = 0.0f;
float Bot_Mar = 0.0f;
float horz_mar = 0.0f;
float vert_mar = 0.0f;
int Print_Row = 1;
int Print_Col = 1;
int Total_Label = 1;
int Total_Label_Real = 1;
int label_align_val = 1;
bool auto_center_flag = false;
bool Show_margin_rect = true;
QString Print_Card_Side = QStringLiteral("F");
QString Print_Card_Algn = QStringLiteral("U");
std::atomic<int> barcode_counter{0};
bool loading = false;

float Points_to_MM_Convert(float points)
{
    return float(double(points) * 0.3527777777778);
}

float MM_to_Points_Convert(float millimetres)
{
    return float(double(millimetres) * 2.834645669291);
}
