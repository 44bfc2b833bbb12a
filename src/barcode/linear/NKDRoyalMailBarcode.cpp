#include "barcode/linear/NKDRoyalMailBarcode.h"

namespace {

constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Bars left to right: T tracker, A ascender, D descender, F full.
constexpr const char *kBars[36] = {"TTFF", "TDAF", "TDFA", "DTAF", "DTFA", "DDAA", "TADF", "TFTF", "TFDA",
                                   "DATF", "DADA", "DFTA", "TAFD", "TFAD", "TFFT", "DAAD", "DAFT", "DFAT",
                                   "ATDF", "ADTF", "ADDA", "FTTF", "FTDA", "FDTA", "ATFD", "ADAD", "ADFT",
                                   "FTAD", "FTFT", "FDAT", "AADD", "AFTD", "AFDT", "FATD", "FADT", "FFTT"};

constexpr float kMillimetre = float(0.03937007874015748 * 72.0);

int indexOf(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return -1;
}

int barValue(char letter)
{
    switch (letter) {
    case 'A': return 2;
    case 'D': return 1;
    case 'F': return 3;
    default: return 0;
    }
}

} // namespace

bool NKDRoyalMailBarcode::initWithContent(const QString &content, bool printsCaption)
{
    Q_UNUSED(printsCaption)
    if (content.isNull())
        return false;
    setContent(content.toUpper());
    m_barWidth = 1.4173229f;
    m_printsCaption = false;
    generateChecksum();
    m_height = 14.3149605f;
    calculateWidth();
    return true;
}

int NKDRoyalMailBarcode::royalmail_characterDescriptor(char c)
{
    const int index = indexOf(c);
    if (index < 0)
        return 0;
    int descriptor = 0;
    for (int bar = 0; bar < 4; ++bar)
        descriptor = descriptor << 4 | barValue(kBars[index][bar]);
    return descriptor;
}

QByteArray NKDRoyalMailBarcode::_encodeChar(char c) const
{
    return indexOf(c) < 0 ? QByteArray() : QByteArrayLiteral("10101010");
}

bool NKDRoyalMailBarcode::isContentValid() const
{
    // Only digits and capital letters have bars; anything else would print as trackers
    // that no sorting machine reads.
    return NKDBarcode::isContentValid() && m_checkDigit != -1;
}

int NKDRoyalMailBarcode::_barDescriptor(int module) const
{
    const int characters = int(contentBytes().size());
    if (module <= 0)
        return 2;
    if (module >= (characters + 1) * 8 + 2)
        return 3;
    const int index = (module - 2) / 8;
    const char c = index < characters ? contentBytes().at(index) : char(m_checkDigit);
    const int group = (module - 2) % 8 / 2;
    return (royalmail_characterDescriptor(c) >> (4 * (3 - group))) & 0xf;
}

float NKDRoyalMailBarcode::barTop(int module) const
{
    return (_barDescriptor(module) & 2 ? 5.05f : 3.15f) * kMillimetre;
}

float NKDRoyalMailBarcode::barBottom(int module) const
{
    return (_barDescriptor(module) & 1 ? 0.0f : 1.9f) * kMillimetre;
}

void NKDRoyalMailBarcode::generateChecksum()
{
    bool ok = false;
    const QByteArray text = contentBytes(&ok);
    m_checkDigit = -1;
    if (!ok || text.isEmpty())
        return;
    int rows = 0;
    int columns = 0;
    constexpr int kWeights[4] = {4, 2, 1, 0};
    for (const char c : text) {
        const int index = indexOf(c);
        if (index < 0)
            return;
        for (int bar = 0; bar < 4; ++bar) {
            const int value = barValue(kBars[index][bar]);
            if (value & 2)
                rows += kWeights[bar];
            if (value & 1)
                columns += kWeights[bar];
        }
    }
    int row = rows % 6;
    int column = columns % 6;
    if (row == 0)
        row = 6;
    if (column == 0)
        column = 6;
    m_checkDigit = qint8(kAlphabet[(row - 1) * 6 + (column - 1)]);
}
