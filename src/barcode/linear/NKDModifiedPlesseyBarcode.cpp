#include "barcode/linear/NKDModifiedPlesseyBarcode.h"

bool NKDModifiedPlesseyBarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    generateChecksum();
    calculateWidth();
    return true;
}

QByteArray NKDModifiedPlesseyBarcode::bitsPattern(int value)
{
    QByteArray bars;
    bars.reserve(12);
    for (int bit = 3; bit >= 0; --bit)
        bars += (value >> bit) & 1 ? "110" : "100";
    return bars;
}

QByteArray NKDModifiedPlesseyBarcode::_encodeChar(char c) const
{
    if (c < '0' || c > '9')
        return {};
    return bitsPattern(c - '0');
}

char NKDModifiedPlesseyBarcode::modulo10CheckDigit(const QByteArray &digits)
{
    // Odd positions from the right are doubled (their digit sums added), even ones added as
    // they are: the same as doubling the number they form and summing its digits.
    int sum = 0;
    bool doubled = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const char c = digits.at(i);
        if (c < '0' || c > '9')
            return 0;
        const int d = c - '0';
        sum += doubled ? (2 * d >= 10 ? 2 * d - 9 : 2 * d) : d;
        doubled = !doubled;
    }
    return char('0' + (10 - sum % 10) % 10);
}

void NKDModifiedPlesseyBarcode::generateChecksum()
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    const char check = ok && !digits.isEmpty() ? modulo10CheckDigit(digits) : 0;
    m_checkDigit = check ? qint8(check) : qint8(-1);
}
