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

// The picture the designer produced last (main thread only).
extern QImage Barcode_output_image;
