#include "barcode/linear/NKDEAN13Barcode.h"

namespace {

// Parity of positions 1..6 by the first digit: L odd, G even.
constexpr const char *kFirstDigitParity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                               "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

} // namespace

bool NKDEAN13Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    splitTypedCheckDigit(12);
    calculateWidth();
    return true;
}

void NKDEAN13Barcode::splitTypedCheckDigit(int length)
{
    const QString typed = content();
    if (typed.size() == length + 1) {
        m_checkDigit = typed.at(length).unicode() < 0x80 ? qint8(typed.at(length).unicode()) : qint8(-1);
        setContent(typed.left(length));
    } else {
        generateChecksum();
    }
}

void NKDEAN13Barcode::generateChecksum()
{
    computeCheckDigitForLength(12);
}

bool NKDEAN13Barcode::isContentValid() const
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    return ok && digits.size() == 12 && isAllDigits(digits) && m_checkDigit == checkDigitOf(digits);
}

bool NKDEAN13Barcode::_parityForSystemDigit(char systemDigit, int position) const
{
    if (systemDigit < '0' || systemDigit > '9' || position < 1 || position > 6)
        return false;
    return kFirstDigitParity[systemDigit - '0'][position - 1] == 'G';
}

QByteArray NKDEAN13Barcode::barcode() const
{
    if (!isContentValid())
        return {};
    const QByteArray digits = contentBytes();
    QByteArray bars;
    bars.reserve(89);
    for (int i = 1; i <= 6; ++i) {
        const int d = digits.at(i) - '0';
        bars.append(_parityForSystemDigit(digits.at(0), i) ? leftEvenPattern(d) : leftOddPattern(d), 7);
    }
    bars.append("01010", 5);
    for (int i = 7; i <= 11; ++i)
        bars.append(rightPattern(digits.at(i) - '0'), 7);
    bars.append(rightPattern(m_checkDigit - '0'), 7);
    return bars;
}

QString NKDEAN13Barcode::caption() const
{
    const QString text = content();
    return QStringLiteral("  ") + text.mid(1, 6) + QLatin1Char('\t') + text.mid(7, 5) + checkDigitText();
}
