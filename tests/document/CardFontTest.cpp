#include "document/CardFont.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

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

TEST(CardFont, ResolvesToAMetricCompatibleInstalledFamily)
{
    const QFont font = CardFont(QStringLiteral("TimesNewRomanPS-ItalicMT"), 14).toQFont();
    const QFontInfo info(font);
    // fonts-liberation answers for Times New Roman with the same metrics.
    EXPECT_TRUE(info.family().contains(QStringLiteral("Times New Roman")) || info.family().contains(QStringLiteral("Liberation Serif")))
        << info.family().toStdString();
    EXPECT_TRUE(info.italic());
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
