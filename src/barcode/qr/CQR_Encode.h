#pragma once

#include "barcode/qr/QRTables.h"

#include <array>
#include <cstdint>
#include <vector>

// Builds the module matrix of one QR Code symbol (model 2, versions 1 to 40, levels L, M, Q, H,
// numeric, alphanumeric, byte and Kanji modes, the eight data masks). One object per encoding;
// the matrix and the bit stream are fixed-size members, so make it on the heap.
//
// The encoder picks its own modes: it splits the bytes into runs of one mode and then merges
// runs wherever a merged run costs fewer bits.
class CQR_Encode
{
public:
    enum Mode : std::uint8_t { Numeric = 0, Alphanumeric = 1, Byte = 2, Kanji = 3 };

    CQR_Encode() = default;

    // Encodes `length` bytes of `source` at `level` (0-3). `version` 0 picks the smallest version
    // that holds the data; a version from 1 to 40 is the least version used, and a larger one is
    // taken only when `autoExtent` is set. `maskingNo` -1 picks the mask with the lowest penalty.
    // `shiftJisKanji` says that the bytes are Shift JIS text, whose double-byte Kanji characters may
    // then use Kanji mode; bytes in any other encoding never do. Kanji runs are never folded into
    // byte mode, so byte segments never carry Shift JIS pairs. `eci` 1 to 127 starts the symbol
    // with that character-set indicator (26 for UTF-8); 0 writes none. Returns false when the
    // data does not fit or the arguments are out of range.
    bool EncodeData(int level, int version, bool autoExtent, int maskingNo, const std::uint8_t *source,
                    int length, bool shiftJisKanji = false, int eci = 0);

    int level() const { return m_nLevel; }
    int version() const { return m_nVersion; }
    int maskingNo() const { return m_nMaskingNo; }
    // Modules per side, 0 until an encoding succeeds.
    int symbolSize() const { return m_nSymbleSize; }
    // True for a dark module at column x of row y (row 0 at the top).
    bool isDark(int x, int y) const { return m_byModuleData[std::size_t(y) * kStride + std::size_t(x)] != 0; }

    // Interleaved data and error correction codewords of the last successful encoding.
    const std::uint8_t *allCodewords() const { return m_byAllCodeWord.data(); }
    int allCodewordCount() const { return m_ncAllCodeWord; }

    // Mode of a whole text, used by the facade's capacity check: byte if any byte needs it, else
    // Kanji, alphanumeric or numeric; byte for an empty text.
    static int Get_Encoding_Mode(const std::uint8_t *source, int length, bool shiftJisKanji);

    static bool IsNumeralData(std::uint8_t c) { return c >= '0' && c <= '9'; }
    static bool IsAlphabetData(std::uint8_t c);
    static bool IsKanjiData(std::uint8_t c1, std::uint8_t c2);
    static int AlphabetToBinaly(std::uint8_t c);
    static int KanjiToBinaly(int code);

private:
    static constexpr std::size_t kStride = QRTables::kMaxModules;

    int GetEncodeVersion(int version, const std::uint8_t *source, int length);
    bool EncodeSourceData(const std::uint8_t *source, int length, int versionGroup);
    int GetBitLength(int mode, int count, int versionGroup) const;
    bool SetBitStream(int index, int data, int bits);
    void absorbSegment(int into, int from);

    void GetRSCodeWord();
    void FormatModule();
    void SetFunctionModule();
    void SetFinderPattern(int x, int y);
    void SetAlignmentPattern(int x, int y);
    void SetVersionPattern();
    void SetCodeWordPattern();
    void SetMaskingPattern(int mask);
    void SetFormatInfoPattern(int mask);
    int CountPenalty() const;

    std::uint8_t &cell(int x, int y) { return m_byModuleData[std::size_t(y) * kStride + std::size_t(x)]; }
    std::uint8_t cell(int x, int y) const { return m_byModuleData[std::size_t(y) * kStride + std::size_t(x)]; }

    int m_nLevel = 0;
    int m_nVersion = 0;
    int m_nVersion_pass = 0;   // version asked for, 0 for automatic
    int m_nMaskingNo = -1;
    int m_nSymbleSize = 0;
    bool m_shiftJis = false;
    int m_eci = 0;

    // Module matrix, row-major (row y, column x); while building, 0x20 marks function modules,
    // 0x10 dark function modules, 0x02 dark data bits and 0x01 the masked data bit.
    std::array<std::uint8_t, kStride * kStride> m_byModuleData{};

    int m_ncDataCodeWordBit = 0; // bits written, -1 after an overflow
    std::array<std::uint8_t, QRTables::kMaxDataCodewords> m_byDataCodeWord{};

    // Mode segments: mode and length in source bytes (a Kanji character counts 2).
    std::vector<std::uint8_t> m_byBlockMode;
    std::vector<int> m_nBlockLength;

    int m_ncAllCodeWord = 0;
    std::array<std::uint8_t, QRTables::kMaxTotalCodewords> m_byAllCodeWord{};
};
