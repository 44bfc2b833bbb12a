#include "barcode/BarcodeUnits.h"

#include <gtest/gtest.h>

using namespace BarcodeUnits;

TEST(BarcodeUnits, UnitRule)
{
    EXPECT_DOUBLE_EQ(toPoints(1.0, 0), 72.0);
    EXPECT_NEAR(toPoints(2.54, 1), 72.0, 0.001);
    EXPECT_NEAR(toPoints(25.4, 2), 72.0, 0.001);
    EXPECT_DOUBLE_EQ(milsToPoints(10), 0.72);
    EXPECT_EQ(pixelSize(QSizeF(10.01, 1), 72), QSize(11, 1)); // always rounds up
}

TEST(BarcodeUnits, ResolutionStepSizesKeepsModulesSharpAndRefusesBadInput)
{
    QImage qr(60, 60, QImage::Format_ARGB32);
    qr.fill(Qt::black);
    const QImage big = Increase_DPI(qr, QSizeF(60, 60), 600);
    ASSERT_FALSE(big.isNull());
    EXPECT_EQ(big.size(), QSize(500, 500)); // 60 points at 600 dpi
    EXPECT_NEAR(pointSize(big).width(), 60.0, 0.05);

    QImage checker(2, 1, QImage::Format_RGB32);
    checker.setPixel(0, 0, qRgb(0, 0, 0));
    checker.setPixel(1, 0, qRgb(255, 255, 255));
    const QImage sharp = Increase_DPI(checker, QSizeF(2, 1), 720); // 10 pixels per point
    ASSERT_EQ(sharp.size(), QSize(20, 10));
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(qGray(sharp.pixel(x, 5)), x < 10 ? 0 : 255) << x;

    EXPECT_TRUE(Increase_DPI(checker, QSizeF(1, 1), 0).isNull());
    EXPECT_TRUE(Increase_DPI(checker, QSizeF(1, 1), -72).isNull());
    EXPECT_TRUE(Increase_DPI(QImage(), QSizeF(1, 1), 600).isNull());
    EXPECT_TRUE(Increase_DPI(checker, QSizeF(0, 1), 600).isNull());
}
