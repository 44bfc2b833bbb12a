#include "barcode/pdf417/PDF417Encoder.h"

#include "barcode/pdf417/PDF417Tables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace PDF417 {

namespace {

constexpr int kTextLatch = 900;
constexpr int kByteLatch = 901;
constexpr int kNumericLatch = 902;
constexpr int kByteShift = 913;
constexpr int kByteLatch6 = 924;
constexpr int kMaxDataCodewords = 926;

constexpr char kMixedSet[] = "0123456789&\r\t,:#-.$/+%*=^";
constexpr char kPunctuationSet[] = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";

enum SubMode { Alpha = 1, Lower = 2, Mixed = 4, Punctuation = 8 };

struct Segment {
    char type; // 'T' text, 'N' numeric, 'B' byte
    int start;
    int end;   // exclusive
    int length() const { return end - start; }
};

bool isText(std::uint8_t c)
{
    return (c >= 32 && c <= 126) || c == '\r' || c == '\n' || c == '\t';
}

bool isDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

// The sub-modes that hold a character (a mask of SubMode), and its value in each.
struct TextValue {
    int modes = 0;
    int alphaLowerValue = 0; // letters and space
    int mixedValue = 0;
    int punctuationValue = 0;
};

TextValue getTextTypeAndValue(std::uint8_t c)
{
    TextValue v;
    if (c >= 'A' && c <= 'Z') {
        v.modes |= Alpha;
        v.alphaLowerValue = c - 'A';
    } else if (c >= 'a' && c <= 'z') {
        v.modes |= Lower;
        v.alphaLowerValue = c - 'a';
    } else if (c == ' ') {
        v.modes |= Alpha | Lower | Mixed;
        v.alphaLowerValue = 26;
        v.mixedValue = 26;
    }
    if (c != 0) {
        if (const char *m = std::strchr(kMixedSet, c)) {
            v.modes |= Mixed;
            v.mixedValue = int(m - kMixedSet);
        }
        if (const char *p = std::strchr(kPunctuationSet, c)) {
            v.modes |= Punctuation;
            v.punctuationValue = int(p - kPunctuationSet);
        }
    }
    return v;
}

int valueIn(const TextValue &v, int mode)
{
    switch (mode) {
    case Mixed: return v.mixedValue;
    case Punctuation: return v.punctuationValue;
    default: return v.alphaLowerValue;
    }
}

class Assembler
{
public:
    Assembler(pdf417param &p, const std::uint8_t *text)
        : m_p(p), m_text(text)
    {
    }

    bool assemble(const std::vector<Segment> &segments)
    {
        for (std::size_t k = 0; k < segments.size(); ++k) {
            const Segment &s = segments[k];
            bool ok = true;
            switch (s.type) {
            case 'T': ok = textCompaction(s.start, s.length(), k == 0); break;
            case 'N': ok = numberCompaction(s.start, s.length()); break;
            default: ok = byteCompaction(s.start, s.length()); break;
            }
            if (!ok) {
                m_p.error = TextTooBig;
                return false;
            }
        }
        return true;
    }

    int written() const { return m_position; }

private:
    bool room(int count) const { return m_position + count < kMaxDataCodewords + 1; }
    void put(int codeword) { m_p.codewords[std::size_t(m_position++)] = codeword; }

    bool textCompaction(int start, int length, bool first)
    {
        // Values first, with -1 - byte standing for a byte shift, then codewords.
        std::vector<int> values;
        values.reserve(std::size_t(length) * 2);
        std::vector<int> out; // codewords
        int mode = Alpha;
        auto flushPairs = [&] {
            for (std::size_t i = 0; i + 1 < values.size(); i += 2)
                out.push_back(30 * values[i] + values[i + 1]);
            values.clear();
        };
        auto nextAre = [&](int i, int modeMask) {
            if (i + 2 >= length)
                return false;
            return (getTextTypeAndValue(m_text[start + i + 1]).modes & modeMask)
                && (getTextTypeAndValue(m_text[start + i + 2]).modes & modeMask);
        };
        for (int i = 0; i < length; ++i) {
            const std::uint8_t c = m_text[start + i];
            const TextValue v = getTextTypeAndValue(c);
            if (v.modes & mode) {
                values.push_back(valueIn(v, mode));
                continue;
            }
            if (v.modes == 0) {
                // A byte inside text travels as a byte shift on a codeword boundary.
                if (values.size() % 2) {
                    values.push_back(29);
                    if (mode == Punctuation)
                        mode = Alpha;
                }
                flushPairs();
                out.push_back(kByteShift);
                out.push_back(c);
                continue;
            }
            // A punctuation character: latch when a run of them follows, otherwise shift for
            // this one character. True when it was shifted (and so is already written).
            auto punctuation = [&](std::initializer_list<int> latch) {
                if (nextAre(i, Punctuation)) {
                    values.insert(values.end(), latch);
                    mode = Punctuation;
                    return false;
                }
                values.push_back(29);
                values.push_back(v.punctuationValue);
                return true;
            };
            switch (mode) {
            case Alpha:
                if (v.modes & Lower) {
                    values.push_back(27);
                    mode = Lower;
                } else if (v.modes & Mixed) {
                    values.push_back(28);
                    mode = Mixed;
                } else if (punctuation({28, 25})) {
                    continue;
                }
                break;
            case Lower:
                if (v.modes & Alpha) {
                    if (nextAre(i, Alpha)) {
                        values.push_back(28);
                        values.push_back(28);
                        mode = Alpha;
                    } else {
                        values.push_back(27);
                        values.push_back(v.alphaLowerValue);
                        continue;
                    }
                } else if (v.modes & Mixed) {
                    values.push_back(28);
                    mode = Mixed;
                } else if (punctuation({28, 25})) {
                    continue;
                }
                break;
            case Mixed:
                if (v.modes & Lower) {
                    values.push_back(27);
                    mode = Lower;
                } else if (v.modes & Alpha) {
                    values.push_back(28);
                    mode = Alpha;
                } else if (punctuation({25})) {
                    continue;
                }
                break;
            default: // Punctuation: back to alpha, then the character again
                values.push_back(29);
                mode = Alpha;
                --i;
                continue;
            }
            values.push_back(valueIn(v, mode));
        }
        if (values.size() % 2)
            values.push_back(29);
        flushPairs();

        const int needed = int(out.size()) + (first ? 0 : 1);
        if (!room(needed))
            return false;
        if (!first)
            put(kTextLatch);
        for (int codeword : out)
            put(codeword);
        return true;
    }

    bool numberCompaction(int start, int length)
    {
        int needed = 1;
        for (int offset = 0; offset < length; offset += 44)
            needed += std::min(44, length - offset) / 3 + 1;
        if (!room(needed))
            return false;
        put(kNumericLatch);
        for (int offset = 0; offset < length; offset += 44)
            basicNumberCompaction(start + offset, std::min(44, length - offset));
        return true;
    }

    // A leading 1 and up to 44 digits, written in base 900.
    void basicNumberCompaction(int start, int length)
    {
        std::array<int, 45> digits{};
        int count = 0;
        digits[std::size_t(count++)] = 1;
        for (int i = 0; i < length; ++i)
            digits[std::size_t(count++)] = m_text[start + i] - '0';
        std::array<int, 16> result{};
        int produced = 0;
        int first = 0; // digits before `first` are zero
        while (first < count) {
            int remainder = 0;
            for (int i = first; i < count; ++i) {
                const int value = remainder * 10 + digits[std::size_t(i)];
                digits[std::size_t(i)] = value / 900;
                remainder = value % 900;
            }
            result[std::size_t(produced++)] = remainder;
            while (first < count && digits[std::size_t(first)] == 0)
                ++first;
        }
        for (int i = produced - 1; i >= 0; --i)
            put(result[std::size_t(i)]);
    }

    bool byteCompaction(int start, int length)
    {
        const int needed = 1 + length / 6 * 5 + length % 6;
        if (!room(needed))
            return false;
        put(length % 6 == 0 ? kByteLatch6 : kByteLatch);
        int i = 0;
        for (; i + 6 <= length; i += 6)
            byteCompaction6(start + i);
        for (; i < length; ++i)
            put(m_text[start + i]);
        return true;
    }

    void byteCompaction6(int start)
    {
        std::uint64_t value = 0;
        for (int i = 0; i < 6; ++i)
            value = (value << 8) | m_text[start + i];
        int out[5];
        for (int i = 4; i >= 0; --i) {
            out[i] = int(value % 900);
            value /= 900;
        }
        for (int codeword : out)
            put(codeword);
    }

    pdf417param &m_p;
    const std::uint8_t *m_text;
    int m_position = 1;
};

std::vector<Segment> breakString(const std::uint8_t *text, int length)
{
    std::vector<Segment> list;
    list.reserve(20);

    // Text / not-text runs of [from, to).
    auto splitByClass = [&](int from, int to) {
        for (int i = from; i < to;) {
            const bool textClass = isText(text[i]);
            int j = i + 1;
            while (j < to && isText(text[j]) == textClass)
                ++j;
            list.push_back({textClass ? 'T' : 'B', i, j});
            i = j;
        }
    };

    int last = 0;
    for (int i = 0; i < length;) {
        if (!isDigit(text[i])) {
            ++i;
            continue;
        }
        int j = i;
        while (j < length && isDigit(text[j]))
            ++j;
        if (j - i >= 13) {
            splitByClass(last, i);
            list.push_back({'N', i, j});
            last = j;
        }
        i = j;
    }
    splitByClass(last, length);

    auto type = [&](int k) { return k >= 0 && k < int(list.size()) ? list[std::size_t(k)].type : '\0'; };
    auto len = [&](int k) { return k >= 0 && k < int(list.size()) ? list[std::size_t(k)].length() : 0; };
    auto merge = [&](int k, int count) { // segments k .. k+count-1 become one of k's type
        list[std::size_t(k)].end = list[std::size_t(k + count - 1)].end;
        list.erase(list.begin() + k + 1, list.begin() + k + count);
    };

    // A lone byte between text runs travels inside the text.
    for (int k = 0; k < int(list.size());) {
        if (type(k) == 'B' && len(k) == 1 && type(k - 1) == 'T' && type(k + 1) == 'T' && len(k - 1) + len(k + 1) >= 3) {
            merge(k - 1, 3);
            k = 0;
        } else {
            ++k;
        }
    }
    // Long text runs take in neighbouring lone bytes and text runs.
    for (int k = 0; k < int(list.size());) {
        if (type(k) == 'T' && len(k) >= 5) {
            const bool before = (type(k - 1) == 'B' && len(k - 1) == 1) || type(k - 1) == 'T';
            const bool after = (type(k + 1) == 'B' && len(k + 1) == 1) || type(k + 1) == 'T';
            if (before) {
                merge(k - 1, 2);
                list[std::size_t(k - 1)].type = 'T';
                k = 0;
                continue;
            }
            if (after) {
                merge(k, 2);
                k = 0;
                continue;
            }
        }
        ++k;
    }
    // Byte runs take in short text runs and neighbouring byte runs.
    for (int k = 0; k < int(list.size());) {
        if (type(k) == 'B') {
            const bool before = (type(k - 1) == 'T' && len(k - 1) < 5) || type(k - 1) == 'B';
            const bool after = (type(k + 1) == 'T' && len(k + 1) < 5) || type(k + 1) == 'B';
            if (before) {
                merge(k - 1, 2);
                list[std::size_t(k - 1)].type = 'B';
                k = 0;
                continue;
            }
            if (after) {
                merge(k, 2);
                k = 0;
                continue;
            }
        }
        ++k;
    }
    // A short all-digit text is cheaper as numbers.
    if (list.size() == 1 && list[0].type == 'T' && list[0].length() >= 8) {
        bool digits = true;
        for (int i = list[0].start; i < list[0].end && digits; ++i)
            digits = isDigit(text[i]);
        if (digits)
            list[0].type = 'N';
    }
    return list;
}

void calculateErrorCorrection(pdf417param &p, int dataCount)
{
    const int level = p.errorLevel < 0 || p.errorLevel > 8 ? 0 : p.errorLevel;
    const std::vector<int> &a = PDF417Tables::errorCorrectionCoefficients(level);
    const int k = int(a.size());
    // Every term stays below 929 * 929 + 929, so one unsigned remainder per coefficient is
    // enough; signed remainders in a chain keep the compiler from vectorising the loop.
    constexpr unsigned kPrime = 929;
    std::vector<unsigned> e(std::size_t(k), 0);
    for (int i = 0; i < dataCount; ++i) {
        const unsigned t1 = (unsigned(p.codewords[std::size_t(i)]) + e[std::size_t(k - 1)]) % kPrime;
        for (int j = k - 1; j > 0; --j)
            e[std::size_t(j)] = (e[std::size_t(j - 1)] + kPrime * kPrime - t1 * unsigned(a[std::size_t(j)])) % kPrime;
        e[0] = (kPrime * kPrime - t1 * unsigned(a[0])) % kPrime;
    }
    for (int j = 0; j < k; ++j) {
        const unsigned value = e[std::size_t(k - 1 - j)];
        p.codewords[std::size_t(dataCount + j)] = value == 0 ? 0 : int(kPrime - value);
    }
}

void getMaxSquare(pdf417param &p)
{
    if (p.codeColumns < 22) {
        p.codeColumns = 16;
        p.codeRows = 58;
    } else {
        p.codeColumns = 29;
        p.codeRows = 32;
    }
}

void outPaintCode(pdf417param &p)
{
    const int rows = p.codeRows;
    const int columns = p.codeColumns;
    p.bitColumns = 17 * (columns + 3) + 18;
    ModuleGrid grid(p.bitColumns, rows);
    for (int r = 0; r < rows; ++r) {
        const int cluster = r % 3;
        const int base = 30 * (r / 3);
        int x = 0;
        auto out = [&](std::uint32_t pattern, int width) {
            for (int b = width - 1; b >= 0; --b, ++x)
                if ((pattern >> b) & 1)
                    grid.set(x, r, true);
        };
        auto outCodeword17 = [&](int codeword) { out(PDF417Tables::clusterPatterns[cluster][codeword], 17); };
        int left = 0;
        int right = 0;
        switch (cluster) {
        case 0:
            left = base + (rows - 1) / 3;
            right = base + columns - 1;
            break;
        case 1:
            left = base + 3 * p.errorLevel + (rows - 1) % 3;
            right = base + (rows - 1) / 3;
            break;
        default:
            left = base + columns - 1;
            right = base + 3 * p.errorLevel + (rows - 1) % 3;
            break;
        }
        out(PDF417Tables::kStartPattern, 17);
        outCodeword17(left);
        for (int c = 0; c < columns; ++c)
            outCodeword17(p.codewords[std::size_t(r * columns + c)]);
        outCodeword17(right);
        out(PDF417Tables::kStopPattern, 18);
    }
    if (p.options & InvertBitmap) {
        for (int y = 0; y < grid.height(); ++y)
            for (int x = 0; x < grid.width(); ++x)
                grid.set(x, y, !grid.get(x, y));
    }
    p.outBits = std::move(grid);
}

} // namespace

int maxPossibleErrorLevel(int room)
{
    for (int level = 8; level > 0; --level) {
        if (room >= (2 << level))
            return level;
    }
    return 0;
}

void pdf417init(pdf417param &p)
{
    p.outBits = ModuleGrid();
    p.options = 0;
    p.error = NoError;
    p.text.clear();
    p.yHeight = 3.0f;
    p.aspectRatio = 0.5f;
}

void paintCode(pdf417param &p)
{
    p.outBits = ModuleGrid();
    p.error = NoError;
    if (p.options & UseRawCodewords) {
        if (p.lenCodewords < 1 || p.lenCodewords > kMaxDataCodewords || p.lenCodewords != p.codewords[0]) {
            p.error = InvalidParams;
            return;
        }
        for (int i = 0; i < p.lenCodewords; ++i) {
            if (p.codewords[std::size_t(i)] < 0 || p.codewords[std::size_t(i)] > 928) {
                p.error = InvalidParams;
                return;
            }
        }
    } else {
        if (p.text.size() > kMaxTextBytes) {
            p.error = TextTooBig;
            return;
        }
        const auto *text = reinterpret_cast<const std::uint8_t *>(p.text.constData());
        const int length = int(p.text.size());
        Assembler assembler(p, text);
        if (!assembler.assemble(breakString(text, length)))
            return;
        p.lenCodewords = assembler.written();
        p.codewords[0] = p.lenCodewords;
    }

    const int dataLength = p.lenCodewords;
    if (!(p.options & UseErrorLevel))
        p.errorLevel = dataLength < 41 ? 2 : (dataLength < 161 ? 3 : (dataLength < 321 ? 4 : 5));
    if (p.errorLevel < 0)
        p.errorLevel = 0;
    p.errorLevel = std::min(p.errorLevel, maxPossibleErrorLevel(928 - dataLength));
    p.codeColumns = std::clamp(p.codeColumns, 1, 30);
    p.codeRows = std::clamp(p.codeRows, 3, 90);

    int total = dataLength + (2 << p.errorLevel);
    bool recompute = true;
    bool byColumns = true;
    if (p.options & FixedRectangle) {
        if (p.codeRows * p.codeColumns > 928)
            getMaxSquare(p);
        if (p.codeRows * p.codeColumns < total) {
            byColumns = !(p.options & FixedRows);
        } else {
            recompute = false;
        }
    } else if (!(p.options & (FixedColumns | FixedRows))) {
        const double ratio = std::clamp(double(p.aspectRatio), 0.001, 1000.0);
        const double b = 73.0 * ratio - 4.0;
        const double c = std::floor(0.5 + (-b + std::sqrt(b * b + 68.0 * ratio * total * double(p.yHeight))) / (34.0 * ratio));
        p.codeColumns = int(std::clamp(c, 1.0, 30.0));
    } else {
        byColumns = (p.options & FixedColumns) != 0;
    }
    if (recompute) {
        if (byColumns) {
            p.codeRows = std::max(3, (total - 1) / p.codeColumns + 1);
            if (p.codeRows > 90) {
                p.codeRows = 90;
                p.codeColumns = (total - 1) / 90 + 1;
            }
        } else {
            p.codeColumns = (total - 1) / p.codeRows + 1;
            if (p.codeColumns > 30) {
                p.codeColumns = 30;
                p.codeRows = std::max(3, (total - 1) / 30 + 1);
            }
        }
    }
    if (p.codeRows * p.codeColumns > 928)
        getMaxSquare(p);
    total = p.codeRows * p.codeColumns;

    // The error correction grows to fill the rectangle.
    p.errorLevel = maxPossibleErrorLevel(total - dataLength);
    const int ecCount = 2 << p.errorLevel;
    const int dataCount = total - ecCount;
    for (int i = dataLength; i < dataCount; ++i)
        p.codewords[std::size_t(i)] = kTextLatch; // pad
    p.codewords[0] = dataCount;
    calculateErrorCorrection(p, dataCount);
    p.lenCodewords = total;
    outPaintCode(p);
}

} // namespace PDF417
