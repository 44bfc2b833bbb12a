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

// The pixels of a picture's first row, unpremultiplied.
std::vector<QRgb> pixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<QRgb> out;
    for (int x = 0; x < argb.width(); ++x)
        out.push_back(argb.pixel(x, 0));
    return out;
}

QRgb grey(int v, int alpha = 255)
{
    return qRgba(v, v, v, alpha);
}

} // namespace

TEST(ImageEffects, EachEffectGivesTheValuesWorkedOutByHand)
{
    using E = ImageEffects;
    const QRgb red = qRgb(255, 0, 0);
    const std::vector<std::tuple<const char *, QImage, std::vector<QRgb>>> rows = {
        // 0.2126 x 255 = 54.2; 0.7152 x 255 = 182.4; 2.126 + 14.304 + 2.166 = 18.6
        {"monochrome", E::monochrome(row({red, qRgb(0, 255, 0), qRgb(10, 20, 30)})), {grey(54), grey(182), grey(19)}},
        // .393x50 + .769x100 + .189x150 = 124.9; .349x50 + .686x100 + .168x150 = 111.25;
        // .272x50 + .534x100 + .131x150 = 86.65; white: 1.351 and 1.203 clamp, 0.937 x 255 = 238.9
        {"sepia", E::sepia(row({qRgb(50, 100, 150), qRgb(255, 255, 255)})), {qRgb(125, 111, 87), qRgb(255, 255, 239)}},
        {"invert keeps alpha", E::invert(row({qRgba(10, 20, 30, 128)})), {qRgba(245, 235, 225, 128)}},
        // 180 degrees: R = 255 x (0.213 - 0.787) < 0; G = B = 255 x (0.213 + 0.213) = 108.6
        {"hue 180", E::hue(row({red}), 180), {qRgb(0, 109, 109)}},
        // Greys have no hue: every row of the matrix sums to 1 whatever the angle.
        {"hue of grey", E::hue(row({grey(128)}), 73), {grey(128)}},
        {"hue 0", E::hue(row({qRgb(12, 200, 99)}), 0), {qRgb(12, 200, 99)}},
        {"saturation 0", E::colorControls(row({red}), 0, 0, 1), {grey(54)}},
        // Y = 142.98; 142.98 + 2(100 - 142.98) = 57.02, 142.98 + 2 x 7.02 = 157.02, 257.0 -> 255
        {"saturation 2", E::colorControls(row({qRgb(100, 150, 200)}), 2, 0, 1), {qRgb(57, 157, 255)}},
        // Brightness 0.1 adds 25.5: 100 -> 125.5 -> 126, 250 -> 255.
        {"brightness", E::colorControls(row({qRgb(100, 0, 250)}), 1, 0.1, 1), {qRgb(126, 26, 255)}},
        // Contrast 2 around 127.5: 100 -> 72.5 -> 73, 200 -> 272.5 -> 255, 127 -> 126.5 -> 127.
        {"contrast", E::colorControls(row({qRgb(100, 200, 127)}), 1, 0, 2), {qRgb(73, 255, 127)}},
        {"box blur", E::boxBlur(row({grey(0), grey(0), grey(255), grey(0), grey(0)}), 1),
         {grey(0), grey(85), grey(85), grey(85), grey(0)}},
        // Radii are capped at 2000 pixels: 255 x 2000 / 4001 and 255 x 2001 / 4001.
        {"box blur capped", E::boxBlur(row({grey(0), grey(255)}), 5000), {grey(127), grey(128)}},
        // Averaged premultiplied: the red keeps its colour, only its alpha spreads (no dark fringe).
        {"box blur over clear", E::boxBlur(row({red, 0, 0}), 1), {qRgba(255, 0, 0, 170), qRgba(255, 0, 0, 85), 0}},
        // 128/255 -> linear 0.21586; x 2 = 0.43172 -> 0.68845 -> 175.6
        {"exposure up", E::exposure(row({qRgb(128, 0, 255)}), 1.0), {qRgb(176, 0, 255)}},
        // One stop down halves linear light: 255 -> 0.5 linear -> 0.7354 -> 187.5.
        {"exposure down", E::exposure(row({grey(255)}), -1.0), {grey(188)}},
    };
    for (const auto &[name, image, expected] : rows)
        EXPECT_EQ(pixels(image), expected) << name;

    const QImage same = row({qRgb(1, 2, 3), qRgb(4, 5, 6)});
    EXPECT_EQ(ImageEffects::boxBlur(same, 0), same);   // radius 0 leaves the picture
}

TEST(ImageEffects, SharpenLuminanceAgainstTheNeighbourhoodMean)
{
    QImage image(3, 3, QImage::Format_ARGB32);
    image.fill(grey(100));
    image.setPixel(1, 1, grey(160));
    const QImage out = ImageEffects::sharpenLuminance(image, 1.0, 1).convertToFormat(QImage::Format_ARGB32);
    // Centre: mean of the 3x3 square (8 x 100 + 160) / 9 = 106.67; 160 + (160 - 106.67) = 213.3.
    // Corner: edges repeated, its square holds the centre once: 100 - 6.67 = 93.3.
    EXPECT_EQ(out.pixel(1, 1), grey(213));
    EXPECT_EQ(out.pixel(0, 0), grey(93));
    // Half the strength: 160 + 26.67 = 186.7.
    EXPECT_EQ(ImageEffects::sharpenLuminance(image, 0.5, 1).convertToFormat(QImage::Format_ARGB32).pixel(1, 1), grey(187));
    QImage flat(4, 4, QImage::Format_ARGB32);   // a flat picture has nothing to sharpen
    flat.fill(qRgb(40, 90, 140));
    EXPECT_EQ(ImageEffects::sharpenLuminance(flat, 2.0, 1), flat);
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
    EXPECT_EQ((std::vector<double>{c.saturation, c.contrast, c.blur, c.hue, c.exposure}), (std::vector<double>{0, 4, 0, 0, 0}));
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
    EXPECT_EQ(pixels(ImageEffects::apply(row({qRgb(255, 0, 0)}), s, 1.0)), std::vector<QRgb>{grey(201)});

    QImage stripes(9, 9, QImage::Format_ARGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            stripes.setPixel(x, y, x % 3 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    ImageEffects::Settings blur;
    blur.blur = 1.0;   // one point: at two pixels per point, a two-pixel box
    EXPECT_EQ(ImageEffects::apply(stripes, blur, 2.0).convertToFormat(QImage::Format_ARGB32), ImageEffects::boxBlur(stripes, 2));

    const QImage neutral = ImageEffects::apply(stripes, ImageEffects::Settings(), 3.0);
    EXPECT_EQ(neutral.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(neutral.convertToFormat(QImage::Format_ARGB32), stripes);
    EXPECT_TRUE(ImageEffects::apply(QImage(), s, 1.0).isNull());
}
