#include "barcode/BarcodeGlobals.h"

std::atomic<int> USED_DPI_VALUE{600};
std::atomic<int> Barcode_module_size{1};
std::atomic<int> QR_Version_Val{0};
std::atomic<int> QR_EC_Level_Val{0};
std::atomic<int> QR_Enc_Mode_Val{0};
std::atomic<int> PDF_Row{0};
std::atomic<int> PDF_Col{3};
std::atomic<int> Measument_Unit_Is{0};
QImage Barcode_output_image;
