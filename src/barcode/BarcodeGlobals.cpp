#include "barcode/BarcodeGlobals.h"

std::atomic<int> USED_DPI_VALUE{600};
std::atomic<int> Barcode_module_size{1};
QImage Barcode_output_image;
