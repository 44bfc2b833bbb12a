#pragma once

// Constant tables of QR Code model 2 (ISO/IEC 18004), shared by the encoder and its tests.
// Levels are indexed 0 = L, 1 = M, 2 = Q, 3 = H; modes 0 numeric, 1 alphanumeric, 2 byte, 3 Kanji.
namespace QRTables {

constexpr int kMaxVersion = 40;
constexpr int kMaxModules = 4 * kMaxVersion + 17; // 177
constexpr int kMaxDataCodewords = 2956;           // version 40-L
constexpr int kMaxTotalCodewords = 3706;          // version 40

struct BlockLayout {
    int totalCodewords = 0;   // data + error correction, whole symbol
    int dataCodewords = 0;    // whole symbol
    int ecPerBlock = 0;
    int shortBlocks = 0;      // first group: totalCodewords / blocks codewords each
    int shortBlockData = 0;
    int longBlocks = 0;       // second group: one more data codeword each
    int blocks() const { return shortBlocks + longBlocks; }
};

int symbolSize(int version);                   // 4 x version + 17
int totalCodewords(int version);
BlockLayout blockLayout(int version, int level);
int dataCodewords(int version, int level);
int dataBits(int version, int level);          // data capacity in bits
// Centre coordinates of the alignment patterns along one axis, 6 included (empty for version 1).
int alignmentCoordinates(int version, int out[7]);
// Character-count indicator length for a mode in a version group (0: 1-9, 1: 10-26, 2: 27-40).
int countIndicatorBits(int mode, int versionGroup);
int versionGroup(int version);
// Character capacity of a mode at a version and level (ISO/IEC 18004 Table 7).
int characterCapacity(int mode, int version, int level);

// 15-bit format information (level and mask, BCH-coded and masked with 0x5412).
int formatInformation(int level, int mask);
// 18-bit version information (versions 7 and up).
int versionInformation(int version);

} // namespace QRTables
