#include "barcode/linear/NKDUPCEBarcode.h"

namespace {

// Parity of positions 1..6 by the check digit for number system 0: E even, O odd.
constexpr const char *kParityBySystem0[10] = {"EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO",
                                              "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE"};

} // namespace

bool NKDUPCEBarcode::initWithContent(const QString &content, bool printsCaption)
{
    if (!NKDBarcode::initWithContent(content, printsCaption))
        return false;
    bool ok = false;
    const QByteArray typed = contentBytes(&ok);
    m_checkDigit = -1;
    if (ok && isAllDigits(typed)) {
        if (typed.size() == 8) {
            m_checkDigit = typed.at(7);
            setContent(QString::fromLatin1(typed.left(7)));
        } else if (typed.size() == 7) {
            const QByteArray upca = UPCEToUPCA(typed);
            if (!upca.isEmpty())
                m_checkDigit = checkDigitOf(upca);
        } else if (typed.size() == 11 && (typed.at(0) == '0' || typed.at(0) == '1')) {
            const char check = checkDigitOf(typed);
            const QByteArray body = UPCAToUPCE(typed + check);
            if (!body.isEmpty()) {
                m_checkDigit = check;
                setContent(QString::fromLatin1(typed.left(1) + body));
            }
        }
    }
    calculateWidth();
    return true;
}

QByteArray NKDUPCEBarcode::UPCAToUPCE(const QByteArray &upca)
{
    if (upca.size() < 12 || !isAllDigits(upca.left(12)))
        return {};
    const QByteArray m = upca.mid(1, 5);
    const QByteArray p = upca.mid(6, 5);
    QByteArray body;
    const QByteArray m345 = m.mid(2, 3);
    if ((m345 == "000" || m345 == "100" || m345 == "200") && p.startsWith("00"))
        body = m.left(2) + p.mid(2, 3) + m.at(2);
    else if (m.mid(3, 2) == "00" && p.startsWith("000"))
        body = m.left(3) + p.mid(3, 2) + '3';
    else if (m.at(4) == '0' && p.startsWith("0000"))
        body = m.left(4) + p.mid(4, 1) + '4';
    else if (p.startsWith("0000") && p.at(4) >= '5')
        body = m + p.mid(4, 1);
    // Only a body that expands back to the same number stands for it.
    if (body.isEmpty() || UPCEToUPCA(upca.left(1) + body) != upca.left(11))
        return {};
    return body;
}

QByteArray NKDUPCEBarcode::UPCEToUPCA(const QByteArray &upce)
{
    if (upce.size() != 7 || !isAllDigits(upce))
        return {};
    const QByteArray d = upce.mid(1);
    QByteArray m, p;
    switch (d.at(5)) {
    case '0':
    case '1':
    case '2':
        m = d.left(2) + d.at(5) + "00";
        p = "00" + d.mid(2, 3);
        break;
    case '3':
        m = d.left(3) + "00";
        p = "000" + d.mid(3, 2);
        break;
    case '4':
        m = d.left(4) + "0";
        p = "0000" + d.mid(4, 1);
        break;
    default:
        m = d.left(5);
        p = "0000" + d.mid(5, 1);
        break;
    }
    return upce.left(1) + m + p;
}

bool NKDUPCEBarcode::isContentValid() const
{
    bool ok = false;
    const QByteArray digits = contentBytes(&ok);
    if (!ok || digits.size() != 7 || !isAllDigits(digits) || (digits.at(0) != '0' && digits.at(0) != '1'))
        return false;
    return m_checkDigit == checkDigitOf(UPCEToUPCA(digits));
}

bool NKDUPCEBarcode::parityForDigit(int position) const
{
    if (m_checkDigit < '0' || m_checkDigit > '9' || position < 1 || position > 6)
        return false;
    const bool even = kParityBySystem0[m_checkDigit - '0'][position - 1] == 'E';
    return content().startsWith(QLatin1Char('0')) ? even : !even;
}

QByteArray NKDUPCEBarcode::barcode() const
{
    if (!isContentValid())
        return {};
    const QByteArray digits = contentBytes();
    QByteArray bars;
    bars.reserve(42);
    for (int i = 1; i <= 6; ++i) {
        const int d = digits.at(i) - '0';
        bars.append(parityForDigit(i) ? leftEvenPattern(d) : leftOddPattern(d), 7);
    }
    return bars;
}

QString NKDUPCEBarcode::caption() const
{
    return content().mid(1, 6);
}
