// Pixels of the card border: dash codes measured in points along the top edge, width
// centred on the outline, colour untouched by the fill opacity.

#include "panels/CardBackgroundPainter.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor Desk(128, 128, 128);
const QRectF Card(20, 20, 200, 100);

QImage render(const Card_Property &record, int shape = 0)
{
    QImage image(240, 140, QImage::Format_ARGB32);
    image.fill(Desk);
    QPainter painter(&image);
    CardBackgroundPainter::Card_Base_Drawing(painter, record, shape, Card, {}, {});
    return image;
}

Card_Property bordered(const QString &style, int width)
{
    Card_Property record;
    record.Card_border_chk = true;
    record.Card_border_style = style;
    record.Card_bor_Stepper = width;
    record.Card_bordr_clr = Qt::black;
    return record;
}

// Lengths of the alternating ink and gap runs along pixel row `y` from x = 20 (the corner
// where the outline starts) over `length` pixels; ink is a dark pixel.
QList<int> runs(const QImage &image, int y, int length)
{
    QList<int> result;
    bool ink = true;
    int run = 0;
    for (int x = 20; x < 20 + length; ++x) {
        const bool dark = image.pixelColor(x, y).lightness() < 64;
        if (dark == ink) {
            ++run;
        } else {
            result << run;
            ink = dark;
            run = 1;
        }
    }
    result << run;
    return result;
}

// The runs a pattern gives over `length` points, starting with ink.
QList<int> expectedRuns(const QList<qreal> &pattern, int length)
{
    QList<int> result;
    int covered = 0;
    for (int i = 0; covered < length; i = (i + 1) % pattern.size()) {
        const int dash = qMin(int(pattern[i]), length - covered);
        result << dash;
        covered += dash;
    }
    return result;
}

} // namespace

// The dash rules are the elements' (PaintStyles, tested with the shapes): here only that the
// border takes them, in points, along the card's edge.
TEST(CardBackgroundBorder, DashCodesAreTheSharedPatternsAndOthersAreSolid)
{
    const QList<qreal> dashDot = {24, 10, 6, 10};
    EXPECT_EQ(CardBackgroundPainter::dashPattern(QStringLiteral("DD")), dashDot);
    for (int width : {2, 3})
        EXPECT_EQ(runs(render(bordered(QStringLiteral("DD"), width)), 20, 120), expectedRuns(dashDot, 120)) << width;
    for (const QString &code : {QStringLiteral("S"), QStringLiteral("XYZ")})
        EXPECT_EQ(runs(render(bordered(code, 2)), 20, 190), QList<int>{190}) << code.toStdString();
}

TEST(CardBackgroundBorder, StrokeIsCentredOnTheCardOutlineAndNeverNegative)
{
    const QImage image = render(bordered(QStringLiteral("S"), 6));
    // Three points of the width lie outside the card, three inside.
    EXPECT_EQ(image.pixelColor(16, 70), Desk);
    EXPECT_EQ(image.pixelColor(17, 70), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(22, 70), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(23, 70), QColor(Qt::white));
    // Mitred joins keep the corner square.
    EXPECT_EQ(image.pixelColor(17, 17), QColor(Qt::black));

    // A negative width from a damaged file draws a hairline.
    {
    const QImage image = render(bordered(QStringLiteral("DA"), -5));
    EXPECT_LT(image.pixelColor(60, 20).lightness(), 200);
    EXPECT_EQ(image.pixelColor(60, 70), QColor(Qt::white));
    }
}

TEST(CardBackgroundBorder, ColourIgnoresTheFillAndPictureOpacity)
{
    Card_Property record = bordered(QStringLiteral("S"), 4);
    record.Card_fill_chk = true;
    record.Card_fill_clr = QColor(255, 0, 0, 0);
    record.Card_alpha_Stepper = 0.0f;
    record.Card_bordr_clr = QColor(0, 0, 200);
    const QImage image = render(record);
    EXPECT_EQ(image.pixelColor(20, 70), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(100, 70), QColor(Qt::white));

    // Nor does a picture's.
    {
    Card_Property record = bordered(QStringLiteral("S"), 4);
    record.Card_fill_chk = true;
    record.Card_fill_style = QStringLiteral("I");
    record.Card_BG_Image = QImage(2, 2, QImage::Format_RGB32);
    record.Card_BG_Image.fill(Qt::red);
    record.Card_alpha_Stepper = 0.2f;
    record.Card_bordr_clr = QColor(0, 0, 200);
    const QImage image = render(record);
    EXPECT_EQ(image.pixelColor(20, 70), QColor(0, 0, 200));
    EXPECT_EQ(image.pixelColor(18, 70), QColor(0, 0, 200)) << "outside half of the border, over the desk";
    }
}

TEST(CardBackgroundBorder, EllipseAndRoundedBordersFollowTheirShape)
{
    const QImage ellipse = render(bordered(QStringLiteral("S"), 4), 2);
    EXPECT_EQ(ellipse.pixelColor(120, 20), QColor(Qt::black)) << "top of the ellipse";
    EXPECT_EQ(ellipse.pixelColor(20, 70), QColor(Qt::black)) << "left of the ellipse";
    EXPECT_EQ(ellipse.pixelColor(25, 25), Desk) << "no border in the rectangle's corner";

    const QImage rounded = render(bordered(QStringLiteral("S"), 2), 1);
    EXPECT_EQ(rounded.pixelColor(120, 20), QColor(Qt::black));
    EXPECT_EQ(rounded.pixelColor(20, 20), Desk);

    // A border without a fill leaves the white underlay inside.
    EXPECT_EQ(ellipse.pixelColor(120, 70), QColor(Qt::white));
}

