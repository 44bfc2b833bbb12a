#include "document/CardFont.h"

#include <QFontInfo>

#include <gtest/gtest.h>

TEST(CardFont, PostScriptNamesGiveFamilyAndStyle)
{
    const CardFont italic(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14);
    EXPECT_EQ(italic.familyName(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(italic.isItalic());
    EXPECT_FALSE(italic.isBold());

    const CardFont boldItalic(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18);
    EXPECT_TRUE(boldItalic.isBold());
    EXPECT_TRUE(boldItalic.isItalic());

    const CardFont arial(QStringLiteral("ArialMT"), 12);
    EXPECT_EQ(arial.familyName(), QStringLiteral("Arial"));
    EXPECT_FALSE(arial.isBold());
}

TEST(CardFont, ResolvesToAMetricCompatibleInstalledFamily)
{
    const QFont font = CardFont(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14).toQFont();
    const QFontInfo info(font);
    // fonts-liberation answers for Times New Roman with the same metrics.
    EXPECT_TRUE(info.family().contains(QStringLiteral("Times New Roman")) || info.family().contains(QStringLiteral("Liberation Serif")))
        << info.family().toStdString();
    EXPECT_TRUE(info.italic());
}

TEST(CardFont, RoundTripsThroughQFont)
{
    const CardFont original(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 18);
    const CardFont back = CardFont::fromQFont(original.toQFont());
    EXPECT_EQ(back.familyName(), original.familyName());
    EXPECT_TRUE(back.isBold());
    EXPECT_TRUE(back.isItalic());
    EXPECT_DOUBLE_EQ(back.pointSize, 18);
}
