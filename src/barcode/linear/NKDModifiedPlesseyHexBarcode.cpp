#include "barcode/linear/NKDModifiedPlesseyHexBarcode.h"

#include <algorithm>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QByteArray NKDModifiedPlesseyHexBarcode::_encodeChar(char c) const
{
    const int value = hexValue(c);
    return value < 0 ? QByteArray() : bitsPattern(value);
}

char NKDModifiedPlesseyHexBarcode::modulo16CheckDigit(const QByteArray &hexDigits)
{
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = hexDigits.size() - 1; i >= 0; --i) {
        const int v = hexValue(hexDigits.at(i));
        if (v < 0)
            return 0;
        sum += doubled ? (2 * v >= 16 ? 2 * v - 15 : 2 * v) : v;
        doubled = !doubled;
    }
    const int check = (16 - sum % 16) % 16;
    return "0123456789ABCDEF"[check];
}

void NKDModifiedPlesseyHexBarcode::generateChecksum()
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    if (!ok || digits.isEmpty()) {
        m_checkDigit = -1;
        return;
    }
    const bool decimal = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    const char check = decimal ? modulo10CheckDigit(digits) : modulo16CheckDigit(digits);
    m_checkDigit = check ? qint8(check) : qint8(-1);
}
