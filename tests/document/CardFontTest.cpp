#include "document/CardFont.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

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

TEST(CardFont, LargeTextIsDrawn)
{
    // A 14-point title on a 600 dpi export is 117 pixels high; text that large must still reach the picture.
    for (const int pixels : {40, 64, 65, 117, 240}) {
        QImage image(4 * pixels, 2 * pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QFont font = CardFont(QStringLiteral("TimesNewRomanPSMT"), 14).toQFont();
        font.setPixelSize(pixels);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(pixels / 4.0, 1.5 * pixels), QStringLiteral("Hi"));
        painter.end();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
        // "Hi" covers a few percent of its em square squared.
        EXPECT_GT(dark, pixels * pixels / 50) << pixels << " pixels";
    }
}
