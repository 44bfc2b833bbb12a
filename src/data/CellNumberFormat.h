#pragma once

// What a spreadsheet cell shows under a date or time number format: the text a spreadsheet
// program shows for the cell's stored number (a serial day count), as LibreOffice shows it in
// its English (United States) locale.

#include <QList>
#include <QString>

class CellNumberFormat
{
public:
    // Compiles a format code ("d-mmm-yy", "h:mm AM/PM", "[h]:mm:ss", ...). Only the first
    // section counts (dates are never negative); colours, conditions, locale tags and text
    // placeholders are left out.
    explicit CellNumberFormat(const QString &code = {});

    // The format of a built-in number format id that shows a date or a time (14 to 22 and 45
    // to 47); empty for every other id.
    static QString builtInCode(int id);

    // True when the format shows a date or a time part.
    bool isDateTime() const { return m_hasDate || m_hasTime; }

    // The text of the stored number `serial` (days since 30 December 1899, or since 1 January
    // 1904 when `date1904`), or empty when it cannot be shown as a date (not finite, or
    // outside the years 1 to 9999).
    QString format(double serial, bool date1904 = false) const;

private:
    enum class Part { Literal, Year2, Year4, Month, Month2, MonthShort, MonthLong, MonthLetter, Day, Day2,
                      DayShort, DayLong, Hour, Hour2, Minute, Minute2, Second, Second2, Fraction, AmPm,
                      AP, ElapsedHours, ElapsedMinutes, ElapsedSeconds };
    struct Token
    {
        Part part;
        QString text;   // a literal's text; for AmPm and AP the code as written
        int width = 0;  // digits of a fraction or an elapsed unit
    };

    QList<Token> m_tokens;
    bool m_hasDate = false;
    bool m_hasTime = false;
    bool m_twelveHour = false;
    bool m_elapsed = false;
    int m_fractionDigits = 0;
};
