// The eight picture effects against values worked out by hand from the formulas in
// ImageEffects.h (Rec. 709 luma 0.2126 R + 0.7152 G + 0.0722 B; results rounded to nearest).

#include "document/ImageEffects.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QImage row(std::initializer_list<QRgb> pixels)
{
    QImage image(int(pixels.size()), 1, QImage::Format_ARGB32);
    int x = 0;
    for (QRgb p : pixels)
        image.setPixel(x++, 0, p);
    return image;
}

QImage single(QRgb pixel)
{
    return row({pixel});
}

QRgb at(const QImage &image, int x = 0, int y = 0)
{
    return image.convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

#define EXPECT_RGBA(pixel, r, g, b, a)                                                                              \
    do {                                                                                                            \
        const QRgb p_ = (pixel);                                                                                    \
        EXPECT_EQ(qRed(p_), r);                                                                                     \
        EXPECT_EQ(qGreen(p_), g);                                                                                   \
        EXPECT_EQ(qBlue(p_), b);                                                                                    \
        EXPECT_EQ(qAlpha(p_), a);                                                                                   \
    } while (0)

} // namespace

TEST(ImageEffects, MonochromeUsesRec709Luma)
{
    const QImage out = ImageEffects::monochrome(row({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(10, 20, 30)}));
    EXPECT_RGBA(at(out, 0), 54, 54, 54, 255);    // 0.2126 x 255 = 54.2
    EXPECT_RGBA(at(out, 1), 182, 182, 182, 255); // 0.7152 x 255 = 182.4
    EXPECT_RGBA(at(out, 2), 19, 19, 19, 255);    // 2.126 + 14.304 + 2.166 = 18.6
}

TEST(ImageEffects, SepiaMatrixAndClamping)
{
    const QImage out = ImageEffects::sepia(row({qRgb(50, 100, 150), qRgb(255, 255, 255)}));
    // .393x50 + .769x100 + .189x150 = 124.9; .349x50 + .686x100 + .168x150 = 111.25;
    // .272x50 + .534x100 + .131x150 = 86.65
    EXPECT_RGBA(at(out, 0), 125, 111, 87, 255);
    // White: 1.351 and 1.203 of 255 clamp to 255; 0.937 x 255 = 238.9
    EXPECT_RGBA(at(out, 1), 255, 255, 239, 255);
}

TEST(ImageEffects, InvertKeepsAlpha)
{
    EXPECT_RGBA(at(ImageEffects::invert(single(qRgba(10, 20, 30, 128)))), 245, 235, 225, 128);
}

TEST(ImageEffects, HueRotation)
{
    // 180 degrees (cos -1, sin 0): R = 255 x (0.213 - 0.787) < 0; G = B = 255 x (0.213 + 0.213) = 108.6
    EXPECT_RGBA(at(ImageEffects::hue(single(qRgb(255, 0, 0)), 180)), 0, 109, 109, 255);
    // Greys have no hue: every row of the matrix sums to 1 whatever the angle.
    EXPECT_RGBA(at(ImageEffects::hue(single(qRgb(128, 128, 128)), 73)), 128, 128, 128, 255);
    EXPECT_RGBA(at(ImageEffects::hue(single(qRgb(12, 200, 99)), 0)), 12, 200, 99, 255);
}

TEST(ImageEffects, SaturationBrightnessContrast)
{
    // Saturation 0: luma 54.2 everywhere.
    EXPECT_RGBA(at(ImageEffects::colorControls(single(qRgb(255, 0, 0)), 0, 0, 1)), 54, 54, 54, 255);
    // Saturation 2 on (100, 150, 200): Y = 142.98; 142.98 + 2(100 - 142.98) = 57.02,
    // 142.98 + 2 x 7.02 = 157.02, 142.98 + 2 x 57.02 = 257.0 -> 255.
    EXPECT_RGBA(at(ImageEffects::colorControls(single(qRgb(100, 150, 200)), 2, 0, 1)), 57, 157, 255, 255);
    // Brightness 0.1 adds 25.5: 100 -> 125.5 -> 126, 250 -> 255.
    EXPECT_RGBA(at(ImageEffects::colorControls(single(qRgb(100, 0, 250)), 1, 0.1, 1)), 126, 26, 255, 255);
    // Contrast 2 around 127.5: 100 -> 72.5 -> 73, 200 -> 272.5 -> 255, 127 -> 126.5 -> 127.
    EXPECT_RGBA(at(ImageEffects::colorControls(single(qRgb(100, 200, 127)), 1, 0, 2)), 73, 255, 127, 255);
}

TEST(ImageEffects, SharpenLuminanceAgainstTheNeighbourhoodMean)
{
    QImage image(3, 3, QImage::Format_ARGB32);
    image.fill(qRgb(100, 100, 100));
    image.setPixel(1, 1, qRgb(160, 160, 160));
    const QImage out = ImageEffects::sharpenLuminance(image, 1.0, 1);
    // Centre: mean of the 3x3 square (8 x 100 + 160) / 9 = 106.67; 160 + (160 - 106.67) = 213.3.
    EXPECT_RGBA(at(out, 1, 1), 213, 213, 213, 255);
    // Corner: edges repeated, its square holds the centre once: 100 - 6.67 = 93.3.
    EXPECT_RGBA(at(out, 0, 0), 93, 93, 93, 255);
    // Half the strength: 160 + 26.67 = 186.7.
    EXPECT_RGBA(at(ImageEffects::sharpenLuminance(image, 0.5, 1), 1, 1), 187, 187, 187, 255);
    // A flat picture has nothing to sharpen.
    QImage flat(4, 4, QImage::Format_ARGB32);
    flat.fill(qRgb(40, 90, 140));
    EXPECT_EQ(ImageEffects::sharpenLuminance(flat, 2.0, 1), flat);
}

TEST(ImageEffects, BoxBlurMeansWithRepeatedEdges)
{
    const QImage out = ImageEffects::boxBlur(row({qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 0),
                                                  qRgb(0, 0, 0)}),
                                             1);
    EXPECT_RGBA(at(out, 0), 0, 0, 0, 255);
    EXPECT_RGBA(at(out, 1), 85, 85, 85, 255);
    EXPECT_RGBA(at(out, 2), 85, 85, 85, 255);
    EXPECT_RGBA(at(out, 3), 85, 85, 85, 255);
    EXPECT_RGBA(at(out, 4), 0, 0, 0, 255);
    // Radii are capped at 2000 pixels: [0, 255] gives 255 x 2000 / 4001 = 127.5 less a hair, and
    // 255 x 2001 / 4001 = 127.5 plus a hair.
    const QImage wide = ImageEffects::boxBlur(row({qRgb(0, 0, 0), qRgb(255, 255, 255)}), 5000);
    EXPECT_RGBA(at(wide, 0), 127, 127, 127, 255);
    EXPECT_RGBA(at(wide, 1), 128, 128, 128, 255);
    // Radius 0 leaves the picture as it is.
    const QImage same = row({qRgb(1, 2, 3), qRgb(4, 5, 6)});
    EXPECT_EQ(ImageEffects::boxBlur(same, 0), same);
}

TEST(ImageEffects, BoxBlurGivesNoDarkFringeAtTransparentPixels)
{
    // Averaged premultiplied: the red keeps its colour, only its alpha spreads.
    const QImage out = ImageEffects::boxBlur(row({qRgba(255, 0, 0, 255), qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 0)}), 1);
    EXPECT_RGBA(at(out, 0), 255, 0, 0, 170); // window {0, 0, 1}: alpha (255 + 255 + 0) / 3
    EXPECT_RGBA(at(out, 1), 255, 0, 0, 85);
    EXPECT_EQ(qAlpha(at(out, 2)), 0);
}

TEST(ImageEffects, ExposureScalesLinearLight)
{
    const QImage out = ImageEffects::exposure(row({qRgb(128, 0, 255)}), 1.0);
    // 128/255 = 0.50196 -> linear ((0.50196 + 0.055) / 1.055)^2.4 = 0.21586; x 2 = 0.43172;
    // back: 1.055 x 0.43172^(1/2.4) - 0.055 = 0.68845 -> 175.6.
    EXPECT_RGBA(at(out, 0), 176, 0, 255, 255);
    // One stop down halves linear light: 255 -> 0.5 linear -> 0.7354 -> 187.5.
    EXPECT_EQ(qRed(at(ImageEffects::exposure(single(qRgb(255, 255, 255)), -1.0))), 188);
}

TEST(ImageEffects, OutOfRangeValuesAreClampedAndNotANumberIsNeutral)
{
    ImageEffects::Settings s;
    s.saturation = -3;
    s.contrast = 99;
    s.blur = -1;
    s.hue = std::numeric_limits<double>::quiet_NaN();
    s.exposure = std::numeric_limits<double>::infinity();
    const ImageEffects::Settings c = s.clamped();
    EXPECT_DOUBLE_EQ(c.saturation, 0);
    EXPECT_DOUBLE_EQ(c.contrast, 4);
    EXPECT_DOUBLE_EQ(c.blur, 0);
    EXPECT_DOUBLE_EQ(c.hue, 0);
    EXPECT_DOUBLE_EQ(c.exposure, 0);

    ImageEffects::Settings onlyNaN;
    onlyNaN.brightness = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(onlyNaN.isNeutral());
}

TEST(ImageEffects, PipelineRunsInOrderAndConvertsLengthsFromPoints)
{
    ImageEffects::Settings s;
    s.monochrome = true;
    s.invert = true;
    // Red -> luma 54 -> inverted 201: monochrome comes before invert.
    EXPECT_RGBA(at(ImageEffects::apply(single(qRgb(255, 0, 0)), s, 1.0)), 201, 201, 201, 255);

    QImage stripes(9, 9, QImage::Format_ARGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            stripes.setPixel(x, y, x % 3 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    ImageEffects::Settings blur;
    blur.blur = 1.0; // one point
    // At two pixels per point a one-point blur is a two-pixel box.
    EXPECT_EQ(ImageEffects::apply(stripes, blur, 2.0).convertToFormat(QImage::Format_ARGB32),
              ImageEffects::boxBlur(stripes, 2));

    const QImage neutral = ImageEffects::apply(stripes, ImageEffects::Settings(), 3.0);
    EXPECT_EQ(neutral.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(neutral.convertToFormat(QImage::Format_ARGB32), stripes);
    EXPECT_TRUE(ImageEffects::apply(QImage(), s, 1.0).isNull());
}
