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

// Position after the last code point to keep at the front; whole code points only.
qsizetype trimmedStart(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        if (!isTrimmed(c))
            break;
        i += pair ? 2 : 1;
    }
    return i;
}

qsizetype trimmedEnd(QStringView text, qsizetype start)
{
    qsizetype end = text.size();
    while (end > start) {
        const bool pair = end - 2 >= start && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[end - 2], text[end - 1]) : text[end - 1].unicode();
        if (!isTrimmed(c))
            break;
        end -= pair ? 2 : 1;
    }
    return end;
}

bool isReserved(QChar c)
{
    return QStringView(u"/\\?%*|\"<>").contains(c);
}

} // namespace

QString Trim_Str(const QString &text)
{
    // White space and control characters are taken off together, so a control character
    // cannot shield the white space behind it (" \u0001 name" gives "name", not " name").
    const qsizetype start = trimmedStart(text);
    const qsizetype end = trimmedEnd(text, start);
    return text.mid(start, end - start);
}

QString Remove_Reserve_Char_In_File_Name(const QString &text)
{
    // Separators inside would turn the name into a path ("../Settings" would leave the
    // folder it is meant for), so those go from the inside too.
    QString name = text;
    name.remove(QLatin1Char('/'));
    name.remove(QLatin1Char('\\'));
    // Reserved characters and white space are taken off the ends together, so that neither
    // shields the other (" \"Guests\"\n" gives "Guests").
    for (;;) {
        qsizetype start = 0;
        qsizetype end = name.size();
        while (start < end && isReserved(name[start]))
            ++start;
        while (end > start && isReserved(name[end - 1]))
            --end;
        const QString trimmed = Trim_Str(name.mid(start, end - start));
        if (trimmed == name)
            return name;
        name = trimmed;
    }
}
