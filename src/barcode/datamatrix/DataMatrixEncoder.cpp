#include "barcode/datamatrix/DataMatrixEncoder.h"

#include "barcode/ReedSolomon.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace {

// Encodations, in the order of the cost tables and of ties.
enum Encodation { A = 0, C = 1, T = 2, X = 3, E = 4, B = 5, Count = 6 };
constexpr char encchr[] = "ACTXEB";

constexpr int switchcost[Count][Count] = {
    {0, 1, 1, 1, 1, 2},
    {1, 0, 2, 2, 2, 3},
    {1, 2, 0, 2, 2, 3},
    {1, 2, 2, 0, 2, 3},
    {1, 2, 2, 2, 0, 3},
    {0, 1, 1, 1, 1, 0},
};

constexpr int kPad = 129;
constexpr int kUnlatch = 254;
constexpr int kEdifactUnlatch = 0x7C; // the 6-bit unlatch and two zero bits
constexpr int kLatchC40 = 230;
constexpr int kLatchBase256 = 231;
constexpr int kUpperShift = 235;
constexpr int kLatchX12 = 238;
constexpr int kLatchText = 239;
constexpr int kLatchEdifact = 240;

void complain(const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stderr);
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

bool isX12(int c)
{
    return c == 13 || c == '*' || c == '>' || c == ' ' || isDigit(c) || (c >= 'A' && c <= 'Z');
}

bool isEdifact(int c)
{
    return c >= 32 && c <= 94;
}

// Values of one byte in C40 (`text` false) or Text (`text` true), appended to `out`.
void c40Values(int c, bool text, int *out, int &n)
{
    if (c >= 128) {
        out[n++] = 1;  // shift 2
        out[n++] = 30; // upper shift
        c &= 0x7F;
    }
    const bool basicLetter = text ? (c >= 'a' && c <= 'z') : (c >= 'A' && c <= 'Z');
    const bool otherLetter = text ? (c >= 'A' && c <= 'Z') : (c >= 'a' && c <= 'z');
    if (c == ' ') {
        out[n++] = 3;
    } else if (isDigit(c)) {
        out[n++] = c - '0' + 4;
    } else if (basicLetter) {
        out[n++] = (c | 0x20) - 'a' + 14;
    } else if (c < 32) {
        out[n++] = 0; // shift 1
        out[n++] = c;
    } else if (c <= '/') {
        out[n++] = 1;
        out[n++] = c - '!';
    } else if (c >= ':' && c <= '@') {
        out[n++] = 1;
        out[n++] = c - ':' + 15;
    } else if (c >= '[' && c <= '_') {
        out[n++] = 1;
        out[n++] = c - '[' + 22;
    } else {
        out[n++] = 2; // shift 3
        if (c == '`')
            out[n++] = 0;
        else if (otherLetter)
            out[n++] = (c | 0x20) - 'a' + 1;
        else
            out[n++] = c - '{' + 27; // { | } ~ DEL
    }
}

int x12Value(int c)
{
    if (c == 13)
        return 0;
    if (c == '*')
        return 1;
    if (c == '>')
        return 2;
    if (c == ' ')
        return 3;
    if (isDigit(c))
        return c - '0' + 4;
    return c - 'A' + 14;
}

int asciiCost(const std::uint8_t *s, int length, int p, int *consumed)
{
    if (p + 1 < length && isDigit(s[p]) && isDigit(s[p + 1])) {
        *consumed = 2;
        return 1;
    }
    *consumed = 1;
    return s[p] >= 128 ? 2 : 1;
}

} // namespace

const std::vector<DataMatrixEncoder::SizeRecord> &DataMatrixEncoder::ecc200matrix()
{
    static const std::vector<SizeRecord> table = {
        {10, 10, 10, 10, 3, 3, 5},         {12, 12, 12, 12, 5, 5, 7},         {8, 18, 8, 18, 5, 5, 7},
        {14, 14, 14, 14, 8, 8, 10},        {8, 32, 8, 16, 10, 10, 11},        {16, 16, 16, 16, 12, 12, 12},
        {12, 26, 12, 26, 16, 16, 14},      {18, 18, 18, 18, 18, 18, 14},      {20, 20, 20, 20, 22, 22, 18},
        {12, 36, 12, 18, 22, 22, 18},      {22, 22, 22, 22, 30, 30, 20},      {16, 36, 16, 18, 32, 32, 24},
        {24, 24, 24, 24, 36, 36, 24},      {26, 26, 26, 26, 44, 44, 28},      {16, 48, 16, 24, 49, 49, 28},
        {32, 32, 16, 16, 62, 62, 36},      {36, 36, 18, 18, 86, 86, 42},      {40, 40, 20, 20, 114, 114, 48},
        {44, 44, 22, 22, 144, 144, 56},    {48, 48, 24, 24, 174, 174, 68},    {52, 52, 26, 26, 204, 102, 42},
        {64, 64, 16, 16, 280, 140, 56},    {72, 72, 18, 18, 368, 92, 36},     {80, 80, 20, 20, 456, 114, 48},
        {88, 88, 22, 22, 576, 144, 56},    {96, 96, 24, 24, 696, 174, 68},    {104, 104, 26, 26, 816, 136, 56},
        {120, 120, 20, 20, 1050, 175, 68}, {132, 132, 22, 22, 1304, 163, 62}, {144, 144, 24, 24, 1558, 156, 62},
    };
    return table;
}

namespace {

// What the bytes from one position allow, whichever way the symbol ends: the ASCII codewords and
// bytes of one step, where the first whole C40 and Text groups end (or the data, when it ends
// first) with their values, whether an X12 group starts here, and how many EDIFACT bytes follow
// (up to one group of four).
struct Reach {
    int asciiCost;
    int asciiTaken;
    int c40End[2];    // C40, Text
    int c40Values[2]; // C40, Text
    bool x12;
    int edifactRun;
};

std::vector<Reach> reachOf(const std::uint8_t *s, int length)
{
    std::vector<Reach> reach(std::size_t(length) + 1, Reach{});
    for (int p = 0; p < length; ++p) {
        Reach &r = reach[std::size_t(p)];
        r.asciiCost = asciiCost(s, length, p, &r.asciiTaken);
        for (int i = 0; i < 2; ++i) {
            int values = 0;
            int q = p;
            while (q < length) {
                int buffer[6];
                int count = 0;
                c40Values(s[q], i == 1, buffer, count);
                values += count;
                ++q;
                if (values % 3 == 0)
                    break;
            }
            r.c40End[i] = q;
            r.c40Values[i] = values;
        }
        r.x12 = p + 3 <= length && isX12(s[p]) && isX12(s[p + 1]) && isX12(s[p + 2]);
        int k = 0;
        while (k < 4 && p + k < length && isEdifact(s[p + k]))
            ++k;
        r.edifactRun = k;
    }
    return reach;
}

// The cost tables under one end rule: t[p][e] the codewords from p to the end when already in e
// (0: impossible), n[p][e] the bytes e takes from p. `Exact` costs the end of the data as if the
// symbol ended there.
struct CostTables {
    std::vector<std::array<int, Count>> t;
    std::vector<std::array<int, Count>> n;
};

template <bool Exact>
CostTables costTables(const std::vector<Reach> &reach, int length)
{
    CostTables tables{std::vector<std::array<int, Count>>(std::size_t(length) + 1, std::array<int, Count>{}),
                      std::vector<std::array<int, Count>>(std::size_t(length) + 1, std::array<int, Count>{})};
    auto &t = tables.t;
    auto &n = tables.n;

    struct Best {
        int cost;
        int encodation; // -1: nothing follows
    };
    auto best = [&](int q, int from, bool allowEdifact = true) -> Best {
        if (q >= length)
            return {0, -1};
        Best b{0, -1};
        for (int f = 0; f < Count; ++f) {
            if (t[q][f] == 0 || (!allowEdifact && f == E))
                continue;
            const int c = t[q][f] + switchcost[from][f];
            if (b.encodation < 0 || c < b.cost)
                b = {c, f};
        }
        return b;
    };
    auto chain = [&](int p, int e, int taken, const Best &next) {
        n[p][e] = taken + (next.encodation == e ? n[p + taken][e] : 0);
    };
    // With the exact end rule, one last ASCII codeword may follow C40, Text or X12 directly.
    auto exactAscii = [&](int q, Best b) -> Best {
        if (Exact && q < length && t[q][A] == 1 && b.cost > 1)
            return {1, A};
        return b;
    };

    for (int p = length - 1; p >= 0; --p) {
        const Reach &r = reach[std::size_t(p)];
        // ASCII.
        {
            const Best next = best(p + r.asciiTaken, A);
            t[p][A] = r.asciiCost + next.cost;
            chain(p, A, r.asciiTaken, next);
        }
        // C40 and Text: whole groups of three values.
        for (int e : {int(C), int(T)}) {
            const int values = r.c40Values[e == T];
            const int q = r.c40End[e == T];
            int groups = values / 3;
            if (Exact && q == length && values % 3 == 2)
                ++groups;
            else if (values % 3 != 0)
                groups = -1;
            if (groups < 0) {
                t[p][e] = 0;
                continue;
            }
            const Best next = exactAscii(q, best(q, e));
            t[p][e] = 2 * groups + next.cost;
            chain(p, e, q - p, next);
        }
        // X12: three X12 bytes per group.
        if (r.x12) {
            const Best next = exactAscii(p + 3, best(p + 3, X));
            t[p][X] = 2 + next.cost;
            chain(p, X, 3, next);
        } else {
            t[p][X] = 0;
        }
        // EDIFACT: groups of one to four bytes; a short group unlatches back to ASCII.
        if (r.edifactRun > 0) {
            int bestCost = 0;
            int bestTaken = 0;
            Best bestNext{0, -1};
            for (int k = 1; k <= r.edifactRun; ++k) {
                const int q = p + k;
                int c;
                Best next{0, -1};
                if (q == length) {
                    c = k == 1 ? 2 : 3;
                } else if (k < 4) {
                    next = best(q, A, false);
                    if (next.encodation < 0)
                        continue;
                    c = (k == 1 ? 2 : 3) + next.cost;
                } else {
                    next = best(q, E);
                    if (Exact && t[q][A] > 0 && t[q][A] <= 2 && t[q][A] + switchcost[E][A] < next.cost)
                        next = {t[q][A], A};
                    c = 3 + next.cost;
                }
                if (bestTaken == 0 || c < bestCost) {
                    bestCost = c;
                    bestTaken = k;
                    bestNext = next;
                }
            }
            if (bestTaken > 0) {
                t[p][E] = bestCost;
                chain(p, E, bestTaken, bestNext);
            } else {
                t[p][E] = 0;
            }
        } else {
            t[p][E] = 0;
        }
        // Base256.
        {
            const Best next = best(p + 1, B);
            t[p][B] = 1 + next.cost + (next.encodation == B && t[p + 1][B] == 249 ? 1 : 0);
            chain(p, B, 1, next);
        }
    }
    return tables;
}

// The cheapest path through `tables` from the start in ASCII, one letter per byte, and its cost.
QByteArray lettersOf(const CostTables &tables, int length, int *cost)
{
    const auto &t = tables.t;
    const auto &n = tables.n;
    if (cost)
        *cost = 0;
    QByteArray letters(length, 'A');
    int current = A;
    int p = 0;
    bool firstStep = true;
    while (p < length) {
        int chosen = -1;
        int chosenCost = 0;
        for (int e = 0; e < Count; ++e) {
            if (t[p][e] == 0)
                continue;
            const int c = t[p][e] + switchcost[current][e];
            if (chosen < 0 || c < chosenCost || (c == chosenCost && e == current && chosen != current)) {
                chosen = e;
                chosenCost = c;
            }
        }
        if (firstStep && cost)
            *cost = chosenCost;
        firstStep = false;
        const int taken = std::max(1, n[p][chosen]);
        for (int i = 0; i < taken && p < length; ++i)
            letters[p++] = encchr[chosen];
        current = chosen;
    }
    return letters;
}

// The cheapest mixes of one data under both end rules. The exact one is worked out at once; the
// other, needed only when no size holds the exact cost, reuses the look at the bytes.
class Mixes
{
public:
    explicit Mixes(const QByteArray &data)
        : m_length(int(data.size()))
        , m_valid(m_length <= DataMatrixEncoder::kMaxInput)
    {
        if (!m_valid)
            return;
        m_reach = reachOf(reinterpret_cast<const std::uint8_t *>(data.constData()), m_length);
    }

    std::optional<QByteArray> exact(int *cost) const
    {
        if (!m_valid)
            return std::nullopt;
        return lettersOf(costTables<true>(m_reach, m_length), m_length, cost);
    }

    std::optional<QByteArray> loose(int *cost) const
    {
        if (!m_valid)
            return std::nullopt;
        return lettersOf(costTables<false>(m_reach, m_length), m_length, cost);
    }

private:
    int m_length;
    bool m_valid;
    std::vector<Reach> m_reach;
};

} // namespace

std::optional<QByteArray> DataMatrixEncoder::encmake(const QByteArray &data, int *cost, bool exact)
{
    const Mixes mixes(data);
    return exact ? mixes.exact(cost) : mixes.loose(cost);
}

bool DataMatrixEncoder::ecc200encode(std::vector<std::uint8_t> &target, int capacity, const QByteArray &data,
                                     const QByteArray &encoding, int *lenp)
{
    return encodeCodewords(target, capacity, data, encoding, lenp) == Fits;
}

DataMatrixEncoder::EncodeResult DataMatrixEncoder::encodeCodewords(std::vector<std::uint8_t> &target, int capacity,
                                                                   const QByteArray &data, const QByteArray &encoding,
                                                                   int *lenp)
{
    const int length = int(data.size());
    const auto *s = reinterpret_cast<const std::uint8_t *>(data.constData());
    if (encoding.size() < length) {
        complain(QStringLiteral("Encoding string too short\n"));
        return Unencodable;
    }
    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(capacity) + 8);
    int state = A;
    int sp = 0;
    auto put = [&](int value) { out.push_back(std::uint8_t(value)); };
    auto remaining = [&]() { return capacity - int(out.size()); };
    auto tooLong = [&]() { return int(out.size()) > capacity; };

    // Back to ASCII from any other state, as the next codeword requires.
    auto unlatch = [&]() {
        if (state == C || state == T || state == X)
            put(kUnlatch);
        else if (state == E && remaining() > 2) // with two codewords or fewer left a reader is in ASCII already
            put(kEdifactUnlatch);
        state = A;
    };
    auto asciiEncode = [&](int &pos) {
        if (pos + 1 < length && isDigit(s[pos]) && isDigit(s[pos + 1])) {
            put(130 + (s[pos] - '0') * 10 + (s[pos + 1] - '0'));
            pos += 2;
        } else if (s[pos] >= 128) {
            put(kUpperShift);
            put(s[pos] - 127);
            ++pos;
        } else {
            put(s[pos] + 1);
            ++pos;
        }
    };

    while (sp < length) {
        if (tooLong())
            return TooLong;
        const char letter = char(encoding[sp] | 0x20);
        int next;
        switch (letter) {
        case 'a': next = A; break;
        case 'c': next = C; break;
        case 't': next = T; break;
        case 'x': next = X; break;
        case 'e': next = E; break;
        case 'b': next = B; break;
        default:
            complain(QString::asprintf("Unknown encoding %c\n", letter));
            return Unencodable;
        }
        // With one codeword left a reader takes it as ASCII whatever the state; with EDIFACT the
        // same holds for two.
        if (((state == C || state == T || state == X) && remaining() < 2) || (state == E && remaining() <= 2))
            state = A;

        if (next == E && !isEdifact(s[sp])) {
            complain(QString::asprintf("Cannot encode 0x%02X in EDIFACT\n", s[sp]));
            return Unencodable;
        }
        // A latch to EDIFACT followed by two codewords or fewer would be read as ASCII.
        if (next == E && state != E && remaining() <= 3)
            next = A;

        if (next == A) {
            if (state != A)
                unlatch();
            asciiEncode(sp);
            continue;
        }

        if (next == B) {
            if (state != A)
                unlatch();
            int count = 0;
            while (sp + count < length && (encoding[sp + count] | 0x20) == 'b')
                ++count;
            if (count > capacity)
                return TooLong;
            put(kLatchBase256);
            const int first = int(out.size());
            if (count < 250) {
                put(count);
            } else {
                put(count / 250 + 249);
                put(count % 250);
            }
            for (int i = 0; i < count; ++i)
                put(s[sp + i]);
            for (int i = first; i < int(out.size()); ++i) {
                const int position = i + 1;
                out[std::size_t(i)] = std::uint8_t((out[std::size_t(i)] + ((149 * position) % 255) + 1) % 256);
            }
            sp += count;
            state = A;
            continue;
        }

        if (next == E) {
            if (state != E) {
                if (state != A)
                    unlatch();
                put(kLatchEdifact);
                state = E;
            }
            int values[4];
            int k = 0;
            while (k < 4 && sp < length && (encoding[sp] | 0x20) == 'e') {
                if (!isEdifact(s[sp])) {
                    complain(QString::asprintf("Cannot encode 0x%02X in EDIFACT\n", s[sp]));
                    return Unencodable;
                }
                values[k++] = s[sp++] & 0x3F;
            }
            int count = k;
            if (k < 4) {
                values[count++] = 31;
                state = A;
            }
            std::uint32_t bits = 0;
            for (int i = 0; i < 4; ++i)
                bits = (bits << 6) | std::uint32_t(i < count ? values[i] : 0);
            put(int(bits >> 16) & 0xFF);
            put(int(bits >> 8) & 0xFF);
            if (count > 2)
                put(int(bits) & 0xFF);
            continue;
        }

        // C40, Text, X12.
        if (state != next) {
            if (state != A)
                unlatch();
            put(next == C ? kLatchC40 : (next == T ? kLatchText : kLatchX12));
            state = next;
        }
        int pending[8];
        int pendingCount = 0;
        int cleanOut = int(out.size()); // output and input at the last point with nothing pending
        int cleanIn = sp;
        auto flushGroup = [&] {
            const int value = 1600 * pending[0] + 40 * pending[1] + pending[2] + 1;
            put(value >> 8);
            put(value & 0xFF);
            pendingCount -= 3;
            std::copy(pending + 3, pending + 3 + pendingCount, pending);
        };
        do {
            if (next == X) {
                if (!isX12(s[sp])) {
                    complain(QString::asprintf("Cannot encode char 0x%02X in X12\n", s[sp]));
                    return Unencodable;
                }
                pending[pendingCount++] = x12Value(s[sp]);
            } else {
                int values[6];
                int count = 0;
                c40Values(s[sp], next == T, values, count);
                std::copy(values, values + count, pending + pendingCount);
                pendingCount += count;
            }
            ++sp;
            while (pendingCount >= 3)
                flushGroup();
            if (pendingCount == 0) {
                cleanOut = int(out.size());
                cleanIn = sp;
            }
            if (tooLong())
                return TooLong;
        } while (pendingCount > 0 && sp < length);

        if (pendingCount > 0) {
            // The data ended inside a group.
            if (next != X && pendingCount == 2) {
                pending[pendingCount++] = 0; // shift 1 completes the group and means nothing
                flushGroup();
            } else {
                // Take back the unfinished characters and write them in ASCII.
                out.resize(std::size_t(cleanOut));
                sp = cleanIn;
                int asciiCount = 0;
                for (int q = sp; q < length;) {
                    int consumed = 1;
                    asciiCount += asciiCost(s, length, q, &consumed);
                    q += consumed;
                }
                if (!(asciiCount == 1 && remaining() == 1))
                    put(kUnlatch);
                state = A;
                while (sp < length)
                    asciiEncode(sp);
            }
        }
    }

    if (tooLong())
        return TooLong;
    if (lenp)
        *lenp = int(out.size());
    if (remaining() > 0 && state != A) {
        if (state == E) {
            if (remaining() > 2)
                put(kEdifactUnlatch);
        } else {
            put(kUnlatch);
        }
    }
    if (remaining() > 0)
        put(kPad);
    while (remaining() > 0) {
        const int position = int(out.size()) + 1;
        int value = kPad + ((149 * position) % 253) + 1;
        if (value > 254)
            value -= 254;
        put(value);
    }
    target = std::move(out);
    return Fits;
}

namespace {

// The encoders of the error correction block lengths of the sizes, made once and shared by all
// threads; other lengths get one of their own.
const ReedSolomonEncoder &encoderFor(int rsblock)
{
    constexpr int kLongest = 68;
    static const std::array<std::unique_ptr<const ReedSolomonEncoder>, kLongest + 1> encoders = [] {
        std::array<std::unique_ptr<const ReedSolomonEncoder>, kLongest + 1> made;
        for (const DataMatrixEncoder::SizeRecord &size : DataMatrixEncoder::ecc200matrix())
            if (size.rsblock <= kLongest && !made[std::size_t(size.rsblock)])
                made[std::size_t(size.rsblock)] = std::make_unique<const ReedSolomonEncoder>(
                    GaloisField256::dataMatrix(), size.rsblock, 1, ReedSolomonEncoder::ProductTable);
        return made;
    }();
    if (rsblock >= 0 && rsblock <= kLongest && encoders[std::size_t(rsblock)])
        return *encoders[std::size_t(rsblock)];
    thread_local std::unique_ptr<const ReedSolomonEncoder> other;
    if (!other || other->ecCount() != rsblock)
        other = std::make_unique<const ReedSolomonEncoder>(GaloisField256::dataMatrix(), rsblock, 1);
    return *other;
}

} // namespace

void DataMatrixEncoder::ecc200(std::uint8_t *binary, int bytes, int datablock, int rsblock)
{
    const int blocks = (bytes + 2) / datablock;
    // Codewords are dealt to the blocks in turn, data and error correction alike: where the data
    // does not share out evenly (144 x 144), the error correction continues the rotation.
    const int firstBlockAfterData = bytes % blocks;
    const ReedSolomonEncoder &rs = encoderFor(rsblock);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(datablock) + 1);
    std::vector<std::uint8_t> ec(static_cast<std::size_t>(rsblock));
    for (int b = 0; b < blocks; ++b) {
        int n = 0;
        for (int i = b; i < bytes; i += blocks)
            block[std::size_t(n++)] = binary[i];
        rs.encode(block.data(), n, ec.data());
        const int first = bytes + (b - firstBlockAfterData + blocks) % blocks;
        for (int k = 0; k < rsblock; ++k)
            binary[first + k * blocks] = ec[std::size_t(k)];
    }
}

void DataMatrixEncoder::ecc200placement(std::vector<int> &array, int nrow, int ncol)
{
    array.assign(std::size_t(nrow) * std::size_t(ncol), 0);
    auto module = [&](int row, int col, int chr, int bit) {
        if (row < 0) {
            row += nrow;
            col += 4 - ((nrow + 4) % 8);
        }
        if (col < 0) {
            col += ncol;
            row += 4 - ((ncol + 4) % 8);
        }
        array[std::size_t(row) * ncol + col] = (chr << 3) | bit;
    };
    // The eight modules of one codeword around (row, col), its least significant bit.
    auto utah = [&](int row, int col, int chr) {
        module(row - 2, col - 2, chr, 0);
        module(row - 2, col - 1, chr, 1);
        module(row - 1, col - 2, chr, 2);
        module(row - 1, col - 1, chr, 3);
        module(row - 1, col, chr, 4);
        module(row, col - 2, chr, 5);
        module(row, col - 1, chr, 6);
        module(row, col, chr, 7);
    };
    auto cornerA = [&](int chr) {
        module(nrow - 1, 0, chr, 0);
        module(nrow - 1, 1, chr, 1);
        module(nrow - 1, 2, chr, 2);
        module(0, ncol - 2, chr, 3);
        module(0, ncol - 1, chr, 4);
        module(1, ncol - 1, chr, 5);
        module(2, ncol - 1, chr, 6);
        module(3, ncol - 1, chr, 7);
    };
    auto cornerB = [&](int chr) {
        module(nrow - 3, 0, chr, 0);
        module(nrow - 2, 0, chr, 1);
        module(nrow - 1, 0, chr, 2);
        module(0, ncol - 4, chr, 3);
        module(0, ncol - 3, chr, 4);
        module(0, ncol - 2, chr, 5);
        module(0, ncol - 1, chr, 6);
        module(1, ncol - 1, chr, 7);
    };
    auto cornerC = [&](int chr) {
        module(nrow - 3, 0, chr, 0);
        module(nrow - 2, 0, chr, 1);
        module(nrow - 1, 0, chr, 2);
        module(0, ncol - 2, chr, 3);
        module(0, ncol - 1, chr, 4);
        module(1, ncol - 1, chr, 5);
        module(2, ncol - 1, chr, 6);
        module(3, ncol - 1, chr, 7);
    };
    auto cornerD = [&](int chr) {
        module(nrow - 1, 0, chr, 0);
        module(nrow - 1, ncol - 1, chr, 1);
        module(0, ncol - 3, chr, 2);
        module(0, ncol - 2, chr, 3);
        module(0, ncol - 1, chr, 4);
        module(1, ncol - 3, chr, 5);
        module(1, ncol - 2, chr, 6);
        module(1, ncol - 1, chr, 7);
    };
    auto empty = [&](int row, int col) { return array[std::size_t(row) * ncol + col] == 0; };

    int chr = 1;
    int row = 4;
    int col = 0;
    do {
        if (row == nrow && col == 0)
            cornerA(chr++);
        if (row == nrow - 2 && col == 0 && ncol % 4)
            cornerB(chr++);
        if (row == nrow - 2 && col == 0 && ncol % 8 == 4)
            cornerC(chr++);
        if (row == nrow + 4 && col == 2 && ncol % 8 == 0)
            cornerD(chr++);
        // Up and to the right...
        do {
            if (row < nrow && col >= 0 && empty(row, col))
                utah(row, col, chr++);
            row -= 2;
            col += 2;
        } while (row >= 0 && col < ncol);
        row += 1;
        col += 3;
        // ...then down and to the left.
        do {
            if (row >= 0 && col < ncol && empty(row, col))
                utah(row, col, chr++);
            row += 2;
            col -= 2;
        } while (row < nrow && col >= 0);
        row += 3;
        col += 1;
    } while (row < nrow || col < ncol);

    if (empty(nrow - 1, ncol - 1)) {
        array[std::size_t(nrow - 1) * ncol + ncol - 1] = kFixedDark;
        array[std::size_t(nrow - 2) * ncol + ncol - 2] = kFixedDark;
        array[std::size_t(nrow - 1) * ncol + ncol - 2] = kFixedLight;
        array[std::size_t(nrow - 2) * ncol + ncol - 1] = kFixedLight;
    }
}

ModuleGrid DataMatrixEncoder::iec16022ecc200(int &W, int &H, std::optional<QByteArray> &encoding,
                                             const QByteArray &data, int *lenp, int *maxp, int *eccp)
{
    try {
        const std::vector<SizeRecord> &sizes = ecc200matrix();
        const int length = int(data.size());
        int index = -1;
        std::vector<std::uint8_t> binary;
        int used = 0;

        auto tryEncode = [&](int i, const QByteArray &letters) {
            return encodeCodewords(binary, sizes[std::size_t(i)].bytes, data, letters, &used);
        };

        if (W != 0) {
            for (int i = 0; i < int(sizes.size()); ++i) {
                if (sizes[std::size_t(i)].W == W && sizes[std::size_t(i)].H == H) {
                    index = i;
                    break;
                }
            }
            if (index < 0) {
                complain(QString::asprintf("Invalid size %dx%d\n", W, H));
                return {};
            }
            if (!encoding) {
                const Mixes mixes(data);
                int cost = 0;
                std::optional<QByteArray> letters = mixes.exact(&cost);
                if (letters && cost != sizes[std::size_t(index)].bytes)
                    letters = mixes.loose(&cost);
                if (!letters || cost > sizes[std::size_t(index)].bytes) {
                    complain(QString::asprintf("Cannot make barcode fit %dx%d\n", W, H));
                    return {};
                }
                encoding = letters;
            }
            const EncodeResult result = tryEncode(index, *encoding);
            if (result != Fits) {
                if (result == TooLong)
                    complain(QString::asprintf("Barcode too long for %dx%d\n", W, H));
                return {};
            }
        } else if (encoding) {
            if (encoding->size() < length) {
                complain(QStringLiteral("Encoding string too short\n"));
                return {};
            }
            for (int i = 0; i < int(sizes.size()) && index < 0; ++i) {
                if (sizes[std::size_t(i)].bytes < length / 2)
                    continue; // no encodation packs more than two bytes into a codeword
                const EncodeResult result = tryEncode(i, *encoding);
                if (result == Unencodable)
                    return {};
                if (result == Fits)
                    index = i;
            }
            if (index < 0) {
                complain(QStringLiteral("Cannot find suitable size, barcode too long\n"));
                return {};
            }
        } else {
            const Mixes mixes(data);
            int cost = 0;
            std::optional<QByteArray> letters = mixes.exact(&cost);
            if (letters) {
                for (int i = 0; i < int(sizes.size()) && index < 0; ++i)
                    if (sizes[std::size_t(i)].bytes == cost)
                        index = i;
                if (index < 0) {
                    letters = mixes.loose(&cost);
                    for (int i = 0; i < int(sizes.size()) && index < 0; ++i)
                        if (sizes[std::size_t(i)].bytes >= cost)
                            index = i;
                }
            }
            if (index < 0) {
                complain(QStringLiteral("Cannot find suitable size, barcode too long\n"));
                return {};
            }
            // The cost is an estimate; when the codewords come out longer, the next sizes are tried.
            while (index < int(sizes.size()) && tryEncode(index, *letters) != Fits)
                ++index;
            if (index == int(sizes.size())) {
                complain(QStringLiteral("Cannot find suitable size, barcode too long\n"));
                return {};
            }
            encoding = letters;
        }

        const SizeRecord &size = sizes[std::size_t(index)];
        W = size.W;
        H = size.H;
        const int blocks = size.blocks();
        const int total = size.bytes + blocks * size.rsblock;
        binary.resize(std::size_t(total));
        ecc200(binary.data(), size.bytes, size.datablock, size.rsblock);

        const int mapRows = H - 2 * (H / size.FH);
        const int mapCols = W - 2 * (W / size.FW);
        std::vector<int> places;
        ecc200placement(places, mapRows, mapCols);

        ModuleGrid grid(W, H);
        // Finder and timing border of every region: solid left column and bottom row,
        // alternating top row and right column.
        for (int top = 0; top < H; top += size.FH) {
            for (int x = 0; x < W; ++x) {
                grid.set(x, top + size.FH - 1, true);
                grid.set(x, top, x % 2 == 0);
            }
        }
        for (int left = 0; left < W; left += size.FW) {
            for (int y = 0; y < H; ++y) {
                grid.set(left, y, true);
                grid.set(left + size.FW - 1, y, (H - 1 - y) % 2 == 0);
            }
        }
        for (int y = 0; y < mapRows; ++y) {
            const int gy = y + 1 + 2 * (y / (size.FH - 2));
            for (int x = 0; x < mapCols; ++x) {
                const int gx = x + 1 + 2 * (x / (size.FW - 2));
                const int place = places[std::size_t(y) * mapCols + x];
                bool dark = false;
                if (place == kFixedDark)
                    dark = true;
                else if (place > 0)
                    dark = (binary[std::size_t((place >> 3) - 1)] >> (7 - (place & 7))) & 1;
                grid.set(gx, gy, dark);
            }
        }
        if (lenp)
            *lenp = used;
        if (maxp)
            *maxp = size.bytes;
        if (eccp)
            *eccp = blocks * size.rsblock;
        return grid;
    } catch (const std::exception &e) {
        complain(QStringLiteral("DataMatrix encoding failed: %1\n").arg(QString::fromLocal8Bit(e.what())));
        return {};
    }
}
