#include "document/StringUtilities.h"

#include <gtest/gtest.h>

// Each row: input, expected; compared as UTF-8 for readable failures.
using Rows = std::vector<std::pair<QString, QString>>;

TEST(Trim_Str, TakesWhiteSpaceLineBreaksAndControlCharactersOffBothEndsOnly)
{
    const Rows rows = {
        {"  Anna \t\r\n", "Anna"}, {"\u0001\u0002Anna\u007f", "Anna"},
        {"\ufeffAnna\u200b", "Anna"},                         // byte-order mark, zero-width space
        {"\u00a0\u0085Anna\u2028\u2029", "Anna"},             // no-break space, next line, separators
        {QStringLiteral(" \u0001 Anna \u0000 \u001b"), "Anna"},               // a control character shields no space
        {"Anna \t\u0001 Berg", "Anna \t\u0001 Berg"},         // inside stays
        {"\U0001F382 cake \U0001F382", "\U0001F382 cake \U0001F382"},
        {"   ", ""}, {"\u0001\u0002", ""}, {QString(), ""}, {"x", "x"},
        {"\U000E0001x\U000E0001", "x"},                       // a format character beyond the basic plane
        {QString(QChar(0xd83c)) + "x", QString(QChar(0xd83c)) + "x"},   // a lone surrogate is no space
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(Trim_Str(in).toStdString(), out.toStdString()) << in.toStdString();
}

TEST(Remove_Reserve_Char_In_File_Name, RemovesReservedCharactersAtTheEndsAndEverySeparator)
{
    const Rows rows = {
        {"?*Guests|<>\"%", "Guests"}, {"  \"Guests 2024\"  ", "Guests 2024"},   // white space shields nothing
        {"\"Guests 2024\"\n", "Guests 2024"}, {"<\t\u0001 Guests ? *\r\n>", "Guests"}, {"**", ""},
        {"50% off <VIP>?!", "50% off <VIP>?!"},                                  // inside, the harmless ones stay
        {"../../Settings", "....Settings"}, {"Guests/2024\\May", "Guests2024May"},   // never a path
        {"/etc/passwd", "etcpasswd"}, {" / a / ", "a"},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(Remove_Reserve_Char_In_File_Name(in).toStdString(), out.toStdString()) << in.toStdString();
}
