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

QString Storable_Text(const QString &text)
{
    const auto unstorable = [&text](qsizetype i) {
        const QChar c = text.at(i);
        if (c.unicode() == 0)
            return true;
        if (c.isHighSurrogate())
            return !(i + 1 < text.size() && text.at(i + 1).isLowSurrogate());
        if (c.isLowSurrogate())
            return !(i > 0 && text.at(i - 1).isHighSurrogate());
        return false;
    };
    qsizetype first = 0;
    while (first < text.size() && !unstorable(first))
        ++first;
    if (first == text.size())
        return text;
    QString kept;
    kept.reserve(text.size() - 1);
    kept.append(QStringView(text).first(first));
    for (qsizetype i = first + 1; i < text.size(); ++i)
        if (!unstorable(i))
            kept.append(text.at(i));
    return kept;
}

QString Xml_Safe_Text(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += c;
            result += text.at(++i);
        } else if (Is_Xml_Char(c.unicode())) {
            result += c;
        }
    }
    return result;
}

QString plainTextToolTip(const QString &text)
{
    if (text.isEmpty())
        return text;
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}
