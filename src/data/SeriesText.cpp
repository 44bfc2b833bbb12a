#include "data/SeriesText.h"

namespace SeriesText {

namespace {

bool isControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

template<typename Predicate>
QString strip(const QString &text, Predicate strippable, bool front)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (front && begin < end && strippable(text.at(begin)))
        ++begin;
    while (end > begin && strippable(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool isSpace(QChar c) { return c.isSpace(); }

} // namespace

QString trimmed(const QString &text)
{
    return strip(strip(text, isSpace, true), isControl, true);
}

QString trimmedEnd(const QString &text)
{
    return strip(strip(text, isSpace, false), isControl, false);
}

QString cleanedName(const QString &name)
{
    static const QString reserved = QStringLiteral("/\\?%*|\"<>");
    return trimmed(strip(name, [](QChar c) { return reserved.contains(c); }, true));
}

} // namespace SeriesText
