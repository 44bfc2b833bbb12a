#include "barcode/linear/NKDAbstractUPCEANBarcode.h"

#include <algorithm>

namespace {

constexpr const char *kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                   "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr const char *kSetB[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                   "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr const char *kSetC[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                   "1001110", "1010000", "1000100", "1001000", "1110100"};

} // namespace

QByteArray swapHandedness(const QByteArray &bars)
{
    QByteArray swapped(bars.size(), '0');
    for (qsizetype i = 0; i < bars.size(); ++i)
        swapped[i] = bars.at(i) == '0' ? '1' : '0';
    return swapped;
}

QByteArray swapParity(const QByteArray &bars)
{
    QByteArray swapped = swapHandedness(bars);
    std::reverse(swapped.begin(), swapped.end());
    return swapped;
}

void NKDAbstractUPCEANBarcode::calculateWidth()
{
    m_width = content().isEmpty() ? 0.0f : float(1.2 * double(completeBarcode().size()) * double(m_barWidth));
}

QByteArray NKDAbstractUPCEANBarcode::_encodeChar(char c) const
{
    if (c < '0' || c > '9')
        return {};
    return QByteArray::fromRawData(kSetA[c - '0'], 7);
}

void NKDAbstractUPCEANBarcode::generateChecksum()
{
    computeCheckDigitForLength(11);
}

char NKDAbstractUPCEANBarcode::checkDigitOf(const QByteArray &digits)
{
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const char c = digits.at(i);
        if (c < '0' || c > '9')
            return 0;
        sum += weight * (c - '0');
        weight = weight == 3 ? 1 : 3;
    }
    return char('0' + (10 - sum % 10) % 10);
}

bool NKDAbstractUPCEANBarcode::isAllDigits(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void NKDAbstractUPCEANBarcode::computeCheckDigitForLength(int length)
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    if (!ok || digits.size() != length)
        return;
    if (const char check = checkDigitOf(digits))
        m_checkDigit = check;
}

const char *NKDAbstractUPCEANBarcode::leftOddPattern(int digit)
{
    return kSetA[digit];
}

const char *NKDAbstractUPCEANBarcode::leftEvenPattern(int digit)
{
    return kSetB[digit];
}

const char *NKDAbstractUPCEANBarcode::rightPattern(int digit)
{
    return kSetC[digit];
}
