#include "document/CardFont.h"

#include <gtest/gtest.h>

TEST(CardFont, PostScriptNamesGiveFamilyAndStyleAndSurviveQFont)
{
    const std::tuple<const char *, const char *, bool, bool> cases[] = {
        {"TimesNewRomanPS-ItalicMT", "Times New Roman", false, true},
        {"TimesNewRomanPS-BoldItalicMT", "Times New Roman", true, true},
        {"ArialMT", "Arial", false, false}};
    for (const auto &[name, family, bold, italic] : cases) {
        const CardFont font(QString::fromLatin1(name), 18);
        EXPECT_EQ(font.familyName(), QLatin1String(family)) << name;
        EXPECT_EQ(font.isBold(), bold) << name;
        EXPECT_EQ(font.isItalic(), italic) << name;
        const CardFont back = CardFont::fromQFont(font.toQFont());
        EXPECT_EQ(back.familyName(), font.familyName()) << name;
        EXPECT_EQ(back.isBold(), bold) << name;
        EXPECT_EQ(back.isItalic(), italic) << name;
        EXPECT_DOUBLE_EQ(back.pointSize, 18) << name;
    }
}
