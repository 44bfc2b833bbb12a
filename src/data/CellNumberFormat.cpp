#include "data/CellNumberFormat.h"

#include <QDate>

#include <algorithm>
#include <cmath>

namespace {

const char *const MonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char *const DayNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

// The first section of a format code: up to the first ";" outside quotes, escapes and brackets.
QString firstSection(const QString &code)
{
    bool quoted = false, bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (quoted) {
            quoted = c != QLatin1Char('"');
        } else if (bracket) {
            bracket = c != QLatin1Char(']');
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('[')) {
            bracket = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char(';')) {
            return code.left(i);
        }
    }
    return code;
}

qsizetype runLength(const QString &code, qsizetype at)
{
    const QChar letter = code.at(at).toLower();
    qsizetype end = at;
    while (end < code.size() && code.at(end).toLower() == letter)
        ++end;
    return end - at;
}

QString padded(qint64 value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

} // namespace

QString CellNumberFormat::builtInCode(int id)
{
    switch (id) {
    case 14: return QStringLiteral("m/d/yyyy");
    case 15: return QStringLiteral("d-mmm-yy");
    case 16: return QStringLiteral("d-mmm");
    case 17: return QStringLiteral("mmm-yy");
    case 18: return QStringLiteral("h:mm AM/PM");
    case 19: return QStringLiteral("h:mm:ss AM/PM");
    case 20: return QStringLiteral("h:mm");
    case 21: return QStringLiteral("h:mm:ss");
    case 22: return QStringLiteral("m/d/yyyy h:mm");
    case 45: return QStringLiteral("mm:ss");
    case 46: return QStringLiteral("[h]:mm:ss");
    case 47: return QStringLiteral("mm:ss.0");
    default: return {};
    }
}

CellNumberFormat::CellNumberFormat(const QString &code)
{
    const QString section = firstSection(code);
    auto literal = [this](const QString &text) {
        if (!m_tokens.isEmpty() && m_tokens.last().part == Part::Literal)
            m_tokens.last().text += text;
        else
            m_tokens.append({Part::Literal, text, 0});
    };
    for (qsizetype i = 0; i < section.size();) {
        const QChar c = section.at(i);
        const QChar lower = c.toLower();
        if (c == QLatin1Char('"')) {
            const qsizetype end = section.indexOf(QLatin1Char('"'), i + 1);
            literal(section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1));
            i = end < 0 ? section.size() : end + 1;
        } else if (c == QLatin1Char('\\')) {
            literal(section.mid(i + 1, 1));
            i += 2;
        } else if (c == QLatin1Char('_')) {
            literal(QStringLiteral(" "));   // the room of the next character
            i += 2;
        } else if (c == QLatin1Char('*')) {
            i += 2;   // a fill character
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = section.indexOf(QLatin1Char(']'), i + 1);
            const QString inside = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            const QString unit = inside.toLower();
            const int width = int(unit.size());
            if (width > 0 && unit == QString(width, QLatin1Char('h')))
                m_tokens.append({Part::ElapsedHours, {}, width});
            else if (width > 0 && unit == QString(width, QLatin1Char('m')))
                m_tokens.append({Part::ElapsedMinutes, {}, width});
            else if (width > 0 && unit == QString(width, QLatin1Char('s')))
                m_tokens.append({Part::ElapsedSeconds, {}, width});
            else if (inside.startsWith(QLatin1Char('$')))
                literal(inside.mid(1).section(QLatin1Char('-'), 0, 0));   // a currency or locale tag
            // colours and conditions show nothing
            i = end < 0 ? section.size() : end + 1;
        } else if (lower == QLatin1Char('a') && section.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            m_tokens.append({Part::AmPm, {}, 0});
            i += 5;
        } else if (lower == QLatin1Char('a') && section.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            m_tokens.append({Part::AP, {}, 0});
            i += 3;
        } else if (lower == QLatin1Char('y') || lower == QLatin1Char('m') || lower == QLatin1Char('d')
                   || lower == QLatin1Char('h') || lower == QLatin1Char('s')) {
            const qsizetype n = runLength(section, i);
            Part part;
            if (lower == QLatin1Char('y'))
                part = n <= 2 ? Part::Year2 : Part::Year4;
            else if (lower == QLatin1Char('m'))
                part = n == 1 ? Part::Month : n == 2 ? Part::Month2 : n == 3 ? Part::MonthShort : n == 4 ? Part::MonthLong : Part::MonthLetter;
            else if (lower == QLatin1Char('d'))
                part = n == 1 ? Part::Day : n == 2 ? Part::Day2 : n == 3 ? Part::DayShort : Part::DayLong;
            else if (lower == QLatin1Char('h'))
                part = n == 1 ? Part::Hour : Part::Hour2;
            else
                part = n == 1 ? Part::Second : Part::Second2;
            m_tokens.append({part, {}, 0});
            i += n;
        } else if (c == QLatin1Char('.') && i + 1 < section.size() && section.at(i + 1) == QLatin1Char('0')
                   && !m_tokens.isEmpty()
                   && (m_tokens.last().part == Part::Second || m_tokens.last().part == Part::Second2
                       || m_tokens.last().part == Part::ElapsedSeconds)) {
            const int width = int(runLength(section, i + 1));
            m_tokens.append({Part::Fraction, {}, width});
            m_fractionDigits = std::max(m_fractionDigits, std::min(width, 3));
            i += 1 + width;
        } else if (c == QLatin1Char('@')) {
            ++i;   // the text placeholder
        } else {
            literal(QString(c));
            ++i;
        }
    }

    // "m" and "mm" are minutes right after an hour or right before a second.
    auto neighbour = [this](qsizetype from, int step) -> const Token * {
        for (qsizetype k = from + step; k >= 0 && k < m_tokens.size(); k += step)
            if (m_tokens.at(k).part != Part::Literal)
                return &m_tokens.at(k);
        return nullptr;
    };
    for (qsizetype k = 0; k < m_tokens.size(); ++k) {
        Token &token = m_tokens[k];
        if (token.part != Part::Month && token.part != Part::Month2)
            continue;
        const Token *before = neighbour(k, -1);
        const Token *after = neighbour(k, 1);
        const bool minute = (before && (before->part == Part::Hour || before->part == Part::Hour2 || before->part == Part::ElapsedHours))
                            || (after && (after->part == Part::Second || after->part == Part::Second2 || after->part == Part::ElapsedSeconds));
        if (minute)
            token.part = token.part == Part::Month ? Part::Minute : Part::Minute2;
    }
    for (const Token &token : std::as_const(m_tokens)) {
        switch (token.part) {
        case Part::Literal: break;
        case Part::Year2: case Part::Year4: case Part::Month: case Part::Month2: case Part::MonthShort:
        case Part::MonthLong: case Part::MonthLetter: case Part::Day: case Part::Day2: case Part::DayShort:
        case Part::DayLong:
            m_hasDate = true;
            break;
        case Part::ElapsedHours: case Part::ElapsedMinutes: case Part::ElapsedSeconds:
            m_elapsed = true;
            m_hasTime = true;
            break;
        case Part::AmPm: case Part::AP:
            m_twelveHour = true;
            m_hasTime = true;
            break;
        default:
            m_hasTime = true;
            break;
        }
    }
}

QString CellNumberFormat::format(double serial, bool date1904) const
{
    if (!isDateTime() || !std::isfinite(serial))
        return {};
    if (date1904)
        serial += 1462.0;
    // Years 1 to 9999 only: beyond them no spreadsheet program shows a date.
    if (serial < -693593.0 || serial >= 2958466.0)
        return {};
    const double scale = std::pow(10.0, m_fractionDigits);

    qint64 days = 0;
    double seconds = 0.0;   // of the day, or in all for an elapsed time
    if (m_elapsed) {
        // Elapsed times round to the digits shown.
        if (serial < 0)
            return {};
        seconds = std::round(serial * 86400.0 * scale) / scale;
    } else {
        days = qint64(std::floor(serial));
        seconds = (serial - double(days)) * 86400.0;
        // A clock time is cut to the digits shown, but a date with a time that rounds up to
        // midnight shows the next day at 0:00.
        if (m_hasDate && m_hasTime && std::round(seconds * scale) / scale >= 86400.0) {
            ++days;
            seconds = 0.0;
        }
        // The stored number is a binary fraction of a day: a whole second may come out a hair
        // below itself.
        seconds = std::floor((seconds + 1e-6) * scale) / scale;
    }
    const qint64 whole = qint64(std::floor(seconds));
    const double fraction = seconds - double(whole);
    const QDate date = QDate(1899, 12, 30).addDays(days);
    if (m_hasDate && !date.isValid())
        return {};
    const int hour = int((whole / 3600) % 24);

    QString text;
    for (const Token &token : m_tokens) {
        switch (token.part) {
        case Part::Literal: text += token.text; break;
        case Part::Year2: text += padded(date.year() % 100, 2); break;
        case Part::Year4: text += padded(date.year(), 4); break;
        case Part::Month: text += QString::number(date.month()); break;
        case Part::Month2: text += padded(date.month(), 2); break;
        case Part::MonthShort: text += QLatin1String(MonthNames[date.month() - 1]).left(3); break;
        case Part::MonthLong: text += QLatin1String(MonthNames[date.month() - 1]); break;
        case Part::MonthLetter: text += QLatin1Char(MonthNames[date.month() - 1][0]); break;
        case Part::Day: text += QString::number(date.day()); break;
        case Part::Day2: text += padded(date.day(), 2); break;
        case Part::DayShort: text += QLatin1String(DayNames[date.dayOfWeek() - 1]).left(3); break;
        case Part::DayLong: text += QLatin1String(DayNames[date.dayOfWeek() - 1]); break;
        case Part::Hour:
        case Part::Hour2: {
            const int shown = m_twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            text += padded(shown, token.part == Part::Hour2 ? 2 : 1);
            break;
        }
        case Part::Minute: text += QString::number((whole / 60) % 60); break;
        case Part::Minute2: text += padded((whole / 60) % 60, 2); break;
        case Part::Second: text += QString::number(whole % 60); break;
        case Part::Second2: text += padded(whole % 60, 2); break;
        case Part::Fraction: {
            const int shown = std::min(token.width, 3);
            const qint64 digits = qint64(std::floor(fraction * std::pow(10.0, shown) + 1e-6));
            text += QLatin1Char('.') + padded(digits, shown) + QString(token.width - shown, QLatin1Char('0'));
            break;
        }
        case Part::AmPm: text += hour < 12 ? QLatin1String("AM") : QLatin1String("PM"); break;
        case Part::AP: text += hour < 12 ? QLatin1Char('a') : QLatin1Char('p'); break;
        case Part::ElapsedHours: text += padded(whole / 3600, token.width); break;
        case Part::ElapsedMinutes: text += padded(whole / 60, token.width); break;
        case Part::ElapsedSeconds: text += padded(whole, token.width); break;
        }
    }
    return text;
}
