#include "barcode/linear/NKDPostnetBarcode.h"

#include <algorithm>

namespace {

constexpr float kTallInches = 0.125f;
constexpr float kShortInches = 0.05f;

// Tall bars (1..5) of each digit.
constexpr const char *kTall[10] = {"11000", "00011", "00101", "00110", "01001",
                                   "01010", "01100", "10001", "10010", "10100"};

} // namespace

bool NKDPostnetBarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (content.isNull())
        return false;
    setContent(content);
    m_barWidth = 1.08f;
    m_printsCaption = printsCaption;
    generateChecksum();
    m_height = 9.0f;
    calculateWidth();
    return true;
}

QByteArray NKDPostnetBarcode::_encodeChar(char) const
{
    return QByteArrayLiteral("100100100100100");
}

bool NKDPostnetBarcode::isTallInPostnet(char digit, int bar)
{
    return digit >= '0' && digit <= '9' && bar >= 1 && bar <= 5 && kTall[digit - '0'][bar - 1] == '1';
}

char NKDPostnetBarcode::digitAt(int digitIndex) const
{
    const QByteArray digits = contentBytes();
    if (digitIndex >= 0 && digitIndex < digits.size())
        return digits.at(digitIndex);
    if (digitIndex == digits.size() && m_checkDigit != -1)
        return char(m_checkDigit);
    return 0;
}

float NKDPostnetBarcode::_heightForDigit(int digitIndex, int bar) const
{
    const char digit = digitAt(digitIndex);
    if (digit < '0' || digit > '9')
        return 0.0f;
    return isTallInPostnet(digit, bar) ? kTallInches : kShortInches;
}

float NKDPostnetBarcode::barTop(int module) const
{
    const int last = int(completeBarcode().size()) - 1;
    if (module <= 0 || module >= last)
        return kTallInches * 72.0f;
    const int digit = (module - 3) / 15;
    const int bar = (module - 15 * digit) / 3;
    return _heightForDigit(digit, bar) * 72.0f;
}

void NKDPostnetBarcode::generateChecksum()
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    m_checkDigit = -1;
    if (!ok || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    int sum = 0;
    for (const char c : digits)
        sum += c - '0';
    m_checkDigit = qint8('0' + (10 - sum % 10) % 10);
}

bool NKDPostnetBarcode::isContentValid() const
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    return ok && isValidLength(digits.size())
           && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}
