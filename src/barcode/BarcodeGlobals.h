#pragma once

// Process-wide barcode state the designer dialog leaves for its caller.

#include <QImage>

// The picture the designer produced last (main thread only).
extern QImage Barcode_output_image;
