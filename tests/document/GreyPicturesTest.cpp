#include "document/GreyPictures.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// Every grey level, in rows of an odd width, taken out of a larger picture so that rows are
// padded, at 600 dpi.
QImage everyLevel(int width)
{
    QImage larger(width + 5, 256 / width + 3, QImage::Format_Grayscale8);
    for (int y = 0; y < larger.height(); ++y)
        for (int x = 0; x < larger.width(); ++x)
            larger.scanLine(y)[x] = uchar((y * larger.width() + x) * 7 % 256);
    QImage grey = larger.copy(2, 1, width, larger.height() - 1);
    grey.setDotsPerMeterX(23622);
    grey.setDotsPerMeterY(11811);
    return grey;
}

} // namespace

// The fast conversions give Qt's pixels, keep the resolution (text drawn on a converted copy
// takes its font size by it), and come back to the grey picture they started from.
TEST(GreyPictures, ConvertAsQtDoesBothWays)
{
    for (const int width : {1, 3, 17, 256})
        for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
            const QImage grey = everyLevel(width);
            const QImage wide = GreyPictures::toThirtyTwoBit(grey, format);
            EXPECT_EQ(wide, grey.convertToFormat(format)) << width << " wide, format " << format;
            EXPECT_EQ(wide.format(), format);
            EXPECT_EQ(wide.dotsPerMeterX(), 23622);
            EXPECT_EQ(wide.dotsPerMeterY(), 11811);
            const QImage back = GreyPictures::toGrey(wide);
            EXPECT_EQ(back, wide.convertToFormat(QImage::Format_Grayscale8)) << width << " wide, format " << format;
            EXPECT_EQ(back, grey);
            EXPECT_EQ(back.dotsPerMeterY(), 11811);
        }
}

// A picture that is not all opaque greys is converted by Qt, whatever the fast way would make of
// it; so are pictures of other formats.
TEST(GreyPictures, OtherPicturesAreLeftToQt)
{
    struct Case
    {
        const char *name;
        QImage::Format format;
        QRgb odd;
    };
    const Case cases[] = {
        {"a coloured pixel", QImage::Format_RGB32, qRgb(200, 10, 10)},
        {"a nearly grey pixel", QImage::Format_ARGB32_Premultiplied, qRgb(120, 120, 121)},
        {"a half transparent pixel", QImage::Format_ARGB32_Premultiplied, qPremultiply(qRgba(90, 90, 90, 128))},
        {"a transparent pixel", QImage::Format_ARGB32, qRgba(0, 0, 0, 0)},
        {"a 16-bit picture", QImage::Format_RGB16, qRgb(64, 64, 64)},
    };
    for (const Case &c : cases) {
        QImage picture(9, 4, c.format);
        picture.fill(QColor(30, 30, 30));
        picture.setPixel(5, 2, c.odd);
        EXPECT_EQ(GreyPictures::toGrey(picture), picture.convertToFormat(QImage::Format_Grayscale8)) << c.name;
    }
    const QImage mono = QImage(8, 8, QImage::Format_Mono);
    EXPECT_EQ(GreyPictures::toThirtyTwoBit(mono).format(), QImage::Format_RGB32);
    EXPECT_TRUE(GreyPictures::toThirtyTwoBit(QImage()).isNull());
    EXPECT_TRUE(GreyPictures::toGrey(QImage()).isNull());
}
