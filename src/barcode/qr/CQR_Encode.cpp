#include "barcode/qr/CQR_Encode.h"

#include "barcode/ReedSolomon.h"

#include <algorithm>
#include <climits>

using namespace QRTables;

namespace {

constexpr int kMaxDataBits = kMaxDataCodewords * 8; // 23648

constexpr std::uint8_t kFunction = 0x20;
constexpr std::uint8_t kDarkFunction = 0x30;
constexpr std::uint8_t kDarkData = 0x02;

constexpr std::uint8_t kFinderRows[7] = {0x7F, 0x41, 0x5D, 0x5D, 0x5D, 0x41, 0x7F};
constexpr std::uint8_t kAlignmentRows[5] = {0x1F, 0x11, 0x15, 0x11, 0x1F};

constexpr int firstVersionOfGroup(int group)
{
    return group == 0 ? 1 : (group == 1 ? 10 : 27);
}

constexpr int lastVersionOfGroup(int group)
{
    return group == 0 ? 9 : (group == 1 ? 26 : 40);
}

} // namespace

bool CQR_Encode::IsAlphabetData(std::uint8_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '$' || c == '%' || c == '*'
        || c == '+' || c == '-' || c == '.' || c == '/' || c == ':';
}

bool CQR_Encode::IsKanjiData(std::uint8_t c1, std::uint8_t c2)
{
    if (!((c1 >= 0x81 && c1 <= 0x9F) || (c1 >= 0xE0 && c1 <= 0xEB)) || c2 < 0x40)
        return false;
    if (c1 == 0x9F && c2 > 0xFC)
        return false;
    if (c1 == 0xEB && c2 > 0xBF)
        return false;
    return true;
}

int CQR_Encode::AlphabetToBinaly(std::uint8_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    switch (c) {
    case ' ': return 36;
    case '$': return 37;
    case '%': return 38;
    case '*': return 39;
    case '+': return 40;
    case '-': return 41;
    case '.': return 42;
    case '/': return 43;
    default: return 44; // ':'
    }
}

int CQR_Encode::KanjiToBinaly(int code)
{
    code -= (code >= 0x8140 && code <= 0x9FFC) ? 0x8140 : 0xC140;
    return (code >> 8) * 0xC0 + (code & 0xFF);
}

int CQR_Encode::Get_Encoding_Mode(const std::uint8_t *source, int length, bool shiftJisKanji)
{
    bool anyByte = false, anyKanji = false, anyAlpha = false, anyDigit = false;
    for (int i = 0; i < length; ++i) {
        const std::uint8_t c = source[i];
        // A Kanji pair marks Kanji and the scan moves on by one byte, so the pair's second byte is
        // looked at again on its own.
        if (shiftJisKanji && i + 1 < length && IsKanjiData(c, source[i + 1]))
            anyKanji = true;
        else if (IsNumeralData(c))
            anyDigit = true;
        else if (IsAlphabetData(c))
            anyAlpha = true;
        else
            anyByte = true;
    }
    if (anyByte)
        return Byte;
    if (anyKanji)
        return Kanji;
    if (anyAlpha)
        return Alphanumeric;
    if (anyDigit)
        return Numeric;
    return Byte;
}

bool CQR_Encode::EncodeData(int level, int version, bool autoExtent, int maskingNo, const std::uint8_t *source,
                            int length, bool shiftJisKanji, int eci)
{
    m_nSymbleSize = 0;
    m_ncAllCodeWord = 0;
    if (level < 0 || level > 3 || version < 0 || version > kMaxVersion || maskingNo < -1 || maskingNo > 7
        || source == nullptr || length <= 0 || eci < 0 || eci > 127)
        return false;
    m_nLevel = level;
    m_nVersion_pass = version;
    m_nMaskingNo = maskingNo;
    m_shiftJis = shiftJisKanji;
    m_eci = eci;

    int chosen = GetEncodeVersion(version, source, length);
    if (chosen == 0)
        return false;
    if (version > 0) {
        if (chosen > version && !autoExtent)
            return false;
        chosen = std::max(chosen, version);
    }
    m_nVersion = chosen;

    const BlockLayout layout = blockLayout(chosen, level);
    const int dataCount = layout.dataCodewords;

    // Terminator, then pad codewords 0xEC and 0x11 alternately.
    const int terminator = std::min(4, dataCount * 8 - m_ncDataCodeWordBit);
    if (terminator > 0)
        m_ncDataCodeWordBit += terminator;
    bool padToggle = false;
    for (int i = (m_ncDataCodeWordBit + 7) / 8; i < dataCount; ++i) {
        m_byDataCodeWord[i] = padToggle ? 0x11 : 0xEC;
        padToggle = !padToggle;
    }

    // Interleave the data codewords of the blocks, then their error correction codewords.
    m_ncAllCodeWord = layout.totalCodewords;
    const int blocks = layout.blocks();
    const int shortData = layout.shortBlockData;
    auto blockStart = [&](int b) { return b * shortData + std::max(0, b - layout.shortBlocks); };
    int position = 0;
    for (int k = 0; k < shortData; ++k)
        for (int b = 0; b < blocks; ++b)
            m_byAllCodeWord[position++] = m_byDataCodeWord[blockStart(b) + k];
    for (int b = layout.shortBlocks; b < blocks; ++b)
        m_byAllCodeWord[position++] = m_byDataCodeWord[blockStart(b) + shortData];

    const ReedSolomonEncoder rs(GaloisField256::qrCode(), layout.ecPerBlock, 0);
    std::array<std::uint8_t, 68> ec{};
    for (int b = 0; b < blocks; ++b) {
        const int blockData = shortData + (b >= layout.shortBlocks ? 1 : 0);
        rs.encode(m_byDataCodeWord.data() + blockStart(b), blockData, ec.data());
        for (int k = 0; k < layout.ecPerBlock; ++k)
            m_byAllCodeWord[dataCount + k * blocks + b] = ec[k];
    }

    m_nSymbleSize = QRTables::symbolSize(chosen);
    FormatModule();
    return true;
}

int CQR_Encode::GetEncodeVersion(int version, const std::uint8_t *source, int length)
{
    const int startGroup = version < 10 ? 0 : (version < 27 ? 1 : 2);
    for (int group = startGroup; group <= 2; ++group) {
        if (!EncodeSourceData(source, length, group))
            continue;
        const int needed = (m_ncDataCodeWordBit + 7) / 8;
        for (int v = firstVersionOfGroup(group); v <= lastVersionOfGroup(group); ++v) {
            if (dataCodewords(v, m_nLevel) >= needed)
                return v;
        }
    }
    return 0;
}

int CQR_Encode::GetBitLength(int mode, int count, int group) const
{
    const int header = 4 + countIndicatorBits(mode, group);
    switch (mode) {
    case Numeric: return header + 10 * (count / 3) + (count % 3 == 1 ? 4 : (count % 3 == 2 ? 7 : 0));
    case Alphanumeric: return header + 11 * (count / 2) + 6 * (count % 2);
    case Byte: return header + 8 * count;
    default: return header + 13 * (count / 2);
    }
}

bool CQR_Encode::SetBitStream(int /*index*/, int data, int bits)
{
    if (m_ncDataCodeWordBit < 0 || m_ncDataCodeWordBit + bits > kMaxDataBits) {
        m_ncDataCodeWordBit = -1;
        return false;
    }
    for (int i = bits - 1; i >= 0; --i) {
        if ((data >> i) & 1)
            m_byDataCodeWord[m_ncDataCodeWordBit >> 3] |= std::uint8_t(0x80 >> (m_ncDataCodeWordBit & 7));
        ++m_ncDataCodeWordBit;
    }
    return true;
}

void CQR_Encode::absorbSegment(int into, int from)
{
    m_nBlockLength[into] += m_nBlockLength[from];
    m_byBlockMode.erase(m_byBlockMode.begin() + from);
    m_nBlockLength.erase(m_nBlockLength.begin() + from);
}

bool CQR_Encode::EncodeSourceData(const std::uint8_t *source, int length, int group)
{
    m_ncDataCodeWordBit = 0;
    std::fill(m_byDataCodeWord.begin(), m_byDataCodeWord.end(), 0);
    m_byBlockMode.clear();
    m_nBlockLength.clear();

    // a. Runs of one mode.
    for (int i = 0; i < length;) {
        Mode mode;
        int step = 1;
        if (m_shiftJis && i + 1 < length && IsKanjiData(source[i], source[i + 1])) {
            mode = Kanji;
            step = 2;
        } else if (IsNumeralData(source[i])) {
            mode = Numeric;
        } else if (IsAlphabetData(source[i])) {
            mode = Alphanumeric;
        } else {
            mode = Byte;
        }
        if (!m_byBlockMode.empty() && m_byBlockMode.back() == mode) {
            m_nBlockLength.back() += step;
        } else {
            m_byBlockMode.push_back(mode);
            m_nBlockLength.push_back(step);
        }
        i += step;
    }

    auto bits = [&](int i) { return GetBitLength(m_byBlockMode[i], m_nBlockLength[i], group); };
    auto count = [&]() { return int(m_byBlockMode.size()); };

    // b. A numeric run before an alphanumeric one joins it when that is shorter, or joins a
    //    neighbouring byte run instead when that is shorter still.
    for (int i = 0; i < count() - 1;) {
        if (m_byBlockMode[i] != Numeric || m_byBlockMode[i + 1] != Alphanumeric) {
            ++i;
            continue;
        }
        const int src = bits(i) + bits(i + 1);
        const int dst = GetBitLength(Alphanumeric, m_nBlockLength[i] + m_nBlockLength[i + 1], group);
        if (src <= dst) {
            ++i;
            continue;
        }
        int front = -1;
        int back = -1;
        if (i > 0 && m_byBlockMode[i - 1] == Byte) {
            front = GetBitLength(Byte, m_nBlockLength[i - 1] + m_nBlockLength[i], group) + bits(i + 1);
            if (front > dst + GetBitLength(Byte, m_nBlockLength[i - 1], group))
                front = -1;
        }
        if (i + 2 < count() && m_byBlockMode[i + 2] == Byte) {
            back = bits(i) + GetBitLength(Byte, m_nBlockLength[i + 1] + m_nBlockLength[i + 2], group);
            if (back > dst + GetBitLength(Byte, m_nBlockLength[i + 2], group))
                back = -1;
        }
        if (front != -1 && back != -1) {
            if (front < back)
                back = -1;
            else
                front = -1;
        }
        if (front != -1) {
            absorbSegment(i - 1, i);
        } else if (back != -1) {
            m_byBlockMode[i + 1] = Byte;
            absorbSegment(i + 1, i + 2);
        } else {
            if (i + 2 < count() && m_byBlockMode[i + 2] == Alphanumeric)
                absorbSegment(i + 1, i + 2);
            m_byBlockMode[i] = Alphanumeric;
            absorbSegment(i, i + 1);
            if (i > 0 && m_byBlockMode[i - 1] == Alphanumeric)
                absorbSegment(i - 1, i);
        }
    }
    // c. Any two neighbouring runs become one byte run when that is shorter, counting the
    //    headers saved when a byte run on either side joins too.
    const int byteHeader = countIndicatorBits(Byte, group) + 4;
    for (int i = 0; i < count() - 1;) {
        // Kanji pairs in a byte run would be read as bytes of another character set.
        if (m_byBlockMode[i] == Kanji || m_byBlockMode[i + 1] == Kanji) {
            ++i;
            continue;
        }
        const int src = bits(i) + bits(i + 1);
        int dst = GetBitLength(Byte, m_nBlockLength[i] + m_nBlockLength[i + 1], group);
        if (i > 0 && m_byBlockMode[i - 1] == Byte)
            dst -= byteHeader;
        if (i + 2 < count() && m_byBlockMode[i + 2] == Byte)
            dst -= byteHeader;
        if (src <= dst) {
            ++i;
            continue;
        }
        if (i > 0 && m_byBlockMode[i - 1] == Byte) {
            absorbSegment(i - 1, i);
            --i;
        }
        if (i + 2 < count() && m_byBlockMode[i + 2] == Byte)
            absorbSegment(i + 1, i + 2);
        m_byBlockMode[i] = Byte;
        absorbSegment(i, i + 1);
        if (i > 0)
            --i;
    }
    // The merges look at pairs only and can leave a text of one mode in several runs (an
    // alphanumeric text ending in digits). Such a text never needs more than its own mode.
    const int wholeMode = Get_Encoding_Mode(source, length, m_shiftJis);
    const bool anyKanjiRun = std::find(m_byBlockMode.begin(), m_byBlockMode.end(), Kanji) != m_byBlockMode.end();
    if (count() > 1 && wholeMode != Kanji && !anyKanjiRun) {
        int segmented = 0;
        for (int i = 0; i < count(); ++i)
            segmented += bits(i);
        if (GetBitLength(wholeMode, length, group) <= segmented) {
            m_byBlockMode.assign(1, std::uint8_t(wholeMode));
            m_nBlockLength.assign(1, length);
        }
    }

    // f. The bit stream, after the character-set indicator when there is one.
    if (m_eci > 0 && (!SetBitStream(0, 7, 4) || !SetBitStream(0, m_eci, 8)))
        return false;
    int offset = 0;
    for (int s = 0; s < count(); ++s) {
        const int mode = m_byBlockMode[s];
        const int n = m_nBlockLength[s];
        const int indicatorBits = countIndicatorBits(mode, group);
        const int countValue = mode == Kanji ? n / 2 : n;
        if (countValue >= (1 << indicatorBits))
            return false; // cannot be counted in this version group
        static constexpr int kModeIndicator[4] = {1, 2, 4, 8};
        if (!SetBitStream(0, kModeIndicator[mode], 4) || !SetBitStream(0, countValue, indicatorBits))
            return false;
        const std::uint8_t *p = source + offset;
        bool ok = true;
        switch (mode) {
        case Numeric:
            for (int k = 0; k < n && ok; k += 3) {
                const int digits = std::min(3, n - k);
                int value = 0;
                for (int d = 0; d < digits; ++d)
                    value = value * 10 + (p[k + d] - '0');
                ok = SetBitStream(0, value, digits == 3 ? 10 : (digits == 2 ? 7 : 4));
            }
            break;
        case Alphanumeric:
            for (int k = 0; k < n && ok; k += 2) {
                if (k + 1 < n)
                    ok = SetBitStream(0, AlphabetToBinaly(p[k]) * 45 + AlphabetToBinaly(p[k + 1]), 11);
                else
                    ok = SetBitStream(0, AlphabetToBinaly(p[k]), 6);
            }
            break;
        case Byte:
            for (int k = 0; k < n && ok; ++k)
                ok = SetBitStream(0, p[k], 8);
            break;
        default:
            for (int k = 0; k + 1 < n && ok; k += 2)
                ok = SetBitStream(0, KanjiToBinaly((p[k] << 8) | p[k + 1]), 13);
            break;
        }
        if (!ok)
            return false;
        offset += n;
    }
    return true;
}

void CQR_Encode::FormatModule()
{
    std::fill(m_byModuleData.begin(), m_byModuleData.end(), 0);
    SetFunctionModule();
    SetCodeWordPattern();

    int mask = m_nMaskingNo;
    if (mask == -1) {
        int lowest = INT_MAX;
        for (int candidate = 0; candidate < 8; ++candidate) {
            SetMaskingPattern(candidate);
            SetFormatInfoPattern(candidate);
            const int penalty = CountPenalty();
            if (penalty < lowest) {
                lowest = penalty;
                mask = candidate;
            }
        }
    }
    m_nMaskingNo = mask;
    SetMaskingPattern(mask);
    SetFormatInfoPattern(mask);

    const int size = m_nSymbleSize;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            cell(x, y) = (cell(x, y) & 0x11) ? 1 : 0;
}

void CQR_Encode::SetFunctionModule()
{
    const int size = m_nSymbleSize;
    SetFinderPattern(0, 0);
    SetFinderPattern(size - 7, 0);
    SetFinderPattern(0, size - 7);

    // Separators.
    for (int i = 0; i < 8; ++i) {
        cell(i, 7) = cell(7, i) = kFunction;
        cell(size - 8, i) = cell(size - 8 + i, 7) = kFunction;
        cell(i, size - 8) = cell(7, size - 8 + i) = kFunction;
    }
    // Format information areas, reserved light until the mask is known.
    for (int i = 0; i < 9; ++i)
        cell(8, i) = cell(i, 8) = kFunction;
    for (int i = 0; i < 8; ++i)
        cell(size - 8 + i, 8) = cell(8, size - 8 + i) = kFunction;

    SetVersionPattern();

    int coordinates[7];
    const int n = alignmentCoordinates(m_nVersion, coordinates);
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b)
            if (!(cell(coordinates[a], coordinates[b]) & kFunction))
                SetAlignmentPattern(coordinates[a], coordinates[b]);

    // Timing patterns.
    for (int i = 8; i <= size - 9; ++i) {
        if (!(cell(i, 6) & kFunction))
            cell(i, 6) = (i % 2 == 0) ? kDarkFunction : kFunction;
        if (!(cell(6, i) & kFunction))
            cell(6, i) = (i % 2 == 0) ? kDarkFunction : kFunction;
    }
}

void CQR_Encode::SetFinderPattern(int x, int y)
{
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            cell(x + col, y + row) = (kFinderRows[row] & (0x40 >> col)) ? kDarkFunction : kFunction;
}

void CQR_Encode::SetAlignmentPattern(int x, int y)
{
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col)
            cell(x - 2 + col, y - 2 + row) = (kAlignmentRows[row] & (0x10 >> col)) ? kDarkFunction : kFunction;
}

void CQR_Encode::SetVersionPattern()
{
    if (m_nVersion < 7)
        return;
    const int size = m_nSymbleSize;
    const int info = versionInformation(m_nVersion);
    for (int i = 0; i < 18; ++i) {
        const std::uint8_t value = ((info >> i) & 1) ? kDarkFunction : kFunction;
        const int a = size - 11 + i % 3;
        const int b = i / 3;
        cell(a, b) = value;
        cell(b, a) = value;
    }
}

void CQR_Encode::SetCodeWordPattern()
{
    const int size = m_nSymbleSize;
    const int totalBits = m_ncAllCodeWord * 8;
    int bit = 0;
    bool upward = true;
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5; // the vertical timing pattern takes a whole column
        for (int step = 0; step < size; ++step) {
            const int y = upward ? size - 1 - step : step;
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                if (cell(x, y) & kFunction)
                    continue;
                if (bit < totalBits) {
                    if ((m_byAllCodeWord[bit >> 3] >> (7 - (bit & 7))) & 1)
                        cell(x, y) = kDarkData;
                    ++bit;
                }
            }
        }
        upward = !upward;
    }
}

void CQR_Encode::SetMaskingPattern(int mask)
{
    const int size = m_nSymbleSize;
    auto apply = [&](auto condition) {
        for (int y = 0; y < size; ++y) {
            std::uint8_t *row = m_byModuleData.data() + std::size_t(y) * kStride;
            for (int x = 0; x < size; ++x) {
                const std::uint8_t c = row[x];
                if (c & kFunction)
                    continue;
                const int dataBit = (c & kDarkData) >> 1;
                row[x] = std::uint8_t((c & 0xFE) | (dataBit ^ (condition(y, x) ? 1 : 0)));
            }
        }
    };
    switch (mask) { // i row, j column
    case 0: apply([](int i, int j) { return (i + j) % 2 == 0; }); break;
    case 1: apply([](int i, int) { return i % 2 == 0; }); break;
    case 2: apply([](int, int j) { return j % 3 == 0; }); break;
    case 3: apply([](int i, int j) { return (i + j) % 3 == 0; }); break;
    case 4: apply([](int i, int j) { return (i / 2 + j / 3) % 2 == 0; }); break;
    case 5: apply([](int i, int j) { return (i * j) % 2 + (i * j) % 3 == 0; }); break;
    case 6: apply([](int i, int j) { return ((i * j) % 2 + (i * j) % 3) % 2 == 0; }); break;
    default: apply([](int i, int j) { return ((i * j) % 3 + (i + j) % 2) % 2 == 0; }); break;
    }
}

void CQR_Encode::SetFormatInfoPattern(int mask)
{
    const int size = m_nSymbleSize;
    const int info = formatInformation(m_nLevel, mask);
    auto value = [&](int i) { return ((info >> i) & 1) ? kDarkFunction : kFunction; };
    for (int i = 0; i <= 5; ++i)
        cell(8, i) = value(i);
    cell(8, 7) = value(6);
    cell(8, 8) = value(7);
    cell(7, 8) = value(8);
    for (int i = 9; i < 15; ++i)
        cell(14 - i, 8) = value(i);
    for (int i = 0; i < 8; ++i)
        cell(size - 1 - i, 8) = value(i);
    for (int i = 8; i < 15; ++i)
        cell(8, size - 15 + i) = value(i);
    cell(8, size - 8) = kDarkFunction;
}

namespace {

// Runs of five or more and finder-like sequences along one line of `n` modules.
int linePenalty(const std::uint8_t *m, std::ptrdiff_t stride, int n)
{
    int penalty = 0;
    int run = 0;
    int last = -1;
    // Sliding window of the last 15 modules, bit k holding the module k places back; modules
    // outside the symbol count as light.
    std::uint32_t window = 0;
    for (int i = 0; i < n + 4; ++i) {
        const int module = i < n ? m[i * stride] : 0;
        if (i < n) {
            if (module == last) {
                ++run;
            } else {
                if (run >= 5)
                    penalty += run - 2;
                run = 1;
                last = module;
            }
        }
        window = ((window << 1) | std::uint32_t(module)) & 0x7FFF;
        // Light, dark-light-dark-dark-dark-light-dark, light; and four light modules on one side.
        if ((window & 0xFF8) == 0x5D0 && ((window & 0x7800) == 0 || (window & 0xF) == 0))
            penalty += 40;
    }
    if (run >= 5)
        penalty += run - 2;
    return penalty;
}

} // namespace

int CQR_Encode::CountPenalty() const
{
    const int n = m_nSymbleSize;
    std::array<std::uint8_t, kStride * kStride> dark;
    int darkCount = 0;
    for (int y = 0; y < n; ++y) {
        const std::uint8_t *source = m_byModuleData.data() + std::size_t(y) * kStride;
        std::uint8_t *target = dark.data() + std::size_t(y) * n;
        for (int x = 0; x < n; ++x) {
            target[x] = (source[x] & 0x11) ? 1 : 0;
            darkCount += target[x];
        }
    }

    int penalty = 0;
    for (int line = 0; line < n; ++line) {
        penalty += linePenalty(dark.data() + std::size_t(line) * n, 1, n);
        penalty += linePenalty(dark.data() + line, n, n);
    }

    // 2 x 2 blocks of one colour.
    for (int y = 0; y + 1 < n; ++y) {
        const std::uint8_t *a = dark.data() + std::size_t(y) * n;
        const std::uint8_t *b = a + n;
        for (int x = 0; x + 1 < n; ++x) {
            const int sum = a[x] + a[x + 1] + b[x] + b[x + 1];
            if (sum == 0 || sum == 4)
                penalty += 3;
        }
    }

    // Balance of dark and light.
    const int light = n * n - darkCount;
    const int k = std::abs(50 - (100 * light) / (n * n));
    penalty += 10 * (k / 5);
    return penalty;
}
