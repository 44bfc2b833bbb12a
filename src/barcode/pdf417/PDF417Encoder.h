#pragma once

#include "barcode/ModuleGrid.h"

#include <QByteArray>

#include <array>

// PDF417 (ISO/IEC 15438): text, byte and numeric compaction, error correction levels 0 to 8,
// the symbol's rows and columns from an aspect-ratio rule, and the module matrix.
//
// One parameter record drives an encoding: fill it (pdf417init gives the defaults), call
// paintCode, and read the symbol from it. Records are independent; use one per thread.
namespace PDF417 {

enum Options {
    FixedRectangle = 1,   // rows and columns taken from the record
    FixedColumns = 2,
    FixedRows = 4,
    UseErrorLevel = 16,   // otherwise the level follows the data length
    UseRawCodewords = 64, // the caller filled `codewords` itself
    InvertBitmap = 128,
};

enum Error {
    NoError = 0,
    TextTooBig = 1,
    InvalidParams = 2,
};

constexpr int kMaxTextBytes = 5420;

struct pdf417param {
    // The symbol, one module per cell: bitColumns wide, codeRows high (rows of codewords,
    // each one module high here; pictures stretch them). Empty until paintCode succeeds.
    ModuleGrid outBits;
    int bitColumns = 0;
    int codeRows = 0;      // 3 to 90
    int codeColumns = 0;   // data codeword columns, 1 to 30
    std::array<int, 928> codewords{}; // codewords[0] is the symbol length descriptor
    int lenCodewords = 0;
    int errorLevel = 0;    // 0 to 8 after encoding
    QByteArray text;
    int options = 0;
    float aspectRatio = 0.5f;
    float yHeight = 3.0f;  // row height in modules, for the aspect-ratio rule
    int error = NoError;
};

// Clears the symbol and sets the defaults: no options, no error, empty text, row height 3,
// aspect ratio 0.5. Rows, columns and codewords keep their values.
void pdf417init(pdf417param &p);

// Encodes p.text (or p.codewords with UseRawCodewords). On return p.error is NoError and the
// symbol fields are set, or p.error tells why and p.outBits is empty.
void paintCode(pdf417param &p);

// The largest level whose 2^(level+1) error correction codewords fit in `room` codewords.
int maxPossibleErrorLevel(int room);

} // namespace PDF417
