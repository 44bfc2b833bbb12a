#include "document/StringUtilities.h"

#include <gtest/gtest.h>

// gtest prints QStrings as UTF-16 units; compare as UTF-8 for readable failures.
#define EXPECT_QSTR(actual, expected) EXPECT_EQ(QString(actual).toStdString(), QString(expected).toStdString())

TEST(Trim_Str, TakesWhiteSpaceLineBreaksAndControlCharactersOffBothEndsOnly)
{
    EXPECT_QSTR(Trim_Str(QStringLiteral("  Anna \t\r\n")), "Anna");
    EXPECT_QSTR(Trim_Str(QStringLiteral("\u0001\u0002Anna\u007f")), "Anna");
    // A byte-order mark and a zero-width space (format characters) from an imported line.
    EXPECT_QSTR(Trim_Str(QStringLiteral("\ufeffAnna\u200b")), "Anna");
    // No-break space, next line, line and paragraph separators.
    EXPECT_QSTR(Trim_Str(QStringLiteral("\u00a0\u0085Anna\u2028\u2029")), "Anna");
    // Mixed in any order: the control character does not shield the space behind it.
    EXPECT_QSTR(Trim_Str(QStringLiteral(" \u0001 Anna \u0000 \u001b")), "Anna");
    // What is inside, and what is not white space, stays.
    EXPECT_QSTR(Trim_Str(QStringLiteral("Anna \t\u0001 Berg")), "Anna \t\u0001 Berg");
    EXPECT_QSTR(Trim_Str(QStringLiteral("\U0001F382 cake \U0001F382")), "\U0001F382 cake \U0001F382");
    EXPECT_QSTR(Trim_Str(QStringLiteral("   ")), "");
    EXPECT_QSTR(Trim_Str(QStringLiteral("\u0001\u0002")), "");
    EXPECT_QSTR(Trim_Str(QString()), "");
    EXPECT_QSTR(Trim_Str(QStringLiteral("x")), "x");
    // A format character outside the basic plane (a language tag) is one character, and a
    // lone surrogate is not white space.
    EXPECT_QSTR(Trim_Str(QStringLiteral("\U000E0001x\U000E0001")), "x");
    const QString lone = QString(QChar(0xd83c)) + QStringLiteral("x");
    EXPECT_EQ(Trim_Str(lone), lone);
}

TEST(Remove_Reserve_Char_In_File_Name, RemovesReservedCharactersAtTheEndsAndEverySeparator)
{
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("?*Guests|<>\"%")), "Guests");
    // White space and line breaks do not shield reserved characters, nor the other way round.
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("  \"Guests 2024\"  ")), "Guests 2024");
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("\"Guests 2024\"\n")), "Guests 2024");
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("<\t\u0001 Guests ? *\r\n>")), "Guests");
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("**")), "");
    // Inside, the harmless ones stay.
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("50% off <VIP>?!")), "50% off <VIP>?!");
    // Never a path left behind.
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("../../Settings")), "....Settings");
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("Guests/2024\\May")), "Guests2024May");
    EXPECT_QSTR(Remove_Reserve_Char_In_File_Name(QStringLiteral("/etc/passwd")), "etcpasswd");
    EXPECT_FALSE(Remove_Reserve_Char_In_File_Name(QStringLiteral(" / a / ")).contains(QLatin1Char('/')));
}

TEST(SubstringUtilities, ClampPositionsToTheText)
{
    const QString text = QStringLiteral("Birthday");
    EXPECT_QSTR(Left_Str_substringToIndex(text, 5), "Birth");
    EXPECT_QSTR(Left_Str_substringToIndex(text, 0), "");
    EXPECT_QSTR(Left_Str_substringToIndex(text, -3), "");
    EXPECT_QSTR(Left_Str_substringToIndex(text, 8), "Birthday");
    EXPECT_QSTR(Left_Str_substringToIndex(text, 100), "Birthday");

    EXPECT_QSTR(Right_Str_substringFromIndex(text, 5), "day");
    EXPECT_QSTR(Right_Str_substringFromIndex(text, 0), "Birthday");
    EXPECT_QSTR(Right_Str_substringFromIndex(text, -1), "Birthday");
    EXPECT_QSTR(Right_Str_substringFromIndex(text, 8), "");
    EXPECT_QSTR(Right_Str_substringFromIndex(text, 100), "");

    // Reading around the first occurrence.
    const QString pair = QStringLiteral("Column3=Anna=Berg");
    EXPECT_QSTR(Read_Str_Upto_Index(pair, QStringLiteral("=")), "Column3");
    EXPECT_QSTR(Read_Str_FromIndex(pair, QStringLiteral("=")), "Anna=Berg");
    EXPECT_QSTR(Read_Str_Upto_Index(pair, QStringLiteral(":")), "Column3=Anna=Berg");
    EXPECT_QSTR(Read_Str_FromIndex(pair, QStringLiteral(":")), "");
    EXPECT_QSTR(Read_Str_Upto_Index(pair, QString()), "Column3=Anna=Berg");
    EXPECT_QSTR(Read_Str_FromIndex(pair, QString()), "");
    EXPECT_QSTR(Read_Str_FromIndex(QStringLiteral("ab"), QStringLiteral("b")), "");
    EXPECT_QSTR(Read_Str_Upto_Index(QStringLiteral("ab"), QStringLiteral("a")), "");
}
