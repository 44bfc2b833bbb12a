#pragma once

#include "barcode/ModuleGrid.h"

#include <QByteArray>

#include <optional>
#include <vector>

// DataMatrix ECC200 (ISO/IEC 16022): the 24 square and 6 rectangular sizes, the ASCII, C40,
// Text, X12, EDIFACT and Base256 encodations, Reed-Solomon error correction over GF(256) and
// the standard module placement.
//
// Every call is independent and may run on any thread. Refusals are written to the standard
// error stream (the designer prints its own diagnostics after them) and return an empty grid.
class DataMatrixEncoder
{
public:
    // One symbol size: rows H, columns W, data region rows FH and columns FW including their
    // finder and timing border, data codewords, data codewords per Reed-Solomon block and error
    // correction codewords per block.
    struct SizeRecord {
        int H, W, FH, FW, bytes, datablock, rsblock;
        int blocks() const { return (bytes + 2) / datablock; }
    };
    // The sizes in the order the automatic choice tries them (by data capacity).
    static const std::vector<SizeRecord> &ecc200matrix();

    static constexpr int kMaxInput = 3116;

    // Encodes `data`. `W` 0 asks for the smallest size that holds it, else W x H must be a size of
    // the table. `encoding` holds one letter per input byte ("A" ASCII, "C" C40, "T" Text, "X" X12,
    // "E" EDIFACT, "B" Base256, either case); nullopt asks for the cheapest mix. On success W and H
    // are the size used, `encoding` the letters used, and the optional reports are the codewords
    // written for the data, the size's data capacity and its error correction codewords.
    // The grid's row 0 is the top row (ModuleGrid's orientation).
    static ModuleGrid iec16022ecc200(int &W, int &H, std::optional<QByteArray> &encoding, const QByteArray &data,
                                     int *lenp = nullptr, int *maxp = nullptr, int *eccp = nullptr);

    // The cheapest mix of encodations for `data`, one capital letter per byte, and its cost in
    // codewords. `exact` costs the end of the data as if the symbol ended there. nullopt above
    // kMaxInput bytes.
    static std::optional<QByteArray> encmake(const QByteArray &data, int *cost, bool exact);

    // Data codewords (and pads up to `capacity`) for `data` under `encoding`; false when the
    // data does not fit or the encoding cannot carry it. `lenp` gets the codewords written for
    // the data before the final unlatch and the pads.
    static bool ecc200encode(std::vector<std::uint8_t> &target, int capacity, const QByteArray &data,
                             const QByteArray &encoding, int *lenp);

    // Appends the interleaved error correction codewords to `binary` (which holds `bytes` data
    // codewords and room for the rest).
    static void ecc200(std::uint8_t *binary, int bytes, int datablock, int rsblock);

    // Fills the mapping matrix of `rows` x `columns` cells: for each cell (codeword << 3) | bit
    // with codeword counted from 1 and bit 0 the most significant, or kFixedDark / kFixedLight
    // for the corner pattern left over in some sizes.
    static void ecc200placement(std::vector<int> &array, int rows, int columns);
    static constexpr int kFixedDark = -1;
    static constexpr int kFixedLight = -2;

private:
    enum EncodeResult { Fits, TooLong, Unencodable };
    static EncodeResult encodeCodewords(std::vector<std::uint8_t> &target, int capacity, const QByteArray &data,
                                        const QByteArray &encoding, int *lenp);
};
