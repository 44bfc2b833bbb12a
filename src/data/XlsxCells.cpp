#include "data/XlsxCells.h"

#include "document/StringUtilities.h"

namespace {

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// True when text[at...] is "_xHHHH_".
bool isEscapeAt(QStringView text, qsizetype at)
{
    if (at + 7 > text.size() || text[at] != QLatin1Char('_') || text[at + 1] != QLatin1Char('x')
        || text[at + 6] != QLatin1Char('_'))
        return false;
    for (qsizetype i = at + 2; i < at + 6; ++i)
        if (!isHexDigit(text[i]))
            return false;
    return true;
}

void appendEscape(QByteArray &out, char16_t code)
{
    static const char digits[] = "0123456789ABCDEF";
    out.append("_x");
    for (int shift = 12; shift >= 0; shift -= 4)
        out.append(digits[(code >> shift) & 0xf]);
    out.append('_');
}

} // namespace

namespace XlsxCells {

int columnOfReference(const char *reference)
{
    if (!reference)
        return -1;
    int number = 0;
    int letters = 0;
    const char *p = reference;
    for (; letters <= 3; ++p, ++letters) {
        char c = *p;
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        number = number * 26 + (c - 'A' + 1);
    }
    if (letters == 0 || letters > 3 || number > MaxColumns || *p < '1' || *p > '9')
        return -1;
    return number - 1;
}

bool isPlainNumber(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && text[i] == QLatin1Char('-'))
        ++i;
    const qsizetype integerStart = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
        ++i;
    const qsizetype integerDigits = i - integerStart;
    if (integerDigits == 0 || (integerDigits > 1 && text[integerStart] == QLatin1Char('0')))
        return false;

    qsizetype fractionDigits = 0;
    qsizetype leadingFractionZeros = 0;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        const qsizetype fractionStart = i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
            ++i;
        fractionDigits = i - fractionStart;
        if (fractionDigits == 0 || text[i - 1] == QLatin1Char('0'))
            return false;
        while (leadingFractionZeros < fractionDigits && text[fractionStart + leadingFractionZeros] == QLatin1Char('0'))
            ++leadingFractionZeros;
    }
    if (i != text.size())
        return false;

    const bool integerIsZero = integerDigits == 1 && text[integerStart] == QLatin1Char('0');
    if (integerIsZero && fractionDigits == 0)
        return integerStart == 0;   // "0" yes, "-0" would come back as "0"
    // Significant digits, and tiny fractions that readers would show with an exponent.
    const qsizetype significant = integerIsZero ? fractionDigits - leadingFractionZeros : integerDigits + fractionDigits;
    if (integerIsZero && leadingFractionZeros > 3)
        return false;
    return significant <= 15;
}

void appendXmlText(QByteArray &out, QStringView text)
{
    const qsizetype size = text.size();
    qsizetype plainStart = 0;
    const auto flushPlain = [&](qsizetype upTo) {
        if (upTo > plainStart)
            out.append(text.mid(plainStart, upTo - plainStart).toUtf8());
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != '&' && c != '<' && c != '>' && c != '_' && c != 0xfffe && c != 0xffff
            && !QChar::isSurrogate(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;   // a well-formed pair passes through unchanged
            continue;
        }
        if (c == '_' && !isEscapeAt(text, i))
            continue;
        flushPlain(i);
        plainStart = i + 1;
        switch (c) {
        case '&': out.append("&amp;"); break;
        case '<': out.append("&lt;"); break;
        case '>': out.append("&gt;"); break;
        case '_': out.append("_x005F_"); break;   // the "_" of a literal "_xHHHH_"
        case '\t': out.append('\t'); break;
        case '\n': out.append('\n'); break;
        default:
            if (c < 0x20)
                appendEscape(out, c);
            // lone surrogates, U+FFFE and U+FFFF cannot be written at all
            break;
        }
    }
    flushPlain(size);
}

QString unescapeText(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscapeAt(text, i)) {
            result.append(QChar(char16_t(text.mid(i + 2, 4).toUShort(nullptr, 16))));
            i += 6;
        } else {
            result.append(text[i]);
        }
    }
    // "_x0000_" and halves of surrogate pairs are left out, as from every stored text.
    return Storable_Text(result);
}

} // namespace XlsxCells
