#include "barcode/linear/NKDCode128Barcode.h"

#include <QtDebug>

#include <algorithm>

namespace {

// Bar and space widths of the symbol values 0..106 (106 is the stop, with its final bar).
constexpr const char *kWidths[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213", "221312",
    "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132", "221231", "213212",
    "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211", "212123", "212321", "232121",
    "111323", "131123", "131321", "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",
    "132131", "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131", "311123",
    "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111", "111224", "111422", "121124",
    "121421", "141122", "141221", "112214", "112412", "122114", "122411", "142112", "142211", "241211", "221114",
    "413111", "241112", "134111", "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112",
    "421211", "212141", "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

constexpr int kShift = 98;
constexpr int kCodeB = 100;  // change to set B, as written in set C
constexpr int kStartA = 103;
constexpr int kStop = 106;

struct PatternTable
{
    char modules[107][14] = {};
    int length[107] = {};

    constexpr PatternTable()
    {
        for (int v = 0; v < 107; ++v) {
            int m = 0;
            for (int e = 0; kWidths[v][e] != '\0'; ++e) {
                const char module = e % 2 == 0 ? '1' : '0';
                for (int k = 0; k < kWidths[v][e] - '0'; ++k)
                    modules[v][m++] = module;
            }
            length[v] = m;
        }
    }
};

constexpr PatternTable kPatterns;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool NKDCode128Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    if (m_codeSet == Automatic)
        m_codeSet = _bestCodeSetForContent();
    generateChecksum();
    calculateWidth();
    return true;
}

int NKDCode128Barcode::_bestCodeSetForContent() const
{
    const QString text = content();
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }))
        return SetC;
    int controls = 0;
    int lowerCase = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u < 32 || u >= 127)
            ++controls;
        else if (u >= 'a' && u <= 'z')
            ++lowerCase;
    }
    return controls > lowerCase ? SetA : SetB;
}

int NKDCode128Barcode::_valueForChar(char c, int set)
{
    const int code = uchar(c);
    if (set == SetA) {
        if (code >= 32 && code <= 95)
            return code - 32;
        if (code < 32)
            return code + 64;
    } else if (set == SetB) {
        if (code >= 32 && code <= 127)
            return code - 32;
    }
    return -1;
}

QByteArray NKDCode128Barcode::patternOfValue(int value)
{
    if (value < 0 || value > kStop)
        return {};
    return QByteArray::fromRawData(kPatterns.modules[value], kPatterns.length[value]);
}

QByteArray NKDCode128Barcode::_encodeChar(char c, int set)
{
    return patternOfValue(_valueForChar(c, set));
}

QByteArray NKDCode128Barcode::_encodeNumberPair(const QByteArray &pair)
{
    if (pair.size() != 2 || !isDigit(pair.at(0)) || !isDigit(pair.at(1)))
        return {};
    return patternOfValue((pair.at(0) - '0') * 10 + (pair.at(1) - '0'));
}

QByteArray NKDCode128Barcode::_encodeChar(char c) const
{
    if (m_codeSet == SetC)
        return isDigit(c) ? _encodeChar(c, SetB) : QByteArray();
    if (_canEncodeChar(c, m_codeSet))
        return _encodeChar(c, m_codeSet);
    const int other = m_codeSet == SetA ? SetB : SetA;
    if (!_canEncodeChar(c, other))
        return {};
    return patternOfValue(kShift) + _encodeChar(c, other);
}

std::vector<int> NKDCode128Barcode::dataSymbols(bool *ok) const
{
    bool sevenBit = false;
    const QByteArray text = contentBytes(&sevenBit);
    std::vector<int> symbols;
    if (ok)
        *ok = false;
    if (!sevenBit || text.isEmpty() || m_codeSet < SetA || m_codeSet > SetC)
        return {};
    symbols.reserve(text.size() + 2);
    if (m_codeSet == SetC) {
        if (!std::all_of(text.begin(), text.end(), isDigit))
            return {};
        const qsizetype pairs = text.size() / 2;
        for (qsizetype i = 0; i < pairs; ++i)
            symbols.push_back((text.at(2 * i) - '0') * 10 + (text.at(2 * i + 1) - '0'));
        if (text.size() % 2 != 0) {
            symbols.push_back(kCodeB);
            symbols.push_back(_valueForChar(text.back(), SetB));
        }
    } else {
        const int other = m_codeSet == SetA ? SetB : SetA;
        for (const char c : text) {
            const int value = _valueForChar(c, m_codeSet);
            if (value >= 0) {
                symbols.push_back(value);
                continue;
            }
            const int shifted = _valueForChar(c, other);
            if (shifted < 0)
                return {};
            symbols.push_back(kShift);
            symbols.push_back(shifted);
        }
    }
    if (ok)
        *ok = true;
    return symbols;
}

void NKDCode128Barcode::generateChecksum()
{
    bool ok = false;
    const std::vector<int> symbols = dataSymbols(&ok);
    if (!ok) {
        m_checkDigit = -1;
        return;
    }
    long long sum = kStartA + m_codeSet;
    for (size_t i = 0; i < symbols.size(); ++i)
        sum += (long long)(i + 1) * symbols[i];
    m_checkDigit = qint8(sum % 103);
}

bool NKDCode128Barcode::isContentValid() const
{
    bool ok = false;
    dataSymbols(&ok);
    return ok && m_checkDigit >= 0;
}

QByteArray NKDCode128Barcode::initiator() const
{
    // Until initialisation has chosen the automatic set, the start is that of the set it will choose.
    const int set = m_codeSet == Automatic ? _bestCodeSetForContent() : m_codeSet;
    if (set < SetA || set > SetC) {
        qWarning("Invalid codeSet value: %d", m_codeSet);
        return {};
    }
    return patternOfValue(kStartA + set);
}

QByteArray NKDCode128Barcode::terminator() const
{
    return patternOfValue(kStop);
}

QByteArray NKDCode128Barcode::barcode() const
{
    bool ok = false;
    const std::vector<int> symbols = dataSymbols(&ok);
    if (!ok || m_checkDigit < 0)
        return {};
    QByteArray bars;
    bars.reserve(qsizetype(symbols.size() + 1) * 11);
    for (const int value : symbols)
        bars += patternOfValue(value);
    bars += patternOfValue(m_checkDigit);
    return bars;
}
