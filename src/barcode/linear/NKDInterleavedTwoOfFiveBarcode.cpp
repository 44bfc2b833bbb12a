#include "barcode/linear/NKDInterleavedTwoOfFiveBarcode.h"

#include <algorithm>

namespace {

// N narrow, W wide, for the digits 0..9.
constexpr const char *kElements[10] = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                       "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

} // namespace

bool NKDInterleavedTwoOfFiveBarcode::_getBarForDigit(char digit, int barNumber)
{
    if (digit < '0' || digit > '9' || barNumber < 0 || barNumber > 4)
        return true;
    return kElements[digit - '0'][barNumber] == 'N';
}

QByteArray NKDInterleavedTwoOfFiveBarcode::digitsToDraw() const
{
    bool ok = false;
    QByteArray digits = contentBytes(&ok);
    if (!ok)
        return {};
    if (m_checkDigit != -1)
        digits.append(char(m_checkDigit));
    return digits;
}

QByteArray NKDInterleavedTwoOfFiveBarcode::barcode() const
{
    QByteArray digits = digitsToDraw();
    if (digits.size() % 2 != 0)
        digits.prepend('0');
    QByteArray bars;
    bars.reserve(digits.size() * 9);
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2) {
        for (int k = 0; k < 5; ++k) {
            bars += _getBarForDigit(digits.at(i), k) ? "1" : "111";
            bars += _getBarForDigit(digits.at(i + 1), k) ? "0" : "000";
        }
    }
    return bars;
}

void NKDInterleavedTwoOfFiveBarcode::generateChecksum()
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    if (!ok || digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += weight * (digits.at(i) - '0');
        weight = 4 - weight;
    }
    m_checkDigit = qint8('0' + (10 - sum % 10) % 10);
}

bool NKDInterleavedTwoOfFiveBarcode::isContentValid() const
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    return ok && !digits.isEmpty()
           && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

QString NKDInterleavedTwoOfFiveBarcode::caption() const
{
    const QString digits = QString::fromLatin1(digitsToDraw());
    return digits.size() % 2 != 0 ? QLatin1Char('0') + digits : digits;
}
