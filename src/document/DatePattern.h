#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Date and time patterns are Unicode (LDML) patterns, as the date-format and time-format
// lists hold them ("EEEE, MMMM d, y", "h:mm a"). Qt's QDateTime::toString speaks another
// language ("dddd, MMMM d, yyyy", "h:mm AP"), so patterns are translated field by field.
class DatePattern
{
public:
    // The Qt format that prints `when` as the pattern would. Every literal is quoted so no
    // letter of it is taken for a Qt field. Fields Qt has no field for (era, quarter, week,
    // day of year, the 1-24 and 0-11 hours, zone offsets, and so on) are resolved against
    // `when` and written as literals, so the result is meant for that moment only.
    static QString toQtFormat(const QString &pattern, const QDateTime &when, const QLocale &locale = QLocale());

    // `when` printed with the pattern, names and AM/PM in the locale's language.
    static QString format(const QDateTime &when, const QString &pattern, const QLocale &locale = QLocale());

    // The current date and time printed with a date pattern or a time pattern.
    static QString Get_date_Value(const QString &pattern);
    static QString Get_time_Value(const QString &pattern);
};
