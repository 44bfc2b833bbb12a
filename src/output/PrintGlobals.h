#pragma once

// Process-wide layout of a sheet of cards: written by the print setup window, read by its
// sheet preview and by the print view. Lengths are points (72 per inch); the window shows
// millimetres. Everything here belongs to the main thread except the running counter, which
// a print worker publishes.

#include <QString>

#include <atomic>

class Print_Wnd;

// The print setup window, once its interface has loaded.
extern Print_Wnd *Print_Var;

// One cell: one card, doubled in height ("U") or width ("L") when both sides print.
extern float label_width;
extern float label_hight;
// Page margins from the printer's imageable area.
extern float Left_Mar;
extern float Rite_Mar;
extern float Top_Mar;
extern float Bot_Mar;
// Gaps between columns and between rows.
extern float horz_mar;
extern float vert_mar;
// Rows and columns per sheet, at least 1.
extern int Print_Row;
extern int Print_Col;
// Cards to print, and the total frozen when a preview or print starts.
extern int Total_Label;
extern int Total_Label_Real;
// Placement of the block of cells, 1 (top left) to 9 (bottom right), row by row.
extern int label_align_val;
extern bool auto_center_flag;
extern bool Show_margin_rect;
// "BOTH", "F" or "B"; and "U" (front above back) or "L" (front left of back).
extern QString Print_Card_Side;
extern QString Print_Card_Algn;
// Cards consumed by the running preview or print, drawn or skipped (for its progress).
extern std::atomic<int> barcode_counter;
// The window is being filled; the preview is not refreshed meanwhile.
extern bool loading;

// Millimetres and points as the window converts them.
float Points_to_MM_Convert(float points);
float MM_to_Points_Convert(float millimetres);
