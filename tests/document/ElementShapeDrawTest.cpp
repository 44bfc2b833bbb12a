// Pixel tests of shapes and lines: where they draw, fills (solid, gradient, hatch), dash
// patterns in points, opacity, line orientation and caps, hit testing.

#include "RenderTestSupport.h"

#include "document/LMNLine.h"
#include "document/Shape_Control.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace RenderTestSupport;

namespace {

std::shared_ptr<Shape_Control> shape(const QString &code, const QRectF &bounds = QRectF(50, 40, 80, 60))
{
    auto s = std::make_shared<Shape_Control>();
    s->_shape_type = code;
    s->setBounds(bounds);
    s->_isDrawingFill = true;
    s->_fillColor = QColor(0, 0, 200);
    s->_isDrawingStroke = false;
    return s;
}

std::shared_ptr<LMNLine> horizontalLine(double width, const QString &dash, double y = 50)
{
    auto line = std::make_shared<LMNLine>();
    line->setBounds(QRectF(10, y, 180, 0));
    line->_strokeWidth = width;
    line->_stroke_border_type = dash;
    return line;
}

// Lengths of the alternating ink and gap runs along row `y` from `x0` to `x1` (exclusive),
// starting with ink.
QList<int> runs(const QImage &image, int y, int x0, int x1)
{
    QList<int> result;
    bool ink = true;
    int length = 0;
    for (int x = x0; x < x1; ++x) {
        const bool here = !near(image.pixel(x, y), Qt::white, 60);
        if (here == ink) {
            ++length;
        } else {
            result.append(length);
            ink = here;
            length = 1;
        }
    }
    result.append(length);
    return result;
}

bool blueAt(const QImage &image, int x, int y)
{
    return near(image.pixel(x, y), QColor(0, 0, 200), 20);
}

} // namespace

TEST(ElementShapeDraw, EveryShapeDrawsInsideItsBoundsOnly)
{
    for (const char *code : {"R", "C", "RR", "T", "D", "S", "DS", "P", "unknown"}) {
        SCOPED_TRACE(code);
        auto s = shape(QString::fromLatin1(code));
        s->_isDrawingStroke = true;
        s->_strokeWidth = 5;
        s->_strokeColor = Qt::red;
        const QImage image = render(s);
        const QRect allowed = pixelArea(s->drawingBounds());
        EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, allowed)) << "ink " << inkBounds(image).x();
        EXPECT_GT(TestHelpers::countPixelsDifferent(image, Qt::white, allowed), 500);
        // A stroke centred on the outline reaches half its width beyond the bounds.
        EXPECT_TRUE(s->drawingBounds().contains(s->bounds().adjusted(-2.5, -2.5, 2.5, 2.5)));
    }
}

TEST(ElementShapeDraw, ShapeOutlines)
{
    // Corner of the bounds: (51, 41); centre: (90, 70); bounds 50,40 80x60.
    const QImage rect = render(shape("R"));
    EXPECT_TRUE(blueAt(rect, 51, 41));
    EXPECT_TRUE(blueAt(rect, 128, 98));

    for (const char *code : {"C", "RR", "T", "D", "S", "DS", "P"}) {
        SCOPED_TRACE(code);
        auto s = shape(QString::fromLatin1(code));
        s->cor_rad_val_val = 20;
        const QImage image = render(s);
        EXPECT_FALSE(blueAt(image, 51, 41)) << "top-left corner stays empty";
        EXPECT_TRUE(blueAt(image, 90, 70)) << "the middle is filled";
    }

    // The triangle stands on the whole bottom edge with its apex at the top centre.
    const QImage triangle = render(shape("T"));
    EXPECT_TRUE(blueAt(triangle, 52, 98));
    EXPECT_TRUE(blueAt(triangle, 127, 98));
    EXPECT_TRUE(blueAt(triangle, 90, 42));
    EXPECT_FALSE(blueAt(triangle, 60, 45));

    // Stars and polygons are stretched to fill the bounds: they touch all four edges.
    for (const char *code : {"S", "DS", "P"}) {
        SCOPED_TRACE(code);
        const QRect ink = inkBounds(render(shape(QString::fromLatin1(code))), 60);
        // Points touch the edges with little coverage: allow a pixel of antialiasing.
        EXPECT_NEAR(ink.left(), 50, 1);
        EXPECT_NEAR(ink.top(), 40, 1);
        EXPECT_NEAR(ink.right(), 129, 1);
        EXPECT_NEAR(ink.bottom(), 99, 1);
    }

    // The corner radius is clamped to half the shorter side: a huge radius gives a capsule.
    auto capsule = shape("RR", QRectF(50, 40, 80, 40));
    capsule->cor_rad_val_val = 1000;
    const QImage pill = render(capsule);
    EXPECT_TRUE(blueAt(pill, 90, 41));
    EXPECT_FALSE(blueAt(pill, 52, 42));

    // Stars and polygons follow their counts (a polygon has at least three corners).
    auto hexagon = shape("P");
    hexagon->polygon_type = 6;
    auto square = shape("P");
    square->polygon_type = 4; // a diamond standing on a point
    EXPECT_NE(render(hexagon), render(square));
    EXPECT_EQ(Shape_Control::shapePath("P", QRectF(0, 0, 10, 10), 0, 0, 4).toFillPolygon().size(), 5);
    EXPECT_EQ(Shape_Control::shapePath("P", QRectF(0, 0, 10, 10), 0, 0, 1).toFillPolygon().size(), 4);
    EXPECT_EQ(Shape_Control::shapePath("DS", QRectF(0, 0, 10, 10), 0, 12, 0).toFillPolygon().size(), 25);
    EXPECT_EQ(Shape_Control::shapePath("S", QRectF(0, 0, 10, 10), 0, 12, 0).toFillPolygon().size(), 11);
}

TEST(ElementShapeDraw, DashLengthsAreInPointsWhateverTheWidthAndResolution)
{
    struct Case
    {
        const char *code;
        QList<int> pattern;
    };
    const QList<Case> cases = {{"DA", {8, 2}}, {"DO", {4, 6}}, {"DD", {24, 10, 6, 10}}, {"DDD", {24, 8, 8, 8, 8, 8}}};
    for (const Case &c : cases) {
        for (double width : {2.0, 4.0}) {
            for (double dpi : {72.0, 144.0}) {
                SCOPED_TRACE(std::string(c.code) + " width " + std::to_string(width) + " dpi " + std::to_string(dpi));
                const double scale = dpi / 72.0;
                const QImage image = render(horizontalLine(width, QString::fromLatin1(c.code)), dpi);
                const QList<int> measured = runs(image, int(50 * scale), int(10 * scale), int(190 * scale));
                ASSERT_GE(measured.size(), c.pattern.size() + 1);
                // Skip the last run, which the end of the line cuts short.
                for (qsizetype i = 0; i + 1 < measured.size(); ++i)
                    EXPECT_NEAR(measured[i], c.pattern[i % c.pattern.size()] * scale, 1.0) << "run " << i;
            }
        }
    }
    const QImage solid = render(horizontalLine(2, QStringLiteral("S")));
    EXPECT_EQ(runs(solid, 50, 10, 190), QList<int>({180}));
    const QImage unknown = render(horizontalLine(2, QStringLiteral("zigzag")));
    EXPECT_EQ(runs(unknown, 50, 10, 190), QList<int>({180}));
}

TEST(ElementShapeDraw, GradientRunsAtItsAngle)
{
    auto g = shape("R", QRectF(20, 20, 100, 100));
    g->_fill_type = "G";
    g->_fill_Grad_clr1 = Qt::red;
    g->_fill_Grad_clr2 = Qt::blue;
    auto redness = [&](int angle, int x, int y) {
        g->_fill_grad_angle = angle;
        const QRgb p = render(g).pixel(x, y);
        return qRed(p) - qBlue(p);
    };
    // 0: left to right; 90: top to bottom (the card's y axis points down); 180: right to left.
    EXPECT_GT(redness(0, 21, 70), 200);
    EXPECT_LT(redness(0, 118, 70), -200);
    EXPECT_NEAR(redness(0, 21, 25), redness(0, 21, 115), 2) << "no change down a column";
    EXPECT_GT(redness(90, 70, 21), 200);
    EXPECT_LT(redness(90, 70, 118), -200);
    EXPECT_GT(redness(180, 118, 70), 200);
    // 45: top-left to bottom-right, the ends reaching the far corners.
    EXPECT_GT(redness(45, 21, 21), 230);
    EXPECT_LT(redness(45, 118, 118), -230);
    EXPECT_NEAR(redness(45, 21, 118), 0, 20);
}

TEST(ElementShapeDraw, FillAndStrokeOpacity)
{
    auto s = shape("R");
    s->_fillColor = Qt::black;
    s->alpha_val = 0.5f;
    EXPECT_TRUE(near(render(s).pixel(90, 70), QColor(128, 128, 128), 2));
    s->alpha_val = 100.0f; // the initial value counts as opaque
    EXPECT_TRUE(near(render(s).pixel(90, 70), Qt::black, 0));
    s->alpha_val = 1.0f;
    EXPECT_TRUE(near(render(s).pixel(90, 70), Qt::black, 0));
    s->alpha_val = 0.0f;
    EXPECT_TRUE(near(render(s).pixel(90, 70), Qt::white, 0));

    // A translucent fill colour keeps its own alpha, multiplied by the opacity.
    s->_fillColor = QColor(0, 0, 0, 128);
    s->alpha_val = 0.5f;
    EXPECT_TRUE(near(render(s).pixel(90, 70), QColor(191, 191, 191), 2));

    auto line = horizontalLine(4, QStringLiteral("S"));
    line->alpha_val_stroke = 0.25f;
    EXPECT_TRUE(near(render(line).pixel(100, 50), QColor(191, 191, 191), 2));
    line->alpha_val = 0.0f; // a line's opacity is its stroke opacity; the fill opacity does not matter
    EXPECT_TRUE(near(render(line).pixel(100, 50), QColor(191, 191, 191), 2));
}

TEST(ElementShapeDraw, HatchIsTheBackgroundColourUnderTheTiledPattern)
{
    QTemporaryDir resources;
    ASSERT_TRUE(QDir(resources.path()).mkpath(QStringLiteral("Fill_Style_Image")));
    QImage pattern(4, 4, QImage::Format_ARGB32);
    pattern.fill(Qt::transparent);
    pattern.setPixel(0, 0, qRgb(0, 0, 0));
    ASSERT_TRUE(pattern.save(resources.filePath(QStringLiteral("Fill_Style_Image/Dots.png"))));

    auto s = shape("R", QRectF(50, 40, 40, 40));
    s->_fill_type = QStringLiteral("H");
    s->_fill_htch_clr = Qt::yellow;
    s->_fill_hatch_type = QStringLiteral("Dots");
    QImage image = render(s, 72, resources.path());
    // The pattern starts at the element's origin and repeats every 4 points.
    EXPECT_TRUE(near(image.pixel(50, 40), Qt::black, 30));
    EXPECT_TRUE(near(image.pixel(54, 44), Qt::black, 30));
    EXPECT_TRUE(near(image.pixel(51, 40), Qt::yellow, 30));
    EXPECT_TRUE(near(image.pixel(52, 42), Qt::yellow, 30));
    EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, pixelArea(s->bounds())));

    // Moving the element moves the pattern with it.
    s->setBounds(QRectF(51, 41, 40, 40));
    image = render(s, 72, resources.path());
    EXPECT_TRUE(near(image.pixel(51, 41), Qt::black, 30));

    // No pattern of that name, or a name that leaves the folder: only the background colour.
    for (const char *name : {"Missing", "../Fill_Style_Image/Dots", ""}) {
        SCOPED_TRACE(name);
        s->_fill_hatch_type = QString::fromLatin1(name);
        image = render(s, 72, resources.path());
        EXPECT_EQ(TestHelpers::countPixelsDifferent(image, Qt::yellow, QRect(52, 43, 36, 36), 10), 0);
    }
}

TEST(ElementShapeDraw, LineOrientations)
{
    auto line = std::make_shared<LMNLine>();
    line->setBounds(QRectF(40, 30, 100, 80));
    line->_strokeWidth = 2;

    line->_line_ori = 0;
    EXPECT_EQ(inkBounds(render(line), 60), QRect(40, 69, 100, 2));
    line->_line_ori = 1;
    EXPECT_EQ(inkBounds(render(line), 60), QRect(89, 30, 2, 80));

    line->_line_ori = 2; // falling: top-left to bottom-right
    QImage image = render(line);
    EXPECT_FALSE(near(image.pixel(41, 31), Qt::white, 60));
    EXPECT_FALSE(near(image.pixel(138, 108), Qt::white, 60));
    EXPECT_TRUE(near(image.pixel(138, 31), Qt::white, 8));

    line->_line_ori = 3; // rising: bottom-left to top-right
    image = render(line);
    EXPECT_FALSE(near(image.pixel(41, 108), Qt::white, 60));
    EXPECT_FALSE(near(image.pixel(138, 31), Qt::white, 60));
    EXPECT_TRUE(near(image.pixel(41, 31), Qt::white, 8));

    // A line is always stroked, even with the stroke flag off.
    line->_isDrawingStroke = false;
    EXPECT_FALSE(inkBounds(render(line)).isEmpty());
}

TEST(ElementShapeDraw, LineCapsAndTheirBounds)
{
    auto line = horizontalLine(10, QStringLiteral("S"), 75);
    line->_line_cap_style = 0; // butt: ends exactly at the bounds
    EXPECT_EQ(inkBounds(render(line), 60), QRect(10, 70, 180, 10));
    line->_line_cap_style = 2; // square: half the width further at each end
    EXPECT_EQ(inkBounds(render(line), 60), QRect(5, 70, 190, 10));
    line->_line_cap_style = 1; // round
    const QRect round = inkBounds(render(line), 60);
    EXPECT_GE(round.left(), 5);
    EXPECT_LT(round.left(), 10);

    for (int cap : {0, 1, 2}) {
        for (int ori : {0, 1, 2, 3}) {
            SCOPED_TRACE(cap * 10 + ori);
            auto l = std::make_shared<LMNLine>();
            l->setBounds(QRectF(60, 40, 80, 60));
            l->_strokeWidth = 12;
            l->_line_cap_style = cap;
            l->_line_ori = ori;
            l->_stroke_border_type = QStringLiteral("DA");
            const QImage image = render(l);
            EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, pixelArea(l->drawingBounds())));
        }
    }
}

TEST(ElementShapeDraw, HitTestingAndInvisibleElements)
{
    auto line = std::make_shared<LMNLine>();
    line->setBounds(QRectF(0, 0, 100, 100));
    line->_line_ori = 2;
    line->_strokeWidth = 1;
    EXPECT_TRUE(line->hitTest(QPointF(50, 50)));
    EXPECT_TRUE(line->hitTest(QPointF(50, 52))); // a thin line is still easy to pick
    EXPECT_FALSE(line->hitTest(QPointF(80, 20)));   // inside the bounds, far from the line
    line->ctrl_is_visible = 0;
    EXPECT_FALSE(line->hitTest(QPointF(50, 50)));

    auto circle = shape("C", QRectF(0, 0, 100, 100));
    circle->_isDrawingFill = false;
    circle->_isDrawingStroke = true;
    EXPECT_TRUE(circle->hitTest(QPointF(50, 50))); // an outlined shape is picked by its middle too
    EXPECT_TRUE(circle->hitTest(QPointF(50, 1)));
    EXPECT_FALSE(circle->hitTest(QPointF(3, 3))); // the corner outside the circle
    circle->ctrl_is_visible = 0;
    EXPECT_FALSE(circle->hitTest(QPointF(50, 50)));

    // An invisible element draws nothing even when asked directly.
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    circle->draw(painter, DrawContext());
    painter.end();
    EXPECT_EQ(TestHelpers::countPixelsDifferent(image, Qt::white, image.rect(), 0), 0);
}

