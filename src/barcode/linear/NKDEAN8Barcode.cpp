#include "barcode/linear/NKDEAN8Barcode.h"

bool NKDEAN8Barcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    splitTypedCheckDigit(7);
    calculateWidth();
    return true;
}

void NKDEAN8Barcode::generateChecksum()
{
    computeCheckDigitForLength(7);
}

bool NKDEAN8Barcode::isContentValid() const
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    return ok && digits.size() == 7 && isAllDigits(digits) && m_checkDigit == checkDigitOf(digits);
}

QByteArray NKDEAN8Barcode::barcode() const
{
    if (!isContentValid())
        return {};
    const QByteArray digits = contentBytes();
    QByteArray bars;
    bars.reserve(61);
    for (int i = 0; i < 4; ++i)
        bars.append(leftOddPattern(digits.at(i) - '0'), 7);
    bars.append("01010", 5);
    for (int i = 4; i < 7; ++i)
        bars.append(rightPattern(digits.at(i) - '0'), 7);
    bars.append(rightPattern(m_checkDigit - '0'), 7);
    return bars;
}

QString NKDEAN8Barcode::caption() const
{
    const QString text = content();
    return QStringLiteral(" ") + text.left(4) + QLatin1Char('\t') + text.mid(4, 3) + checkDigitText();
}
