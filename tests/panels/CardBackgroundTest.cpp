// Pixels of the card background: the card shapes, every fill kind, opacity, the border (dash
// codes measured in points along the top edge, width centred on the outline, colour untouched
// by the fill opacity), and the partial repaint that must paint exactly what a full one paints.

#include "panels/CardBackgroundPainter.h"

#include "support/TestHelpers.h"

#include <QPainter>

#include <functional>
#include <thread>

using TestHelpers::expectPixels;

namespace {

const QColor Desk(128, 128, 128);
const QColor White(Qt::white), Black(Qt::black);
const QRectF Card(20, 20, 160, 100);

QImage render(const Card_Property &record, int shape = 0, const QString &resources = {}, const QRectF &dirty = {},
              const QRectF &card = Card)
{
    QImage image(int(card.right()) + 20, 140, QImage::Format_ARGB32);
    image.fill(Desk);
    QPainter painter(&image);
    CardBackgroundPainter::Card_Base_Drawing(painter, record, shape, card, dirty, resources);
    return image;
}

Card_Property filled(const QString &style)
{
    Card_Property record;
    record.Card_fill_chk = true;
    record.Card_fill_style = style;
    return record;
}

// Left half of each period is ink, right half transparent.
QImage stripes(int period, const QColor &ink)
{
    QImage pattern(period, period, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    for (int y = 0; y < period; ++y)
        for (int x = 0; x < period / 2; ++x)
            pattern.setPixelColor(x, y, ink);
    return pattern;
}

// The border's tests draw a wider card, 200 x 100 at (20, 20).
Card_Property bordered(const QString &style, int width)
{
    Card_Property record;
    record.Card_border_chk = true;
    record.Card_border_style = style;
    record.Card_bor_Stepper = width;
    record.Card_bordr_clr = Qt::black;
    return record;
}

QImage renderWide(const Card_Property &record, int shape = 0)
{
    return render(record, shape, {}, {}, QRectF(20, 20, 200, 100));
}

} // namespace

TEST(CardBackgroundShapes, FreshRecordPaintsOnlyAWhiteCardInEachShape)
{
    const Card_Property fresh;
    const QRect inside = Card.toRect();
    const QImage rect = render(fresh, 0);
    EXPECT_TRUE(TestHelpers::onlyInside(rect, Desk, inside));
    EXPECT_EQ(TestHelpers::countPixelsDifferent(rect, Qt::white, inside), 0);

    // Rounded: the corner outside the radius stays desk, the straight edge reaches the rectangle.
    const QImage rounded = render(fresh, 1);
    expectPixels(rounded, {{20, 20, Desk}, {21, 21, Desk}, {24, 24, White}, {100, 20, White}, {179, 119, Desk}}, 3);
    EXPECT_TRUE(TestHelpers::onlyInside(rounded, Desk, inside));
    expectPixels(render(fresh, 2), {{30, 30, Desk}, {170, 110, Desk}, {100, 21, White}, {21, 70, White}, {100, 70, White}}, 3);
    // Shape numbers other than 1 and 2 draw the rectangle.
    EXPECT_EQ(render(fresh, 7), rect);
    EXPECT_EQ(render(fresh, -1), rect);

    // The rounded corner's radius stays 10 points on large cards: it ends at x = 10.
    QImage image(600, 400, QImage::Format_ARGB32);
    image.fill(Desk);
    QPainter painter(&image);
    CardBackgroundPainter::Card_Base_Drawing(painter, Card_Property(), 1, QRectF(0, 0, 600, 400), {}, {});
    painter.end();
    expectPixels(image, {{1, 1, Desk}, {10, 1, White}, {1, 10, White}}, 3);
}

// Each row: a record and the colour its fill paints in the middle of the card.
TEST(CardBackgroundFills, SolidPictureAndOpacityRowsPaintTheirColourOverWhite)
{
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    auto record = [&](const char *style, const QColor &fill, float alpha = 100.0f, const char *layout = "", bool on = true) {
        Card_Property r = filled(QLatin1String(style));
        if (fill.isValid())
            r.Card_fill_clr = fill;
        else
            r.Card_BG_Image = red;
        r.Card_alpha_Stepper = alpha;
        r.Card_BG_Image_Layout = QLatin1String(layout);
        r.Card_fill_chk = on;
        return r;
    };
    const QColor pink(255, 127, 127);
    const std::vector<std::tuple<const char *, Card_Property, QColor>> rows = {
        {"solid", record("S", QColor(200, 30, 40)), QColor(200, 30, 40)},
        {"a damaged file's unknown code draws as solid", record("Q", QColor(200, 30, 40)), QColor(200, 30, 40)},
        {"half-transparent red over the white underlay", record("S", QColor(255, 0, 0, 128)), pink},
        {"fill off: the style is kept but only white is painted", record("S", QColor(255, 0, 0), 100, "", false), White},
        {"picture, the initial hundred is opaque", record("I", {}, 100.0f), QColor(255, 0, 0)},
        {"picture at 1", record("I", {}, 1.0f), QColor(255, 0, 0)},
        {"picture at half", record("I", {}, 0.5f), pink},
        {"opacity 0 hides the picture", record("I", {}, 0.0f), White},
        {"tiled picture at half", record("I", {}, 0.5f, "Tile"), pink},
    };
    for (const auto &[name, r, colour] : rows) {
        SCOPED_TRACE(name);
        expectPixels(render(r), {{100, 70, colour}}, 3);
    }
    // Transparent fill colours of every kind show the white underlay.
    for (const QString &style : {QStringLiteral("S"), QStringLiteral("G"), QStringLiteral("H")}) {
        Card_Property r = filled(style);
        r.Card_fill_clr = r.Card_fill_Grd_1_clr = r.Card_hatch_bk_clr = QColor(0, 0, 0, 0);
        r.Card_fill_Grd_2_clr = QColor(0, 0, 255, 0);
        EXPECT_EQ(TestHelpers::countPixelsDifferent(render(r), Qt::white, Card.toRect()), 0) << style.toStdString();
    }
}

TEST(CardBackgroundFills, GradientRunsAtItsAngleAcrossTheWholeCard)
{
    Card_Property record = filled(QStringLiteral("G"));
    record.Card_fill_Grd_1_clr = QColor(255, 0, 0);
    record.Card_fill_Grd_2_clr = QColor(0, 0, 255);
    record.Card_grad_Stepper = 0;
    QImage image = render(record);
    expectPixels(image, {{20, 70, QColor(255, 0, 0)}, {179, 70, QColor(0, 0, 255)}, {100, 70, QColor(127, 0, 127)}}, 6);
    EXPECT_EQ(image.pixelColor(60, 21), image.pixelColor(60, 118)) << "a horizontal gradient is constant down a column";
    record.Card_grad_Stepper = 90;
    image = render(record);
    expectPixels(image, {{100, 20, QColor(255, 0, 0)}, {100, 119, QColor(0, 0, 255)}}, 6);
    EXPECT_EQ(image.pixelColor(21, 50), image.pixelColor(178, 50));
    // Other angles follow the shared gradient rule, tested with the shapes.
}

TEST(CardBackgroundFills, HatchPaintsItsBackgroundThenTheOpaquePatternFromTheOrigin)
{
    QTemporaryDir resources;
    const QString patterns = QDir(resources.path()).filePath(QStringLiteral("Fill_Style_Image/"));
    QDir().mkpath(patterns);
    ASSERT_TRUE(stripes(8, Qt::black).save(patterns + QStringLiteral("Stripes.png")));
    const QColor yellow(255, 255, 0);
    Card_Property record = filled(QStringLiteral("H"));
    record.Card_hatch_style = QStringLiteral("Stripes");
    record.Card_hatch_bk_clr = yellow;
    QImage image = render(record, 0, resources.path());
    // Tiles start at the card's corner (x = 20) on every device: (x - 20) % 8 < 4 is ink.
    expectPixels(image, {{40, 50, yellow}, {43, 50, yellow}, {44, 50, Black}, {47, 50, Black}}, 3);
    EXPECT_TRUE(TestHelpers::onlyInside(image, Desk, Card.toRect())) << "the pattern stays inside the card";

    // Opacity reaches the background colour only: the pattern keeps its ink.
    record.Card_hatch_bk_clr = QColor(255, 255, 0, 0);
    expectPixels(render(record, 0, resources.path()), {{44, 50, Black}, {40, 50, White}}, 3);

    // An unknown pattern, or a name that would leave the pattern folder: just the background colour.
    record.Card_hatch_bk_clr = yellow;
    for (const char *name : {"Missing", "../Fill_Style_Image/Stripes"}) {
        record.Card_hatch_style = QLatin1String(name);
        EXPECT_EQ(TestHelpers::countPixelsDifferent(render(record, 0, resources.path()), yellow, Card.toRect()), 0) << name;
    }
    // A pattern saved as another picture type still draws under its base name.
    QImage ink(8, 8, QImage::Format_RGB32);
    ink.fill(Qt::black);
    ASSERT_TRUE(ink.save(patterns + QStringLiteral("Ink.jpg")));
    record.Card_hatch_style = QStringLiteral("Ink");
    expectPixels(render(record, 0, resources.path()), {{100, 70, Black}}, 12);
}

TEST(CardBackgroundFills, StretchedAndTiledPicturesFillTheCardShapeOnly)
{
    QImage quadrants(2, 2, QImage::Format_RGB32);
    quadrants.setPixelColor(0, 0, QColor(255, 0, 0));
    quadrants.setPixelColor(1, 0, QColor(0, 255, 0));
    quadrants.setPixelColor(0, 1, QColor(0, 0, 255));
    quadrants.setPixelColor(1, 1, QColor(255, 255, 0));
    Card_Property record = filled(QStringLiteral("I"));
    record.Card_BG_Image = quadrants;
    record.Card_BG_Image_Layout = QStringLiteral("Stretch");
    const QImage image = render(record, 2);
    // Stretched over the card area, cut to the ellipse as a plain fill is.
    expectPixels(image, {{60, 45, QColor(255, 0, 0)}, {140, 45, QColor(0, 255, 0)}, {60, 95, QColor(0, 0, 255)},
                         {140, 95, QColor(255, 255, 0)}, {21, 21, Desk}});
    EXPECT_TRUE(TestHelpers::onlyInside(image, Desk, Card.toRect()));
    record.Card_BG_Image_Layout = QStringLiteral("Centre");   // any layout other than "Tile" stretches
    EXPECT_EQ(render(record, 2), image);

    record.Card_BG_Image = stripes(10, QColor(0, 128, 0));
    record.Card_BG_Image_Layout = QStringLiteral("Tile");
    expectPixels(render(record, 2), {{22, 22, Desk}, {100, 70, QColor(0, 128, 0)}, {105, 70, White}}, 3);
    // A picture fill without a picture leaves the white card.
    record.Card_BG_Image = QImage();
    record.Card_BG_Image_Path = QStringLiteral("/no/such/picture.png");
    EXPECT_EQ(render(record, 0), render(Card_Property()));
}

TEST(CardBackgroundRepaint, PartialRepaintPaintsExactlyWhatAFullOnePaintsThere)
{
    Card_Property record = filled(QStringLiteral("G"));
    record.Card_fill_Grd_1_clr = QColor(255, 0, 0);
    record.Card_fill_Grd_2_clr = QColor(0, 0, 255);
    record.Card_grad_Stepper = 30;
    record.Card_border_chk = true;
    record.Card_bor_Stepper = 3;
    record.Card_border_style = QStringLiteral("DD");
    for (int shape : {0, 1, 2}) {
        const QImage full = render(record, shape);
        for (const QRect dirty : {QRect(50, 30, 40, 40), QRect(10, 10, 30, 30), QRect(150, 90, 50, 50)}) {
            const QImage partial = render(record, shape, {}, dirty);
            for (int y = 0; y < full.height(); ++y)
                for (int x = 0; x < full.width(); ++x)   // gradient spans may round a channel differently when clipped
                    ASSERT_TRUE(TestHelpers::near(partial.pixel(x, y), dirty.contains(x, y) ? full.pixelColor(x, y) : Desk, 2))
                        << "shape " << shape << " at " << x << "," << y;
        }
    }
}

TEST(CardBackgroundRepaint, BoundPainterFitsTheCanvasCallbackAndRendersOnWorkers)
{
    Card_Property record = filled(QStringLiteral("G"));
    record.Card_fill_Grd_1_clr = QColor(10, 200, 30);
    record.Card_fill_Grd_2_clr = QColor(250, 20, 90);
    record.Card_border_chk = true;
    const std::function<void(QPainter &, const QRectF &, const QRectF &)> paint = CardBackgroundPainter(record, 1, {});
    auto draw = [&paint] {
        QImage image(200, 140, QImage::Format_ARGB32);
        image.fill(Desk);
        QPainter painter(&image);
        paint(painter, Card, QRectF());
        return image;
    };
    const QImage expected = draw();
    EXPECT_EQ(expected, render(record, 1));
    QImage results[4];
    std::thread workers[4];
    for (int i = 0; i < 4; ++i)
        workers[i] = std::thread([&, i] { results[i] = draw(); });
    for (auto &worker : workers)
        worker.join();
    for (const QImage &result : results)
        EXPECT_EQ(result, expected);
}

TEST(CardBackgroundRepaint, LeavesThePainterStateAsItWas)
{
    QImage image(200, 140, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setPen(QColor(1, 2, 3));
    painter.setOpacity(0.75);
    Card_Property record = filled(QStringLiteral("I"));
    record.Card_BG_Image = stripes(4, Qt::red);
    record.Card_alpha_Stepper = 0.3f;
    record.Card_border_chk = true;
    CardBackgroundPainter::Card_Base_Drawing(painter, record, 2, Card, QRectF(0, 0, 50, 50), {});
    EXPECT_EQ(painter.pen().color(), QColor(1, 2, 3));
    EXPECT_DOUBLE_EQ(painter.opacity(), 0.75);
    EXPECT_FALSE(painter.hasClipping());
}

// The dash rules are the elements' (tested with the shapes): here only that the border takes
// them, in points, along the card's edge from its corner.
TEST(CardBackgroundBorder, DashCodesAreTheSharedPatternsAndOthersAreSolid)
{
    const QList<qreal> dashDot = {24, 10, 6, 10};
    EXPECT_EQ(CardBackgroundPainter::dashPattern(QStringLiteral("DD")), dashDot);
    const QList<int> expected = {24, 10, 6, 10, 24, 10, 6, 10, 20};   // 120 points
    for (int width : {2, 3})
        EXPECT_EQ(TestHelpers::runs(renderWide(bordered(QStringLiteral("DD"), width)), 20, 20, 140, 64), expected) << width;
    for (const QString &code : {QStringLiteral("S"), QStringLiteral("XYZ")})
        EXPECT_EQ(TestHelpers::runs(renderWide(bordered(code, 2)), 20, 20, 210, 64), QList<int>{190}) << code.toStdString();
}

TEST(CardBackgroundBorder, StrokeIsCentredOnTheOutlineNeverNegativeAndFollowsTheShape)
{
    // Three points of the width lie outside the card, three inside; mitred joins keep the corner square.
    expectPixels(renderWide(bordered(QStringLiteral("S"), 6)),
                 {{16, 70, Desk}, {17, 70, Black}, {22, 70, Black}, {23, 70, White}, {17, 17, Black}}, 0);
    // A negative width from a damaged file draws a hairline.
    const QImage hairline = renderWide(bordered(QStringLiteral("DA"), -5));
    EXPECT_LT(hairline.pixelColor(60, 20).lightness(), 200);
    EXPECT_EQ(hairline.pixelColor(60, 70), White);
    // Ellipse: top and left of it, no border in the rectangle's corner, white inside without a fill.
    expectPixels(renderWide(bordered(QStringLiteral("S"), 4), 2), {{120, 20, Black}, {20, 70, Black}, {25, 25, Desk}, {120, 70, White}}, 0);
    expectPixels(renderWide(bordered(QStringLiteral("S"), 2), 1), {{120, 20, Black}, {20, 20, Desk}}, 0);
}

TEST(CardBackgroundBorder, ColourIgnoresTheFillAndPictureOpacity)
{
    const QColor blue(0, 0, 200);
    Card_Property record = bordered(QStringLiteral("S"), 4);
    record.Card_fill_chk = true;
    record.Card_fill_clr = QColor(255, 0, 0, 0);
    record.Card_alpha_Stepper = 0.0f;
    record.Card_bordr_clr = blue;
    expectPixels(renderWide(record), {{20, 70, blue}, {100, 70, White}}, 0);
    // Nor does a picture's, over the card or (its outside half) over the desk.
    record.Card_fill_style = QStringLiteral("I");
    record.Card_BG_Image = QImage(2, 2, QImage::Format_RGB32);
    record.Card_BG_Image.fill(Qt::red);
    record.Card_alpha_Stepper = 0.2f;
    expectPixels(renderWide(record), {{20, 70, blue}, {18, 70, blue}}, 0);
}
