// Unicode date patterns printed through Qt, checked against ICU itself (python3-icu).

#include "document/DatePattern.h"

#include "support/TestHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);

// ICU's rendering of each (instant, pattern) pair, in the en_US locale and the instant's
// fixed UTC offset.
QStringList icuFormat(const QList<QPair<QDateTime, QString>> &cases)
{
    QJsonArray input;
    for (const auto &[when, pattern] : cases)
        input.append(QJsonArray{double(when.toMSecsSinceEpoch()), when.offsetFromUtc(), pattern});
    const char *script = R"(
import icu, json, sys
out = []
for ms, offset, pattern in json.load(sys.stdin):
    f = icu.SimpleDateFormat(pattern, icu.Locale("en_US"))
    f.setTimeZone(icu.SimpleTimeZone(offset * 1000, "Fixed"))
    out.append(f.format(ms / 1000.0))
json.dump(out, sys.stdout)
)";
    const QByteArray output = TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON), {QStringLiteral("-c"), QString::fromUtf8(script)},
                                                      QJsonDocument(input).toJson(QJsonDocument::Compact));
    QStringList result;
    for (const QJsonValue &value : QJsonDocument::fromJson(output).array())
        result << value.toString();
    return result;
}

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms, int offsetSeconds)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone(offsetSeconds));
}

} // namespace

TEST(DatePattern, PrintsWhatIcuPrintsForEveryField)
{
    const QList<QDateTime> instants = {
        at(2024, 3, 5, 0, 7, 9, 45, 5 * 3600 + 1800), // just after midnight, half-hour offset
        at(2023, 12, 31, 12, 0, 0, 999, 0),           // noon, last day of a year in week 1 of the next
        at(2021, 1, 1, 23, 59, 59, 500, -8 * 3600),   // late evening, first day of a year
        at(1999, 7, 4, 13, 45, 30, 123, 3600),
        at(2026, 10, 18, 9, 5, 3, 7, -3 * 3600 - 1800),
    };
    const QStringList patterns = {
        // The kinds of pattern the date and time lists offer.
        "EEEE, MMMM d, y", "MMM d, yyyy", "dd/MM/yy", "M/d/yy", "d MMMM y", "EEE, d MMM yyyy", "yyyy-MM-dd",
        "MMMM yyyy", "EEEE", "h:mm a", "hh:mm:ss a", "HH:mm", "H:mm:ss", "h:mm:ss a zzzz", "h:mm a z", "v",
        // Quoted text, quotes and letters that are not fields in Qt's language.
        "h 'o''clock' a", "'Today is' EEEE", "hh 'h' mm", "'It''s' h:mm a", "''yy", "''''yy''", "'''d'''", "d''''", "'at' HH:mm 'day' D",
        // Hours in every count, with and without AM/PM.
        "h", "hh", "H", "HH", "k", "kk", "K", "KK a", "K:mm a", "h:mm",
        // Fields Qt has no field for.
        "G y", "GGGG", "GGGGG", "QQQ yyyy", "QQQQ", "Q", "QQ", "qqqq", "D", "DDD", "w", "ww", "W", "F", "g",
        "Y", "YY", "YYYY", "u", "yyyyy", "yyy",
        "MMMMM", "LLL", "LLLL", "LLLLL", "L", "LL", "EEEEE", "EEEEEE", "e", "ee", "eee", "eeee", "c", "ccc", "cccc",
        "S", "SS", "SSS", "SSSS", "mm:ss.SSS", "A", "a", "aaaa", "aaaaa",
        "Z", "ZZZZ", "ZZZZZ", "O", "OOOO", "x", "xx", "xxx", "xxxx", "X", "XX", "XXX", "XXXX",
    };

    QList<QPair<QDateTime, QString>> cases;
    for (const QDateTime &when : instants)
        for (const QString &pattern : patterns)
            cases.append({when, pattern});
    const QStringList expected = icuFormat(cases);
    ASSERT_EQ(expected.size(), cases.size());
    for (int i = 0; i < cases.size(); ++i) {
        const auto &[when, pattern] = cases[i];
        EXPECT_EQ(DatePattern::format(when, pattern, English), expected[i])
            << "pattern \"" << pattern.toStdString() << "\" at " << when.toString(Qt::ISODateWithMs).toStdString()
            << " (Qt format " << DatePattern::toQtFormat(pattern, when, English).toStdString() << ")";
    }
}

TEST(DatePattern, TranslatesToQtFieldsQuotesEveryLiteralAndOddPatternsStillGiveText)
{
    const QDateTime when = at(2024, 3, 5, 14, 7, 9, 45, 0);
    EXPECT_EQ(DatePattern::toQtFormat("EEEE, MMMM d, y", when, English), "dddd', 'MMMM' 'd', 'yyyy");
    EXPECT_EQ(DatePattern::toQtFormat("h:mm a", when, English), "h':'mm' 'AP");
    EXPECT_EQ(DatePattern::toQtFormat("dd/MM/yy HH:mm:ss.SSS", when, English), "dd'/'MM'/'yy' 'HH':'mm':'ss'.'zzz");
    // A literal that holds Qt field letters ("d", "a", "t", "h") and a quote stays text.
    EXPECT_EQ(DatePattern::toQtFormat("'Today at' H 'o''clock'", when, English), "'Today at 'H' o''clock'");
    EXPECT_EQ(DatePattern::format(when, "'Today at' H 'o''clock'", English), "Today at 14 o'clock");
    EXPECT_EQ(DatePattern::toQtFormat("", when, English), "");

    // Odd patterns still give text.
    // An unclosed quote runs to the end; a lone quote pair is one quote.
    EXPECT_EQ(DatePattern::format(when, "d 'of MMMM", English), "5 of MMMM");
    EXPECT_EQ(DatePattern::format(when, "''", English), "'");
    // Letters that are no field print as themselves; other characters pass through.
    EXPECT_EQ(DatePattern::format(when, "d -> M \u2014 y!", English), QStringLiteral("5 -> 3 \u2014 2024!"));
    EXPECT_EQ(DatePattern::format(when, "dd I", English), "05 I");
}

TEST(DatePattern, NamesFollowTheLocale)
{
    const QDateTime when = at(2024, 3, 5, 14, 7, 9, 45, 0);
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(DatePattern::format(when, "EEEE d MMMM y", french), "mardi 5 mars 2024");
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(DatePattern::format(when, "EEEE, d. MMMM y", german), "Dienstag, 5. März 2024");
    // Monday-first locales count ISO weeks: 31 December 2024 is in week 1 of 2025.
    const QDateTime newYearsEve = at(2024, 12, 31, 10, 0, 0, 0, 0);
    EXPECT_EQ(DatePattern::format(newYearsEve, "w Y", german), "1 2025");
    EXPECT_EQ(DatePattern::format(newYearsEve, "w Y", English), "1 2025");
}

TEST(DatePattern, CurrentValuesUseTheClock)
{
    const QString year = QString::number(QDate::currentDate().year());
    const QString printed = DatePattern::Get_date_Value(QStringLiteral("yyyy"));
    // Allow for a year changing between the two reads.
    EXPECT_TRUE(printed == year || printed == QString::number(QDate::currentDate().year())) << printed.toStdString();
    EXPECT_EQ(DatePattern::Get_time_Value(QStringLiteral("'x'")), "x");
}
