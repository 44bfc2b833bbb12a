#include "document/DatePattern.h"

#include <QTimeZone>

namespace {

QString padded(qint64 value, int digits)
{
    const QString text = QString::number(qAbs(value)).rightJustified(digits, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + text : text;
}

// Day of the week counted from the locale's first day (1 = first day).
int localDayOfWeek(const QDate &date, const QLocale &locale)
{
    return (date.dayOfWeek() - int(locale.firstDayOfWeek()) + 7) % 7 + 1;
}

// Week of the year and its year. Locales whose week starts on Monday count ISO 8601 weeks;
// the others count weeks from their first day with week 1 holding 1 January.
int weekOfYear(const QDate &date, const QLocale &locale, int *weekYear)
{
    if (locale.firstDayOfWeek() == Qt::Monday)
        return date.weekNumber(weekYear);
    const QDate weekEnd = date.addDays(7 - localDayOfWeek(date, locale));
    if (weekEnd.year() > date.year()) {
        *weekYear = weekEnd.year();
        return 1;
    }
    *weekYear = date.year();
    const QDate january1(date.year(), 1, 1);
    return (date.dayOfYear() - 1 + localDayOfWeek(january1, locale) - 1) / 7 + 1;
}

int weekOfMonth(const QDate &date, const QLocale &locale)
{
    const QDate first(date.year(), date.month(), 1);
    return (date.day() - 1 + localDayOfWeek(first, locale) - 1) / 7 + 1;
}

// "+0530", "+05:30" or, with hoursAlone, "+05" when the minutes are zero.
QString offsetText(int seconds, bool colon, bool hoursAlone = false)
{
    const int minutes = qAbs(seconds) / 60;
    QString text = (seconds < 0 ? QStringLiteral("-") : QStringLiteral("+")) + padded(minutes / 60, 2);
    if (hoursAlone && minutes % 60 == 0)
        return text;
    return text + (colon ? QStringLiteral(":") : QString()) + padded(minutes % 60, 2);
}

// "GMT", "GMT+5:30" (short) or "GMT+05:30" (long).
QString gmtText(int seconds, bool longForm)
{
    if (seconds == 0)
        return QStringLiteral("GMT");
    const int minutes = qAbs(seconds) / 60;
    QString text = QStringLiteral("GMT") + (seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                   + (longForm ? padded(minutes / 60, 2) : QString::number(minutes / 60));
    if (longForm || minutes % 60)
        text += QLatin1Char(':') + padded(minutes % 60, 2);
    return text;
}

QString isoOffset(int seconds, int count, bool zuluForZero)
{
    if (zuluForZero && seconds == 0)
        return QStringLiteral("Z");
    switch (count) {
    case 1: return offsetText(seconds, false, true);
    case 2:
    case 4: return offsetText(seconds, false);
    default: return offsetText(seconds, true);
    }
}

QString ordinalQuarter(int quarter)
{
    static const char *const names[] = {"1st quarter", "2nd quarter", "3rd quarter", "4th quarter"};
    return QString::fromLatin1(names[quarter - 1]);
}

QString dayName(const QDate &date, int count, const QLocale &locale, bool standalone)
{
    const int day = date.dayOfWeek();
    const QLocale::FormatType type = count == 4 ? QLocale::LongFormat
                                     : count == 5 ? QLocale::NarrowFormat : QLocale::ShortFormat;
    const QString name = standalone ? locale.standaloneDayName(day, type) : locale.dayName(day, type);
    return count == 6 ? name.left(2) : name;
}

class Translator
{
public:
    Translator(const QString &pattern, const QDateTime &when, const QLocale &locale)
        : m_pattern(pattern), m_when(when), m_locale(locale), m_date(when.date()), m_time(when.time())
    {
    }

    QString run()
    {
        m_hasDayPeriod = scanForDayPeriod();
        for (qsizetype i = 0; i < m_pattern.size();) {
            const QChar c = m_pattern.at(i);
            if (c == QLatin1Char('\'')) {
                i = readQuoted(i);
            } else if (isPatternLetter(c)) {
                qsizetype end = i;
                while (end < m_pattern.size() && m_pattern.at(end) == c)
                    ++end;
                field(c.toLatin1(), int(end - i));
                i = end;
            } else {
                m_literal += c;
                ++i;
            }
        }
        flushLiteral();
        return m_out;
    }

private:
    static bool isPatternLetter(QChar c)
    {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
    }

    // Whether the pattern prints AM/PM, which decides how Qt's "h" counts.
    bool scanForDayPeriod() const
    {
        bool quoted = false;
        for (const QChar c : m_pattern) {
            if (c == QLatin1Char('\''))
                quoted = !quoted;
            else if (!quoted && (c == QLatin1Char('a') || c == QLatin1Char('b') || c == QLatin1Char('B')))
                return true;
        }
        return false;
    }

    // A quoted run: "''" is one quote, inside quotes and out; an unclosed quote runs to the end.
    qsizetype readQuoted(qsizetype i)
    {
        if (i + 1 < m_pattern.size() && m_pattern.at(i + 1) == QLatin1Char('\'')) {
            m_literal += QLatin1Char('\'');
            return i + 2;
        }
        for (++i; i < m_pattern.size(); ++i) {
            if (m_pattern.at(i) != QLatin1Char('\'')) {
                m_literal += m_pattern.at(i);
            } else if (i + 1 < m_pattern.size() && m_pattern.at(i + 1) == QLatin1Char('\'')) {
                m_literal += QLatin1Char('\'');
                ++i;
            } else {
                return i + 1;
            }
        }
        return i;
    }

    void flushLiteral()
    {
        if (m_literal.isEmpty())
            return;
        QString escaped = m_literal;
        escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
        // Qt reads "''" as a quote wherever it stands, so text of quotes alone goes unquoted;
        // any other text goes inside one pair of quotes, where "''" is a quote as well.
        if (m_literal.count(QLatin1Char('\'')) == m_literal.size())
            m_out += escaped;
        else
            m_out += QLatin1Char('\'') + escaped + QLatin1Char('\'');
        m_literal.clear();
    }

    void qt(const char *field)
    {
        flushLiteral();
        m_out += QLatin1String(field);
    }

    void text(const QString &value) { m_literal += value; }

    void field(char letter, int n)
    {
        const int year = m_date.year();
        switch (letter) {
        case 'G': {
            const bool ad = year > 0;
            text(n == 4 ? QString::fromLatin1(ad ? "Anno Domini" : "Before Christ")
                        : n == 5 ? QString::fromLatin1(ad ? "A" : "B") : QString::fromLatin1(ad ? "AD" : "BC"));
            break;
        }
        case 'y':
            if (n == 2)
                qt("yy");
            else if (n == 4 || (n != 2 && n < 4 && year >= 1000 && year <= 9999))
                qt("yyyy");
            else
                text(padded(year, n));
            break;
        case 'u':
        case 'U':
        case 'r':
            text(padded(year, n));
            break;
        case 'Y': {
            int weekYear = year;
            weekOfYear(m_date, m_locale, &weekYear);
            text(n == 2 ? padded(weekYear % 100, 2) : padded(weekYear, n));
            break;
        }
        case 'Q':
        case 'q': {
            const int quarter = (m_date.month() - 1) / 3 + 1;
            text(n == 3 ? QStringLiteral("Q%1").arg(quarter) : n == 4 ? ordinalQuarter(quarter) : padded(quarter, qMin(n, 2)));
            break;
        }
        case 'M':
            switch (n) {
            case 1: qt("M"); break;
            case 2: qt("MM"); break;
            case 3: qt("MMM"); break;
            case 4: qt("MMMM"); break;
            default: text(m_locale.monthName(m_date.month(), QLocale::NarrowFormat)); break;
            }
            break;
        case 'L':
            if (n <= 2)
                text(padded(m_date.month(), n));
            else
                text(m_locale.standaloneMonthName(m_date.month(), n == 3 ? QLocale::ShortFormat
                                                                  : n == 4 ? QLocale::LongFormat : QLocale::NarrowFormat));
            break;
        case 'w': {
            int weekYear = 0;
            text(padded(weekOfYear(m_date, m_locale, &weekYear), n));
            break;
        }
        case 'W':
            text(padded(weekOfMonth(m_date, m_locale), n));
            break;
        case 'd':
            qt(n == 1 ? "d" : "dd");
            break;
        case 'D':
            text(padded(m_date.dayOfYear(), n));
            break;
        case 'F':
            text(padded((m_date.day() - 1) / 7 + 1, n));
            break;
        case 'g':
            text(padded(m_date.toJulianDay(), n));
            break;
        case 'E':
            if (n <= 3)
                qt("ddd");
            else if (n == 4)
                qt("dddd");
            else
                text(dayName(m_date, n, m_locale, false));
            break;
        case 'e':
        case 'c':
            if (n <= 2)
                text(padded(localDayOfWeek(m_date, m_locale), letter == 'e' ? n : 1));
            else
                text(dayName(m_date, n, m_locale, letter == 'c'));
            break;
        case 'a':
        case 'b':
        case 'B':
            if (n == 5)
                text(m_time.hour() < 12 ? QStringLiteral("a") : QStringLiteral("p"));
            else
                qt("AP");
            break;
        case 'h':
            // Qt counts "h" 1-12 only when the format prints AM/PM.
            if (m_hasDayPeriod)
                qt(n == 1 ? "h" : "hh");
            else
                text(padded((m_time.hour() + 11) % 12 + 1, qMin(n, 2)));
            break;
        case 'H':
            qt(n == 1 ? "H" : "HH");
            break;
        case 'K':
            text(padded(m_time.hour() % 12, qMin(n, 2)));
            break;
        case 'k':
            text(padded(m_time.hour() == 0 ? 24 : m_time.hour(), qMin(n, 2)));
            break;
        case 'm':
            qt(n == 1 ? "m" : "mm");
            break;
        case 's':
            qt(n == 1 ? "s" : "ss");
            break;
        case 'S':
            if (n == 3) {
                qt("zzz");
            } else {
                // Fractions are cut, not rounded, to the number of digits asked for.
                QString digits = padded(m_time.msec(), 3);
                text(n < 3 ? digits.left(n) : digits.leftJustified(n, QLatin1Char('0')));
            }
            break;
        case 'A':
            text(padded(m_time.msecsSinceStartOfDay(), n));
            break;
        case 'z':
        case 'v':
            // A zone that is only an offset has no name: it is written as GMT and the offset.
            if (isOffsetZone())
                text(gmtText(offset(), n >= 4));
            else if (n < 4)
                qt("t");
            else
                text(m_when.timeZone().displayName(m_when, QTimeZone::LongName, m_locale));
            break;
        case 'V':
            text(QString::fromUtf8(m_when.timeZone().id()));
            break;
        case 'Z':
            text(n <= 3 ? offsetText(offset(), false) : n == 4 ? gmtText(offset(), true) : isoOffset(offset(), 5, true));
            break;
        case 'O':
            text(gmtText(offset(), n >= 4));
            break;
        case 'X':
            text(isoOffset(offset(), n, true));
            break;
        case 'x':
            text(isoOffset(offset(), n, false));
            break;
        default:
            // A letter that is no field prints as itself.
            text(QString(n, QLatin1Char(letter)));
            break;
        }
    }

    int offset() const { return m_when.offsetFromUtc(); }

    bool isOffsetZone() const
    {
        if (m_when.timeSpec() == Qt::UTC || m_when.timeSpec() == Qt::OffsetFromUTC)
            return true;
        const QByteArray id = m_when.timeZone().id();
        return id == "UTC" || id.startsWith("UTC+") || id.startsWith("UTC-");
    }

    const QString &m_pattern;
    const QDateTime &m_when;
    const QLocale &m_locale;
    const QDate m_date;
    const QTime m_time;
    bool m_hasDayPeriod = false;
    QString m_literal;
    QString m_out;
};

} // namespace

QString DatePattern::toQtFormat(const QString &pattern, const QDateTime &when, const QLocale &locale)
{
    return Translator(pattern, when, locale).run();
}

QString DatePattern::format(const QDateTime &when, const QString &pattern, const QLocale &locale)
{
    return locale.toString(when, toQtFormat(pattern, when, locale));
}

QString DatePattern::Get_date_Value(const QString &pattern)
{
    return format(QDateTime::currentDateTime(), pattern);
}

QString DatePattern::Get_time_Value(const QString &pattern)
{
    return Get_date_Value(pattern);
}
