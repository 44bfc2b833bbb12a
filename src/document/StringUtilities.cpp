#include "document/StringUtilities.h"

#include <QStringView>

namespace {

bool isTrimmed(char32_t c)
{
    if (QChar::isSpace(c))
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

bool isReserved(char32_t c)
{
    return c < 0x80 && QStringView(u"/\\?%*|\"<>").contains(QChar(c));
}

// Position after the last code point to keep at the front; whole code points only.
template<typename Strip>
qsizetype strippedStart(QStringView text, Strip strip)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        if (!strip(c))
            break;
        i += pair ? 2 : 1;
    }
    return i;
}

template<typename Strip>
qsizetype strippedEnd(QStringView text, qsizetype start, Strip strip)
{
    qsizetype end = text.size();
    while (end > start) {
        const bool pair = end - 2 >= start && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[end - 2], text[end - 1]) : text[end - 1].unicode();
        if (!strip(c))
            break;
        end -= pair ? 2 : 1;
    }
    return end;
}

// The text between what `strip` takes off its two ends.
template<typename Strip>
QString stripped(const QString &text, Strip strip)
{
    const qsizetype start = strippedStart(text, strip);
    return text.mid(start, strippedEnd(text, start, strip) - start);
}

} // namespace

QString Trim_Str(const QString &text)
{
    // White space and control characters are taken off together, so a control character
    // cannot shield the white space behind it (" \u0001 name" gives "name", not " name").
    return stripped(text, isTrimmed);
}

QString Remove_Reserve_Char_In_File_Name(const QString &text)
{
    // Separators inside would turn the name into a path ("../Settings" would leave the
    // folder it is meant for), so those go from the inside too.
    QString name = text;
    name.remove(QLatin1Char('/'));
    name.remove(QLatin1Char('\\'));
    // Reserved characters and white space are taken off the ends together in one pass from
    // each end, so that neither shields the other (" \"Guests\"\n" gives "Guests").
    return stripped(name, [](char32_t c) { return isReserved(c) || isTrimmed(c); });
}
