#include "barcode/qr/QRTables.h"

#include <array>

namespace QRTables {

namespace {

// Error correction codewords per block, by level then version (index 0 unused).
constexpr int kEcPerBlock[4][41] = {
    {0, 7, 10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0, 10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {0, 13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {0, 17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};

// Number of error correction blocks, by level then version (index 0 unused).
constexpr int kBlocks[4][41] = {
    {0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 6, 6, 6, 6, 7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {0, 1, 1, 1, 2, 2, 4, 4, 4, 5, 5, 5, 8, 9, 9, 10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {0, 1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {0, 1, 1, 2, 4, 4, 4, 5, 6, 8, 8, 11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

constexpr int kIndicatorBits[4][3] = {
    {10, 12, 14}, // numeric
    {9, 11, 13},  // alphanumeric
    {8, 16, 16},  // byte
    {8, 10, 12},  // Kanji
};

constexpr int rawModules(int version)
{
    // Modules left for codewords (and remainder bits) after every function pattern.
    int result = (16 * version + 128) * version + 64;
    if (version >= 2) {
        const int align = version / 7 + 2;
        result -= (25 * align - 10) * align - 55;
        if (version >= 7)
            result -= 36;
    }
    return result;
}

constexpr int bchRemainder(int value, int generator, int generatorDegree)
{
    int remainder = value << generatorDegree;
    for (int bit = 31; bit >= generatorDegree; --bit) {
        if (remainder & (1 << bit))
            remainder ^= generator << (bit - generatorDegree);
    }
    return remainder;
}

} // namespace

int symbolSize(int version)
{
    return 4 * version + 17;
}

int totalCodewords(int version)
{
    return rawModules(version) / 8;
}

BlockLayout blockLayout(int version, int level)
{
    BlockLayout layout;
    if (version < 1 || version > kMaxVersion || level < 0 || level > 3)
        return layout;
    const int blocks = kBlocks[level][version];
    layout.totalCodewords = totalCodewords(version);
    layout.ecPerBlock = kEcPerBlock[level][version];
    layout.longBlocks = layout.totalCodewords % blocks;
    layout.shortBlocks = blocks - layout.longBlocks;
    layout.shortBlockData = layout.totalCodewords / blocks - layout.ecPerBlock;
    layout.dataCodewords = layout.totalCodewords - blocks * layout.ecPerBlock;
    return layout;
}

int dataCodewords(int version, int level)
{
    return blockLayout(version, level).dataCodewords;
}

int dataBits(int version, int level)
{
    return dataCodewords(version, level) * 8;
}

int alignmentCoordinates(int version, int out[7])
{
    if (version < 2)
        return 0;
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    out[0] = 6;
    int position = symbolSize(version) - 7;
    for (int i = count - 1; i >= 1; --i, position -= step)
        out[i] = position;
    return count;
}

int versionGroup(int version)
{
    return version <= 9 ? 0 : (version <= 26 ? 1 : 2);
}

int countIndicatorBits(int mode, int group)
{
    return kIndicatorBits[mode][group];
}

int characterCapacity(int mode, int version, int level)
{
    const int bits = dataBits(version, level) - 4 - countIndicatorBits(mode, versionGroup(version));
    if (bits < 0)
        return 0;
    switch (mode) {
    case 0: { // 10 bits per 3 digits, 7 for 2, 4 for 1
        int n = bits / 10 * 3;
        const int rest = bits % 10;
        n += rest >= 7 ? 2 : (rest >= 4 ? 1 : 0);
        return n;
    }
    case 1:
        return bits / 11 * 2 + (bits % 11 >= 6 ? 1 : 0);
    case 2:
        return bits / 8;
    default:
        return bits / 13;
    }
}

int formatInformation(int level, int mask)
{
    static constexpr int kLevelBits[4] = {1, 0, 3, 2}; // L 01, M 00, Q 11, H 10
    const int data = (kLevelBits[level & 3] << 3) | (mask & 7);
    return ((data << 10) | bchRemainder(data, 0x537, 10)) ^ 0x5412;
}

int versionInformation(int version)
{
    return (version << 12) | bchRemainder(version, 0x1F25, 12);
}

} // namespace QRTables
