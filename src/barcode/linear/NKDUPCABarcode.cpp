#include "barcode/linear/NKDUPCABarcode.h"

bool NKDUPCABarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    const QString typed = NKDBarcode::content();
    if (typed.size() == 12) {
        m_checkDigit = typed.at(11).unicode() < 0x80 ? qint8(typed.at(11).unicode()) : qint8(-1);
        setContent(typed.left(11));
    } else {
        generateChecksum();
    }
    calculateWidth();
    return true;
}

void NKDUPCABarcode::generateChecksum()
{
    computeCheckDigitForLength(11);
}

bool NKDUPCABarcode::isContentValid() const
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    return ok && digits.size() == 11 && isAllDigits(digits) && m_checkDigit == checkDigitOf(digits);
}

QByteArray NKDUPCABarcode::barcode() const
{
    if (!isContentValid())
        return {};
    const QByteArray digits = contentBytes();
    QByteArray bars;
    bars.reserve(89);
    for (int i = 0; i < 6; ++i)
        bars.append(leftOddPattern(digits.at(i) - '0'), 7);
    bars.append("01010", 5);
    for (int i = 6; i < 11; ++i)
        bars.append(rightPattern(digits.at(i) - '0'), 7);
    bars.append(rightPattern(m_checkDigit - '0'), 7);
    return bars;
}

QString NKDUPCABarcode::caption() const
{
    const QString text = content();
    return text.mid(1, 5) + QLatin1Char('\t') + text.mid(6, 5);
}
