#include "barcode/linear/NKDCodabarBarcode.h"

namespace {

struct CodabarCharacter
{
    char character;
    const char *pattern;  // modules, followed by the inter-character gap
};

constexpr CodabarCharacter kTable[] = {
    {'0', "1010100110"},  {'1', "1010110010"},  {'2', "1010010110"},  {'3', "1100101010"},  {'4', "1011010010"},
    {'5', "1101010010"},  {'6', "1001010110"},  {'7', "1001011010"},  {'8', "1001101010"},  {'9', "1101001010"},
    {'-', "1010011010"},  {'$', "1011001010"},  {':', "11010110110"}, {'/', "11011010110"}, {'.', "11011011010"},
    {'+', "10110110110"}, {'A', "10110010010"}, {'B', "10010010110"}, {'C', "10100100110"}, {'D', "10100110010"},
};

bool isStartStop(QChar c)
{
    return c == QLatin1Char('A') || c == QLatin1Char('B') || c == QLatin1Char('C') || c == QLatin1Char('D');
}

QByteArray patternOf(char c)
{
    for (const CodabarCharacter &entry : kTable) {
        if (entry.character == c)
            return QByteArray::fromRawData(entry.pattern, qsizetype(std::char_traits<char>::length(entry.pattern)));
    }
    return {};
}

} // namespace

QByteArray NKDCodabarBarcode::_encodeChar(char c) const
{
    return patternOf(c);
}

bool NKDCodabarBarcode::hasOwnStartStop() const
{
    const QString text = content();
    return text.size() >= 2 && isStartStop(text.front()) && isStartStop(text.back());
}

QByteArray NKDCodabarBarcode::initiator() const
{
    return hasOwnStartStop() ? QByteArray() : patternOf('A');
}

QByteArray NKDCodabarBarcode::terminator() const
{
    return hasOwnStartStop() ? QByteArray() : patternOf('A');
}

bool NKDCodabarBarcode::isContentValid() const
{
    if (!NKDBarcode::isContentValid())
        return false;
    // Start and stop characters frame the data and nothing else: a reader ends the symbol at
    // the first one it meets.
    const QString text = content();
    const qsizetype first = hasOwnStartStop() ? 1 : 0;
    const qsizetype last = hasOwnStartStop() ? text.size() - 1 : text.size();
    if (hasOwnStartStop() && text.size() == 2)
        return false;
    for (qsizetype i = first; i < last; ++i) {
        if (isStartStop(text.at(i)))
            return false;
    }
    return true;
}
