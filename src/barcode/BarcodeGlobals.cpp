#include "barcode/BarcodeGlobals.h"

QImage Barcode_output_image;
