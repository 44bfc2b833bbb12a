#include "barcode/linear/JapanPostBarcode.h"

namespace {

constexpr char kBarFormat[] = "101010101010101010101010";
constexpr int kNumberLength = 3;
constexpr int kOpenBracketLength = 2;
constexpr int kCloseBracketLength = 2;
constexpr int kCodes = 20;

// Bars of the codes '-' (45) to '?' (63), then of the start and stop codes:
// T tracker, A ascender, D descender, F full.
constexpr const char *kCodeBars[19] = {"TFT", "TTF", "FFF", "FTT", "FFT", "FDA", "DFA", "FAD", "FTF", "DAF",
                                       "AFD", "ADF", "TFF", "DAT", "DTA", "ADT", "TDA", "ATD", "TAD"};
constexpr const char *kOpenBracket = "FD";
constexpr const char *kCloseBracket = "DF";

constexpr double kMillimetresPerPoint = 0.3527777777777777;

int barValue(char letter)
{
    switch (letter) {
    case 'A': return 2;
    case 'D': return 1;
    case 'F': return 3;
    default: return 0;
    }
}

// Value of a code in the check sum.
int codeValue(char code)
{
    if (code >= '0' && code <= '9')
        return code - '0';
    if (code == '-')
        return 10;
    if (code >= ':' && code <= '?')
        return code - ':' + 11;
    if (code == '.')
        return 17;
    if (code == '/')
        return 18;
    return 0;
}

int japanpost_barDescriptor(const char *bars, int group)
{
    return barValue(bars[group]);
}

const char *japanpost_characterDescriptor(char code)
{
    const int index = code - 45;
    return index >= 0 && index < 19 ? kCodeBars[index] : "TTT";
}

} // namespace

bool JapanPostBarcode::initWithContent(const QString &content, bool, float, float height, float, qint8)
{
    if (content.isNull())
        return false;
    setContent(content);
    setHeight(height >= 8.0f && height <= 11.5f ? height : 10.0f);
    return true;
}

void JapanPostBarcode::setHeight(float height)
{
    m_height = qBound(8.5f, height, 11.5f);
    m_barWidth = m_height / 6.0f;
    calculateWidth();
}

void JapanPostBarcode::setBarWidth(float barWidth)
{
    m_barWidth = qBound(8.0f / 6.0f, barWidth, 11.5f / 6.0f);
    m_height = 6.0f * m_barWidth;
    calculateWidth();
}

void JapanPostBarcode::setContent(const QString &content)
{
    const QString text = content.toUpper();
    QByteArray codes;
    QString kept;
    for (const QChar qc : text) {
        const ushort c = qc.unicode();
        QByteArray more;
        if ((c >= '0' && c <= '9') || c == '-')
            more.append(char(c));
        else if (c >= 'A' && c <= 'J')
            more.append(':').append(char('0' + c - 'A'));
        else if (c >= 'K' && c <= 'T')
            more.append(';').append(char('0' + c - 'K'));
        else if (c >= 'U' && c <= 'Z')
            more.append('<').append(char('0' + c - 'U'));
        else
            continue;
        // The codes are cut after the twentieth, even inside a letter; the kept text holds
        // the characters drawn whole.
        if (codes.size() + more.size() > kCodes) {
            codes += more.left(kCodes - codes.size());
            break;
        }
        codes += more;
        kept.append(qc);
    }
    while (codes.size() < kCodes)
        codes.append('=');
    m_japanpostContents = codes;
    NKDBarcode::setContent(kept);
    generateChecksum();
}

void JapanPostBarcode::generateChecksum()
{
    int sum = 0;
    for (const char code : std::as_const(m_japanpostContents))
        sum += codeValue(code);
    const int check = 19 * (sum / 19 + 1) - sum;
    constexpr char kCheckCodes[] = "0123456789-:;<=>?./0";
    m_checkDigit = qint8(kCheckCodes[check]);
}

bool JapanPostBarcode::isContentValid() const
{
    const QString text = content();
    if (text.size() < 7)
        return false;
    for (int i = 0; i < 7; ++i) {
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return false;
    }
    return true;
}

QByteArray JapanPostBarcode::initiator() const
{
    return QByteArray::fromRawData(kBarFormat, 2 * kOpenBracketLength);
}

QByteArray JapanPostBarcode::terminator() const
{
    return QByteArray::fromRawData(kBarFormat, 2 * kCloseBracketLength - 1);
}

QByteArray JapanPostBarcode::_encodeChar(char) const
{
    return QByteArray::fromRawData(kBarFormat, 2 * kNumberLength);
}

QByteArray JapanPostBarcode::barcode() const
{
    QByteArray bars;
    bars.reserve((kCodes + 1) * 2 * kNumberLength);
    for (const char code : m_japanpostContents)
        bars += _encodeChar(code);
    if (m_checkDigit != -1)
        bars += _encodeChar(char(m_checkDigit));
    return bars;
}

void JapanPostBarcode::calculateWidth()
{
    m_width = float(completeBarcode().size() * double(m_barWidth));
}

int JapanPostBarcode::_barDescriptor(int module) const
{
    const int start = 2 * kOpenBracketLength;
    const int codes = int(m_japanpostContents.size());
    if (module < start)
        return japanpost_barDescriptor(kOpenBracket, qMax(0, module) / 2);
    const int body = start + (codes + 1) * 2 * kNumberLength;
    if (module < body) {
        const int index = (module - start) / (2 * kNumberLength);
        const char code = index < codes ? m_japanpostContents.at(index) : char(m_checkDigit);
        return japanpost_barDescriptor(japanpost_characterDescriptor(code), (module - start) % (2 * kNumberLength) / 2);
    }
    return japanpost_barDescriptor(kCloseBracket, qMin(1, (module - body) % (2 * kCloseBracketLength - 1) / 2));
}

float JapanPostBarcode::barTop(int module) const
{
    const double millimetres = (_barDescriptor(module) & 2 ? 3.6 : 2.4) * symbolSize() / 10.0;
    return float(millimetres / kMillimetresPerPoint);
}

float JapanPostBarcode::barBottom(int module) const
{
    const double millimetres = (_barDescriptor(module) & 1 ? 0.0 : 1.2) * symbolSize() / 10.0;
    return float(millimetres / kMillimetresPerPoint);
}
