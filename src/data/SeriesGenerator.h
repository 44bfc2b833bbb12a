#pragma once

// The rules of the series generator, without widgets: reading the typed numbers, cleaning
// the number fields while they are typed, checking a request and making its values.

#include <QString>
#include <QStringList>

#include <optional>

class SeriesGenerator
{
public:
    enum class Mode { Sequential, Constant, Random };

    // The field a refusal points at, so the dialog can put the focus there.
    enum class Field { None, From, To, Value, Count, Length };

    struct Request
    {
        Mode mode = Mode::Sequential;
        // sequential
        QString prefix, suffix, from, to;
        bool zeroFill = false;
        // constant
        QString value, count;
        // random
        QString randPrefix, randSuffix, length, randCount;
    };

    // No request makes more values than this.
    static constexpr qint64 MaxValues = 1'000'000;

    // The value of the leading decimal number after optional blanks and an optional sign; 0
    // when the text does not start with one ("12ab" gives 12). Empty when the number does not
    // fit in 32 bits.
    static std::optional<qint32> integerValue(const QString &text);
    // As above, 0 for a number outside 32 bits (what a typed field shows its stepper).
    static int intValue(const QString &text);

    // Puts "0" in front of the digits until the text has at least `length` characters; a
    // minus sign stays in front of the zeros ("-9" to 3 gives "-09"). A longer text comes
    // back unchanged.
    static QString PadZero(const QString &text, int length);
    // A random integer from min to max, both included (max below min gives min).
    static qint64 getRandomNumberBetweenMin(qint64 min, qint64 max);

    // Cleans a number field as it is typed: empty or 0 becomes "1", more than `maxChars`
    // characters are cut to the first `maxChars`, a value above `maxValue` becomes
    // `maxValue`. Returns the text the field must show (the typed text when nothing applies).
    static QString cleanNumberField(const QString &typed, int maxChars, int maxValue);

    // The first refusal of the request, with the field to focus; empty when it can be made.
    static QString validate(const Request &request, Field *focus = nullptr);
    // The values of a valid request, in order.
    static QStringList generate(const Request &request);

    // The digit count of a random Length text ("1" to "9", blanks around allowed); 0 otherwise.
    static int randomLength(const QString &text);
};
