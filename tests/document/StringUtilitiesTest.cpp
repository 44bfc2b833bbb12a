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

// Reserved characters and trimmed ones in layers, whole code points at both ends: the cleaned
// name is the same however the layers interleave, and however many there are.
TEST(Remove_Reserve_Char_In_File_Name, TakesInterleavedLayersOffBothEndsInWholeCodePoints)
{
    const QString high(QChar(0xd83c)), low(QChar(0xdf82));
    const QString layers = QString::fromUtf16(u"? \u200b*\t\u0001|\u00a0\"\n%<\U000E0001>");
    const Rows rows = {
        {"? ? ?Guests? ? ?", "Guests"}, {"%\u0085%\u2028%Guests%\u00a0%", "Guests"},
        {"\U000E0001?\u200b*Anna*\u200b?\U000E0001", "Anna"},                  // format characters beyond the basic plane
        {"?\U0001F382 ?", "\U0001F382"}, {"*\U0001F382*cake*\U0001F382*", "\U0001F382*cake*\U0001F382"},
        {"?" + high, high}, {low + "?", low}, {"?" + low + high + "?", low + high},   // lone halves stay
        {"a ? b", "a ? b"}, {"\t/\\?", ""}, {"? / ?", ""}, {"?a/b?", "ab"}, {"\u200b", ""},
        {layers.repeated(2000) + "Guests" + layers.repeated(2000), "Guests"},
        {layers.repeated(2000) + "G" + layers + "s" + layers.repeated(2000), "G" + layers + "s"},
    };
    for (const auto &[in, out] : rows)
        EXPECT_EQ(Remove_Reserve_Char_In_File_Name(in).toStdString(), out.toStdString()) << in.left(40).toStdString();
}
