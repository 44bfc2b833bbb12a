#pragma once

// Process-wide barcode state. The designer dialog writes these; the picture makers read
// them. A generation reads them once at its start (batch runs copy them into the
// BarcodeSettings record they pass along), so workers never see a half-written state.

#include <QImage>

#include <atomic>

// Resolution in dots per inch of barcode pictures (initially 600).
extern std::atomic<int> USED_DPI_VALUE;
// Size of one DataMatrix module in points of the picture (initially 1).
extern std::atomic<int> Barcode_module_size;
// QR version: 0 automatic, n = version n.
extern std::atomic<int> QR_Version_Val;
// Index of the QR error-correction item (L, M, Q, H).
extern std::atomic<int> QR_EC_Level_Val;
// Index of the QR encoding-mode item.
extern std::atomic<int> QR_Enc_Mode_Val;
// PDF417 row and column stepper values (initially 0 and 3).
extern std::atomic<int> PDF_Row;
extern std::atomic<int> PDF_Col;
// Unit of bar heights and margins: 0 inches, 1 centimetres, 2 millimetres.
extern std::atomic<int> Measument_Unit_Is;

// The picture the designer produced last (main thread only).
extern QImage Barcode_output_image;
