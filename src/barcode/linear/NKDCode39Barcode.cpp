#include "barcode/linear/NKDCode39Barcode.h"

#include <array>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
constexpr int kCharacters = 44;

// Nine elements per character, bar first; '1' marks a wide element.
constexpr const char *kWide[kCharacters] = {
    "000110100", "100100001", "001100001", "101100000", "000110001", "100110000", "001110000", "000100101",
    "100100100", "001100100", "100001001", "001001001", "101001000", "000011001", "100011000", "001011000",
    "000001101", "100001100", "001001100", "000011100", "100000011", "001000011", "101000010", "000010011",
    "100010010", "001010010", "000000111", "100000110", "001000110", "000010110", "110000001", "011000001",
    "111000000", "010010001", "110010000", "011010000", "010000101", "110000100", "011000100", "010101000",
    "010100010", "010001010", "000101010", "010010100"};

constexpr int kModules = 13;
using Pattern = std::array<char, kModules>;

constexpr std::array<Pattern, kCharacters> buildPatterns()
{
    std::array<Pattern, kCharacters> patterns{};
    for (int c = 0; c < kCharacters; ++c) {
        int m = 0;
        for (int e = 0; e < 9; ++e) {
            const char module = e % 2 == 0 ? '1' : '0';
            const int width = kWide[c][e] == '1' ? 2 : 1;
            for (int k = 0; k < width; ++k)
                patterns[c][m++] = module;
        }
        patterns[c][m++] = '0';  // gap between characters
    }
    return patterns;
}

constexpr std::array<Pattern, kCharacters> kPatterns = buildPatterns();

int indexOf(char c)
{
    if (c == '\0')
        return -1;
    const char *found = std::strchr(kAlphabet, c);
    return found ? int(found - kAlphabet) : -1;
}

} // namespace

bool NKDCode39Barcode::initWithContent(const QString &content, bool printsCaption)
{
    return NKDBarcode::initWithContent(content.isNull() ? content : content.toUpper(), printsCaption);
}

QByteArray NKDCode39Barcode::patternOf(char c)
{
    const int index = indexOf(c);
    if (index < 0)
        return {};
    return QByteArray::fromRawData(kPatterns[index].data(), kModules);
}

QByteArray NKDCode39Barcode::_encodeChar(char c) const
{
    return patternOf(c);
}

QByteArray NKDCode39Barcode::initiator() const
{
    return patternOf('*');
}

bool NKDCode39Barcode::isContentValid() const
{
    return !content().contains(QLatin1Char('*')) && NKDBarcode::isContentValid();
}

void NKDCode39Barcode::generateChecksum()
{
    bool ok = false;
    const QByteArray text = contentBytes(&ok);
    int sum = 0;
    for (const char c : text) {
        const int index = indexOf(c);
        if (!ok || index < 0 || index >= 43)
            return;
        sum += index;
    }
    m_checkDigit = qint8(kAlphabet[sum % 43]);
}
