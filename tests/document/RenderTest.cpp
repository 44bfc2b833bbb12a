// Pixel tests of the off-screen renderer (order, print and visibility flags, background,
// resolution, PDF, dirty rectangles, bad sizes, rendering on several threads while the elements
// are drawn elsewhere) and of each kind of element: shapes and lines (where they draw, fills,
// dash patterns in points, opacity, orientation and caps, hit testing), texts (colour,
// alignment, case, kerning, fill and border, clipping, layout independent of the resolution,
// natural size), pictures, signatures and barcodes (placement, flips, rotation, transparency,
// effects, reloading, missing or broken pictures).

#include "document/DashedStroke.h"
#include "document/LMNBarcode.h"
#include "document/LMNGraphic.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNRenderingView.h"
#include "document/LMNSignature.h"
#include "document/LMNText.h"
#include "document/PaintStyles.h"
#include "document/PoolThreadRunner.h"
#include "document/Shape_Control.h"
#include "support/TestHelpers.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QThreadPool>

#include <atomic>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

inline const QSizeF kCard(200, 150);

// One side of kCard points with the given elements, white background, at `dpi`.
inline QImage render(const GraphicList &graphics, double dpi = 72.0, const QString &resourcePath = {})
{
    DrawContext context;
    context.resourcePath = resourcePath;
    LMNRenderingView view(kCard, {}, context);
    view.setResolution(dpi);
    return view.image_From_Card_Graphics(graphics).convertToFormat(QImage::Format_ARGB32);
}

inline QImage render(const GraphicPtr &graphic, double dpi = 72.0, const QString &resourcePath = {})
{
    return render(GraphicList{graphic}, dpi, resourcePath);
}

using TestHelpers::expectPixels;
using TestHelpers::near;

inline QRect inkBounds(const QImage &image, int tolerance = 8)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!near(image.pixel(x, y), Qt::white, tolerance))
                box |= QRect(x, y, 1, 1);
    return box;
}

// `points` at `dpi` in whole pixels, grown by one pixel all round for antialiased edges.
inline QRect pixelArea(const QRectF &points, double dpi = 72.0)
{
    const double s = dpi / 72.0;
    return QRect(QPoint(int(std::floor(points.left() * s)) - 1, int(std::floor(points.top() * s)) - 1),
                 QPoint(int(std::ceil(points.right() * s)), int(std::ceil(points.bottom() * s))));
}

// A picture of `size` pixels: left half `left`, right half `right`.
inline QImage twoColourPicture(QSize size, const QColor &left, const QColor &right)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, (x < size.width() / 2 ? left : right).rgba());
    return image;
}

} // namespace

namespace {

GraphicPtr box(const QRectF &bounds, const QColor &colour)
{
    auto s = std::make_shared<Shape_Control>();
    s->setBounds(bounds);
    s->_isDrawingFill = true;
    s->_fillColor = colour;
    s->_isDrawingStroke = false;
    return s;
}

GraphicList mixedCard()
{
    auto text = std::make_shared<LMNText>();
    text->setText(QStringLiteral("Happy Birthday"));
    text->setBounds(QRectF(10, 10, 120, 30));
    auto line = std::make_shared<LMNLine>();
    line->setBounds(QRectF(10, 50, 150, 0));
    line->_stroke_border_type = QStringLiteral("DD");
    auto star = std::make_shared<Shape_Control>();
    star->_shape_type = QStringLiteral("S");
    star->setBounds(QRectF(120, 60, 60, 60));
    star->_isDrawingFill = true;
    star->_fill_type = QStringLiteral("G");
    return {text, line, star, box(QRectF(20, 70, 60, 50), Qt::cyan)};
}

} // namespace

TEST(Render, LastElementFirstSoIndexZeroIsOnTop)
{
    const GraphicList graphics{box(QRectF(20, 20, 60, 60), Qt::red), box(QRectF(50, 50, 60, 60), Qt::blue)};
    expectPixels(render(graphics), {{65, 65, Qt::red}, {100, 100, Qt::blue}, {30, 30, Qt::red}}, 0);
    expectPixels(render(GraphicList{graphics[1], graphics[0]}), {{65, 65, Qt::blue}}, 0);
}

TEST(Render, LeavesOutNonPrintingAndInvisibleElementsAndWhatLiesOutsideTheDirtyRectangle)
{
    auto hidden = box(QRectF(20, 20, 60, 60), Qt::red);
    auto notPrinted = box(QRectF(100, 20, 60, 60), Qt::green);
    auto shown = box(QRectF(60, 90, 40, 40), Qt::blue);
    hidden->ctrl_is_visible = 0;
    notPrinted->print_object = 1;
    EXPECT_EQ(inkBounds(render(GraphicList{hidden, notPrinted, shown})), QRect(60, 90, 40, 40));

    // The canvas draws what is not printed, but never what is hidden, nor what lies outside
    // its dirty rectangle.
    auto canvasDrawing = [](const GraphicList &graphics, const QRectF &dirty) {
        QImage canvas(200, 150, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        LMNRenderingView::drawGraphics(painter, graphics, dirty, DrawContext(), false);
        return canvas;
    };
    expectPixels(canvasDrawing(GraphicList{hidden, notPrinted, shown}, QRectF()),
                              {{130, 50, Qt::green}, {50, 50, Qt::white}}, 0);
    expectPixels(canvasDrawing(GraphicList{box(QRectF(10, 10, 20, 20), Qt::red), nullptr,
                                                        box(QRectF(150, 100, 20, 20), Qt::blue)}, QRectF(0, 0, 50, 50)),
                              {{20, 20, Qt::red}, {160, 110, Qt::white}}, 0);
}

TEST(Render, BackgroundComesFirstAndOutsideTheCardStaysClear)
{
    QRectF seenCard;
    const LMNRenderingView::BackgroundPainter oval = [&seenCard](QPainter &painter, const QRectF &card, const QRectF &) {
        seenCard = card;
        QPainterPath path;
        path.addEllipse(card);
        painter.fillPath(path, QColor(255, 240, 200));
    };
    LMNRenderingView view(kCard, oval);
    const QImage image = view.image_From_Card_Graphics(GraphicList{box(QRectF(90, 65, 20, 20), Qt::blue)});
    EXPECT_EQ(seenCard, QRectF(0, 0, 200, 150));
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0) << "corner outside an oval card";
    expectPixels(image, {{100, 40, QColor(255, 240, 200)}, {100, 75, Qt::blue}}, 0);

    // No background painter: a white card, fully opaque.
    const QImage white = LMNRenderingView(kCard).image_From_Card_Graphics({});
    EXPECT_EQ(TestHelpers::countPixelsDifferent(white, Qt::white, white.rect(), 0), 0);
}

TEST(Render, ResolutionSizesTheImage)
{
    LMNRenderingView view(QSizeF(243, 154));
    QImage image = view.image_From_Card_Graphics({});
    EXPECT_EQ(image.size(), QSize(243, 154));
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);

    view.setResolution(300);
    image = view.image_From_Card_Graphics(GraphicList{box(QRectF(72, 36, 72, 36), Qt::red)});
    EXPECT_EQ(image.size(), QSize(1012, 642)); // 1012.5 (a half pixel down) x 641.67 pixels, never stretched
    EXPECT_TRUE(image.dotsPerMeterX() == image.dotsPerMeterY() && std::abs(image.dotsPerMeterX() * 0.0254 - 300) < 0.1);
    const QRect ink = inkBounds(image.convertToFormat(QImage::Format_ARGB32));
    EXPECT_TRUE(std::abs(ink.left() - 300) <= 1 && std::abs(ink.top() - 150) <= 1 && std::abs(ink.width() - 300) <= 2) << ink.x();

    // Both roads give the same picture.
    EXPECT_EQ(view.image_From_Card_Graphics(mixedCard(), 0), view.image_From_Card_Graphics(mixedCard(), 1));
}

TEST(Render, UnusableSizesGiveNoImage)
{
    // Empty, negative, huge, a thread (few pixels but one side beyond any int); no resolution.
    for (const auto &[size, dpi] : {std::pair{QSizeF(0, 100), 72.0}, {QSizeF(100, -5), 72.0}, {QSizeF(1e6, 1e6), 72.0},
                                    {QSizeF(1e10, 1e-3), 72.0}, {kCard, 0.0}, {kCard, std::numeric_limits<double>::quiet_NaN()}}) {
        LMNRenderingView view(size);
        view.setResolution(dpi);
        EXPECT_TRUE(view.image_From_Card_Graphics({}).isNull()) << size.width() << " x " << size.height() << " at " << dpi;
    }
}

TEST(Render, PdfIsOnePageOfTheCardSize)
{
    LMNRenderingView view(QSizeF(243, 154));
    const QByteArray pdf = view.pdfData(mixedCard());
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    static const QRegularExpression mediaBox(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"));
    const QRegularExpressionMatch match = mediaBox.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(match.hasMatch());
    EXPECT_NEAR(match.captured(1).toDouble(), 243, 0.5);
    EXPECT_NEAR(match.captured(2).toDouble(), 154, 0.5);
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);

    QBuffer closed;
    EXPECT_FALSE(view.writePdf(mixedCard(), &closed));
    EXPECT_FALSE(view.writePdf(mixedCard(), nullptr));
    EXPECT_TRUE(LMNRenderingView(QSizeF(0, 0)).pdfData({}).isEmpty());
}

TEST(Render, SnapshotIsIndependentOfLaterEdits)
{
    auto red = box(QRectF(20, 20, 40, 40), Qt::red);
    const GraphicList original{red};
    const GraphicList copy = LMNRenderingView::snapshot(GraphicList{red, nullptr});
    ASSERT_EQ(copy.size(), 1);
    EXPECT_EQ(copy[0]->kind(), GraphicKind::Shape);
    red->_fillColor = Qt::blue;
    EXPECT_TRUE(near(render(copy).pixel(40, 40), Qt::red, 0));
    EXPECT_TRUE(near(render(original).pixel(40, 40), Qt::blue, 0));
}

TEST(Render, WorkerThreadsRenderWhileTheCanvasPaints)
{
    const GraphicList graphics = mixedCard();
    LMNRenderingView view(kCard);
    view.setResolution(150);
    const QImage expected = view.image_From_Card_Graphics(graphics);

    std::atomic<bool> stop{false};
    std::thread canvas([&] {
        QImage surface(200, 150, QImage::Format_ARGB32_Premultiplied);
        while (!stop) {
            surface.fill(Qt::white);
            QPainter painter(&surface);
            LMNRenderingView::drawGraphics(painter, graphics, QRectF(0, 0, 200, 150), DrawContext(), false);
        }
    });
    std::vector<QImage> results(4);
    std::vector<std::thread> workers;
    for (size_t i = 0; i < results.size(); ++i)
        workers.emplace_back([&, i] {
            for (int n = 0; n < 3; ++n)
                results[i] = view.image_From_Card_Graphics(graphics);
        });
    for (auto &w : workers)
        w.join();
    stop = true;
    canvas.join();
    for (const QImage &result : results)
        EXPECT_EQ(result, expected);
}

// Cards are drawn on threads of Qt's pool, where the raster engine does every fill itself: the
// pixels must be those of a card drawn on another thread, where it splits large fills up, its
// text too, whatever either thread drew before.
TEST(Render, ACardDrawnOnThePoolIsTheCardDrawnElsewhere)
{
    const GraphicList graphics = mixedCard();
    for (const double dpi : {72.0, 300.0, 600.0}) {
        LMNRenderingView view(kCard);
        view.setResolution(dpi);
        const QImage pooled = view.image_From_Card_Graphics(graphics);
        QImage here(pooled.size(), QImage::Format_ARGB32_Premultiplied);
        here.fill(Qt::transparent);
        {
            QPainter painter(&here);
            painter.scale(dpi / 72.0, dpi / 72.0);
            LMNRenderingView::whiteCard(painter, QRectF(QPointF(0, 0), kCard), QRectF());
            LMNRenderingView::drawGraphics(painter, graphics, QRectF(), DrawContext{}, true);
        }
        ASSERT_FALSE(PoolThreadRunner::onPoolThread());
        EXPECT_EQ(pooled.convertToFormat(QImage::Format_ARGB32_Premultiplied), here) << dpi << " dpi";
    }
}

// Every job handed to the pool runs exactly once, on a pool thread, however many threads hand
// jobs over at once and however few threads the pool has; a job that hands over a job of its
// own runs it where it is, and a job's exception reaches the thread that handed it over.
TEST(PoolThreadRunner, EveryJobRunsOnceOnAPoolThread)
{
    struct Case
    {
        int poolThreads;
        int callers;
        bool nested;
    };
    const Case cases[] = {{1, 1, false}, {1, 6, true}, {2, 6, false}, {2, 16, true}, {8, 16, false}, {8, 3, true}};
    QThreadPool *pool = QThreadPool::globalInstance();
    const int poolThreads = pool->maxThreadCount();
    for (const Case &c : cases) {
        pool->setMaxThreadCount(c.poolThreads);
        constexpr int kJobsEach = 40;
        std::atomic<int> ran{0};
        std::atomic<int> offPool{0};
        std::atomic<int> nestedElsewhere{0};
        std::vector<std::thread> callers;
        for (int t = 0; t < c.callers; ++t)
            callers.emplace_back([&] {
                for (int j = 0; j < kJobsEach; ++j)
                    PoolThreadRunner::run([&] {
                        ++ran;
                        if (!PoolThreadRunner::onPoolThread())
                            ++offPool;
                        if (c.nested) {
                            const std::thread::id outer = std::this_thread::get_id();
                            PoolThreadRunner::run([&] {
                                if (std::this_thread::get_id() != outer)
                                    ++nestedElsewhere;
                            });
                        }
                    });
            });
        for (std::thread &caller : callers)
            caller.join();
        EXPECT_EQ(ran, c.callers * kJobsEach) << c.poolThreads << " pool threads, " << c.callers << " callers";
        EXPECT_EQ(offPool, 0);
        EXPECT_EQ(nestedElsewhere, 0);
    }
    pool->setMaxThreadCount(poolThreads);

    EXPECT_THROW(PoolThreadRunner::run([] { throw std::runtime_error("out of paper"); }), std::runtime_error);
    int after = 0;
    PoolThreadRunner::run([&after] { after = 1; });
    EXPECT_EQ(after, 1);
}

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
    EXPECT_TRUE(blueAt(rect, 51, 41) && blueAt(rect, 128, 98));

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
    EXPECT_TRUE(blueAt(triangle, 52, 98) && blueAt(triangle, 127, 98) && blueAt(triangle, 90, 42) && !blueAt(triangle, 60, 45));

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
    EXPECT_TRUE(blueAt(pill, 90, 41) && !blueAt(pill, 52, 42));

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
                const QList<int> measured = TestHelpers::runs(image, int(50 * scale), int(10 * scale), int(190 * scale), 195);
                ASSERT_GE(measured.size(), c.pattern.size() + 1);
                // Skip the last run, which the end of the line cuts short.
                for (qsizetype i = 0; i + 1 < measured.size(); ++i)
                    EXPECT_NEAR(measured[i], c.pattern[i % c.pattern.size()] * scale, 1.0) << "run " << i;
            }
        }
    }
    const QImage solid = render(horizontalLine(2, QStringLiteral("S")));
    EXPECT_EQ(TestHelpers::runs(solid, 50, 10, 190, 195), QList<int>({180}));
    const QImage unknown = render(horizontalLine(2, QStringLiteral("zigzag")));
    EXPECT_EQ(TestHelpers::runs(unknown, 50, 10, 190, 195), QList<int>({180}));
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
    // Opacity, fill colour, the grey it gives on white; the initial 100 counts as opaque, and a
    // translucent fill colour keeps its own alpha, multiplied by the opacity.
    const std::tuple<float, QColor, QColor> rows[] = {{0.5f, Qt::black, QColor(128, 128, 128)}, {100.0f, Qt::black, Qt::black},
                                                       {1.0f, Qt::black, Qt::black}, {0.0f, Qt::black, Qt::white},
                                                       {0.5f, QColor(0, 0, 0, 128), QColor(191, 191, 191)}};
    auto s = shape("R");
    for (const auto &[opacity, fill, expected] : rows) {
        s->alpha_val = opacity;
        s->_fillColor = fill;
        EXPECT_TRUE(near(render(s).pixel(90, 70), expected, 2)) << opacity;
    }
    // A line's opacity is its stroke opacity; the fill opacity does not matter.
    auto line = horizontalLine(4, QStringLiteral("S"));
    line->alpha_val_stroke = 0.25f;
    EXPECT_TRUE(near(render(line).pixel(100, 50), QColor(191, 191, 191), 2));
    line->alpha_val = 0.0f;
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
    expectPixels(image, {{50, 40, Qt::black}, {54, 44, Qt::black}, {51, 40, Qt::yellow}, {52, 42, Qt::yellow}}, 30);
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

    // Falling: top-left to bottom-right; rising: bottom-left to top-right.
    for (const auto &[orientation, from, to, empty] : {std::tuple{2, QPoint(41, 31), QPoint(138, 108), QPoint(138, 31)},
                                                       std::tuple{3, QPoint(41, 108), QPoint(138, 31), QPoint(41, 31)}}) {
        line->_line_ori = orientation;
        const QImage image = render(line);
        EXPECT_FALSE(near(image.pixel(from), Qt::white, 60) || near(image.pixel(to), Qt::white, 60)) << orientation;
        EXPECT_TRUE(near(image.pixel(empty), Qt::white, 8)) << orientation;
    }

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

// Dashed outlines are filled in groups of dashes apart from each other (DashedStroke): the
// pixels must be exactly those of Qt's own stroke, for every outline, border code, width and
// resolution, and the grouping must really be used where it can be.
TEST(ElementShapeDraw, DashedOutlinesDrawExactlyAsQtStrokesThem)
{
    const auto paint = [](double dpi, const std::function<void(QPainter &)> &draw) {
        const double scale = dpi / 72.0;
        QImage image(QSize(int(kCard.width() * scale), int(kCard.height() * scale)), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        draw(painter);
        return image;
    };
    const auto differing = [](const QImage &a, const QImage &b) {
        int count = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                count += a.pixel(x, y) != b.pixel(x, y);
        return count;
    };
    int grouped = 0;
    int cases = 0;
    for (const char *border : {"DA", "DO", "DD", "DDD", "S"}) {
        for (double width : {0.3, 1.5, 4.0}) {
            for (double dpi : {72.0, 300.0, 600.0}) {
                for (const char *code : {"R", "T", "D", "S", "DS", "P", "RR", "C", "line0", "line1", "line2"}) {
                    SCOPED_TRACE(std::string(code) + " " + border + " width " + std::to_string(width) + " at "
                                 + std::to_string(dpi));
                    GraphicPtr element;
                    std::function<void(QPainter &)> qt;
                    if (QByteArray(code).startsWith("line")) {
                        auto line = std::make_shared<LMNLine>();
                        line->setBounds(QRectF(12.3, 20.7, 170.4, 110.2));
                        line->_line_ori = 2; // corner to corner: no pixel grid to hide behind
                        line->_line_cap_style = code[4] - '0';
                        line->_strokeWidth = width;
                        line->_stroke_border_type = QString::fromLatin1(border);
                        qt = [line](QPainter &painter) {
                            painter.setPen(line->linePen());
                            painter.drawLine(line->line());
                        };
                        element = line;
                    } else {
                        auto s = shape(QString::fromLatin1(code), QRectF(8.4, 9.1, 181.3, 128.6));
                        s->_isDrawingFill = false;
                        s->_isDrawingStroke = true;
                        s->_strokeWidth = width;
                        s->_strokeColor = QColor(20, 90, 30, 200);
                        s->_stroke_border_type = QString::fromLatin1(border);
                        qt = [s](QPainter &painter) {
                            painter.strokePath(s->path(), PaintStyles::borderPen(s->_strokeColor, s->_strokeWidth,
                                                                                 s->_stroke_border_type));
                        };
                        element = s;
                    }
                    const QImage ours = paint(dpi, [&](QPainter &painter) { element->draw(painter, DrawContext()); });
                    const QImage theirs = paint(dpi, qt);
                    ++cases;
                    grouped += DashedStroke::lastCallGrouped();
                    ASSERT_EQ(ours, theirs) << differing(ours, theirs) << " pixels differ";
                }
            }
        }
    }
    // Dashed straight outlines wider than a pixel: the frame, triangle, diamond, stars, polygon
    // and the round-capped line, in most widths and resolutions.
    EXPECT_GT(grouped, cases / 4);
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

namespace {

std::shared_ptr<LMNText> text(const QString &value, const QRectF &bounds = QRectF(20, 20, 160, 40))
{
    auto t = std::make_shared<LMNText>();
    t->setText(value);
    t->setBounds(bounds);
    t->_isDrawingStroke = false;
    t->text_ctrl_font = CardFont(QStringLiteral("ArialMT"), 14);
    return t;
}

} // namespace

TEST(ElementTextDraw, CaseTransforms)
{
    const QString typed = QStringLiteral("happy bIRTHDAY, dear éMILE\nsee you");
    EXPECT_EQ(LMNText::transformedCase(typed, 0), typed);
    EXPECT_EQ(LMNText::transformedCase(typed, 1), QStringLiteral("HAPPY BIRTHDAY, DEAR ÉMILE\nSEE YOU"));
    EXPECT_EQ(LMNText::transformedCase(typed, 2), QStringLiteral("happy birthday, dear émile\nsee you"));
    EXPECT_EQ(LMNText::transformedCase(typed, 3), QStringLiteral("Happy Birthday, Dear Émile\nSee You"));
    EXPECT_EQ(LMNText::transformedCase(QStringLiteral("  12 o'clock"), 3), QStringLiteral("  12 O'clock"));
    EXPECT_EQ(LMNText::transformedCase(typed, 9), typed);

    auto t = text(QStringLiteral("abc"));
    t->text_transfrom_case = 1;
    EXPECT_EQ(t->displayedText(), QStringLiteral("ABC"));
    EXPECT_NE(render(t), render(text(QStringLiteral("abc"))));
}

TEST(ElementTextDraw, DrawsInItsColourInsideItsBounds)
{
    auto t = text(QStringLiteral("Happy Birthday"));
    t->txt_clr = QColor(200, 0, 0);
    const QImage image = render(t);
    const QRect ink = inkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(20, 20, 160, 40).contains(ink));
    // Glyph cores are the text colour.
    EXPECT_GT(ink.width() * ink.height() - TestHelpers::countPixelsDifferent(image, QColor(200, 0, 0), ink, 12), 20);
    // The text starts at the top of its bounds.
    EXPECT_LT(ink.top(), 20 + 8);
}

TEST(ElementTextDraw, AlignmentCodes)
{
    auto t = text(QStringLiteral("Party"));
    t->text_alignmnet = 0;
    const QRect left = inkBounds(render(t));
    t->text_alignmnet = 1;
    const QRect right = inkBounds(render(t));
    t->text_alignmnet = 2;
    const QRect centred = inkBounds(render(t));

    EXPECT_NEAR(left.left(), 20 + LMNText::kTextPadding, 2);
    EXPECT_NEAR(right.right(), 180 - LMNText::kTextPadding, 2);
    EXPECT_NEAR(centred.center().x(), 100, 2);
    EXPECT_NEAR(left.width(), right.width(), 1);

    // Justified: every line but the last spans the whole width.
    auto justified = text(QStringLiteral("one two three four five six seven eight nine ten"), QRectF(20, 20, 160, 100));
    justified->text_alignmnet = 3;
    const QImage image = render(justified);
    const QRect firstLine = inkBounds(image.copy(0, 20, 200, 14)).translated(0, 20);
    EXPECT_NEAR(firstLine.left(), 25, 2);
    EXPECT_NEAR(firstLine.right(), 175, 2);
    justified->text_alignmnet = 0;
    EXPECT_LT(inkBounds(render(justified).copy(0, 20, 200, 14)).right(), 170);
}

TEST(ElementTextDraw, KerningIsInPointsBetweenLetters)
{
    auto t = text(QStringLiteral("HHHH"));
    const int plain = inkBounds(render(t)).width();
    t->text_kerning = 5;
    const int spaced = inkBounds(render(t)).width();
    EXPECT_NEAR(spaced - plain, 15, 1.5); // three gaps of 5 points
    t->text_kerning = -1;
    EXPECT_LT(inkBounds(render(t)).width(), plain);

    // The same points at 4x the resolution.
    t->text_kerning = 5;
    const int fine = inkBounds(render(t, 288)).width();
    EXPECT_NEAR(fine, spaced * 4, 6);
}

TEST(ElementTextDraw, LineBreaksDoNotDependOnTheResolution)
{
    auto t = text(QStringLiteral("You are invited to celebrate with us on Saturday afternoon at the lake"),
                  QRectF(20, 20, 120, 120));
    const QRect low = inkBounds(render(t, 72));
    const QRect high = inkBounds(render(t, 288));
    EXPECT_NEAR(high.height(), low.height() * 4, 8);
    EXPECT_NEAR(high.width(), low.width() * 4, 8);
    EXPECT_GT(low.height(), 50) << "wraps onto several lines";
}

TEST(ElementTextDraw, TextIsCutAtTheBounds)
{
    auto t = text(QStringLiteral("A very long line of text that cannot fit\nand\nmore\nlines\nbelow\nit"),
                  QRectF(40, 40, 60, 30));
    t->text_ctrl_font = CardFont(QStringLiteral("ArialMT"), 30);
    const QImage image = render(t);
    EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, pixelArea(t->bounds())));
    EXPECT_FALSE(inkBounds(image).isEmpty());
}

// A frame shows the same beginning of a megabyte of text as of the few hundred characters
// it has room for: only a beginning is laid out, and its lines are the whole text's lines.
TEST(ElementTextDraw, AHugeValueShowsItsBeginningAsAShortOneDoes)
{
    for (const QString &unit : {QStringLiteral("w"), QStringLiteral("word "), QStringLiteral("مرحبا ")}) {
        SCOPED_TRACE(unit.toStdString());
        const QString huge = unit.repeated((1 << 20) / unit.size());
        auto whole = text(huge, QRectF(20, 20, 160, 80));
        auto start = text(huge.left(400), QRectF(20, 20, 160, 80));   // laid out whole
        EXPECT_EQ(render(whole, 150), render(start, 150));
    }
}

TEST(ElementTextDraw, FillUnderTextAndBorderAround)
{
    auto t = text(QStringLiteral("Hi"));
    t->_isDrawingFill = true;
    t->_fillColor = Qt::yellow;
    t->_isDrawingStroke = true;
    t->_strokeColor = Qt::blue;
    t->_strokeWidth = 2;
    t->txt_clr = Qt::black;
    const QImage image = render(t);
    EXPECT_TRUE(near(image.pixel(150, 50), Qt::yellow, 10));
    EXPECT_TRUE(near(image.pixel(100, 20), Qt::blue, 40));
    EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, pixelArea(t->drawingBounds())));
    // The letters are drawn over the fill.
    int dark = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 24; x < 45; ++x)
            dark += qGray(image.pixel(x, y)) < 60;
    EXPECT_GT(dark, 10);

    // Hatch is not offered for text, but a stored one still fills.
    t->_fill_type = QStringLiteral("G");
    t->_fill_Grad_clr1 = Qt::red;
    t->_fill_Grad_clr2 = Qt::green;
    EXPECT_GT(qRed(render(t).pixel(30, 55)), 200);
}

TEST(ElementTextDraw, NaturalSizeFitsTheText)
{
    auto t = text(QStringLiteral("Happy Birthday\nMarie"), QRectF(30, 30, 5, 5));
    t->makeNaturalSize();
    EXPECT_EQ(t->bounds().topLeft(), QPointF(30, 30));
    const QImage image = render(t);
    const QRect ink = inkBounds(image);
    EXPECT_TRUE(pixelArea(t->bounds()).contains(ink));
    EXPECT_NEAR(ink.width() + 2 * LMNText::kTextPadding, t->bounds().width(), 4);
    EXPECT_GT(t->bounds().height(), 28); // two lines of 14 points
    EXPECT_LT(t->bounds().height(), 40);

    // Larger type, larger element.
    auto big = text(QStringLiteral("Happy Birthday\nMarie"));
    big->text_ctrl_font = CardFont(QStringLiteral("ArialMT"), 28);
    big->makeNaturalSize();
    EXPECT_NEAR(big->bounds().width(), (t->bounds().width() - 10) * 2 + 10, 4);
}

TEST(ElementTextDraw, DefaultFontIsItalicTimesAtFourteenPoints)
{
    LMNText t;
    EXPECT_EQ(t.text_ctrl_font.postScriptName, QStringLiteral("TimesNewRomanPS-ItalicMT"));
    EXPECT_TRUE(t.drawingFont().italic());
    // Cap height of a 14 point Times: about 0.66 em.
    auto h = text(QStringLiteral("H"));
    h->text_ctrl_font = t.text_ctrl_font;
    EXPECT_NEAR(inkBounds(render(h), 100).height(), 9, 1.5);
}

namespace {

class ElementPictureDraw : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_redBlue = path("redblue.png");
        ASSERT_TRUE(twoColourPicture(QSize(40, 20), Qt::red, Qt::blue).save(m_redBlue));
        m_green = path("green.png");
        QImage green(10, 10, QImage::Format_ARGB32);
        green.fill(Qt::green);
        ASSERT_TRUE(green.save(m_green));
    }

    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    std::shared_ptr<LMNImage> picture(const QRectF &bounds = QRectF(40, 30, 80, 40))
    {
        auto image = std::make_shared<LMNImage>();
        image->setBounds(bounds);
        image->_isDrawingStroke = false;
        image->setFilePath(m_redBlue);
        return image;
    }

    QTemporaryDir m_dir;
    QString m_redBlue;
    QString m_green;
};

bool isRed(QRgb p)
{
    return near(p, Qt::red, 30);
}
bool isBlue(QRgb p)
{
    return near(p, Qt::blue, 30);
}

} // namespace

TEST_F(ElementPictureDraw, PictureFillsItsBounds)
{
    auto image = picture();
    ASSERT_FALSE(image->_image.isNull());
    const QImage out = render(image);
    EXPECT_TRUE(TestHelpers::onlyInside(out, Qt::white, pixelArea(image->drawingBounds())));
    expectPixels(out, {{42, 50, Qt::red}, {118, 50, Qt::blue}, {78, 31, Qt::red}, {82, 68, Qt::blue}}, 30);

    image->_isDrawingStroke = true;
    image->_strokeColor = Qt::black;
    image->_strokeWidth = 2;
    const QImage framed = render(image);
    EXPECT_TRUE(near(framed.pixel(60, 30), Qt::black, 40));
    EXPECT_TRUE(TestHelpers::onlyInside(framed, Qt::white, pixelArea(image->drawingBounds())));
}

TEST_F(ElementPictureDraw, FlipsAndRotation)
{
    auto image = picture(QRectF(40, 30, 60, 60));
    image->_isFlippedHorizontally = true;
    expectPixels(render(image), {{45, 60, Qt::blue}, {95, 60, Qt::red}}, 30);

    image->_isFlippedHorizontally = false;
    image->rotate_image = 90; // clockwise, as every angle on the card: the left half turns to the top
    const QImage out = render(image);
    expectPixels(out, {{70, 35, Qt::red}, {70, 85, Qt::blue}}, 30);
    EXPECT_TRUE(TestHelpers::onlyInside(out, Qt::white, pixelArea(image->bounds())));

    image->rotate_image = -90;
    EXPECT_TRUE(isBlue(render(image).pixel(70, 35)));

    image->rotate_image = 180; // the same as both flips
    auto flipped = picture(QRectF(40, 30, 60, 60));
    flipped->_isFlippedHorizontally = true;
    flipped->_isFlippedVertically = true;
    EXPECT_EQ(render(image), render(flipped));

    // A turned picture is shrunk so that it stays inside its bounds.
    auto wide = picture(QRectF(40, 30, 120, 60));
    wide->rotate_image = 30;
    const QSizeF fitted = wide->rotatedPictureSize();
    EXPECT_LT(fitted.width(), 120);
    EXPECT_NEAR(fitted.width() / fitted.height(), 2.0, 1e-9);
    EXPECT_TRUE(TestHelpers::onlyInside(render(wide), Qt::white, pixelArea(wide->bounds())));
}

TEST_F(ElementPictureDraw, TransparencyIsAPercentageAndEffectsApplyToThePicture)
{
    auto image = picture();
    image->img_trnsp_val = 50;
    EXPECT_TRUE(near(render(image).pixel(45, 50), QColor(255, 128, 128), 3));
    image->img_trnsp_val = 0;
    EXPECT_TRUE(near(render(image).pixel(45, 50), Qt::white, 0));
    image->img_trnsp_val = 250; // beyond 100 is opaque
    EXPECT_TRUE(isRed(render(image).pixel(45, 50)));

    image->invert_clr = true;
    expectPixels(render(image), {{45, 50, Qt::cyan}, {115, 50, Qt::yellow}}, 10);
    image->invert_clr = false;
    image->gray_Scale = true;
    EXPECT_TRUE(near(render(image).pixel(45, 50), QColor(54, 54, 54), 3));
    // Changing a setting is seen at once, although results are remembered.
    image->gray_Scale = false;
    EXPECT_TRUE(isRed(render(image).pixel(45, 50)));
}

TEST_F(ElementPictureDraw, PicturesAreWorkedAtTheOutputSizeNeverLargerWhateverTheBounds)
{
    auto image = std::make_shared<LMNImage>();
    const QString big = path("big.png");
    ASSERT_TRUE(twoColourPicture(QSize(400, 200), Qt::red, Qt::blue).save(big));
    image->setFilePath(big);
    image->setBounds(QRectF(0, 0, 40, 20));
    image->hue_val = 10;
    EXPECT_EQ(image->processedPicture(QSize(40, 20)).size(), QSize(40, 20));
    EXPECT_EQ(image->processedPicture(QSize(4000, 2000)).size(), QSize(400, 200));

    // A blur set in points softens the same share of the card at any resolution.
    image->hue_val = 0;
    image->blr_val = 4;
    image->setBounds(QRectF(20, 20, 160, 80));
    const QImage low = render(image, 72);
    const QImage high = render(image, 288).scaled(low.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int x = 80; x < 120; x += 4)
        EXPECT_NEAR(qRed(low.pixel(x, 60)), qRed(high.pixel(x, 60)), 16) << x;

    // Absurd bounds do not break drawing: a corner of a huge picture.
    auto huge = picture(QRectF(40, 30, 1e12, 1e12));
    huge->blr_val = 3;
    EXPECT_FALSE(inkBounds(render(huge)).isEmpty());
}

TEST_F(ElementPictureDraw, BadPicturesLeaveTheElementEmpty)
{
    const QString empty = TestHelpers::writeFile(path("empty.png"), {});
    const QString text = TestHelpers::writeFile(path("notes.png"), "this is not a picture\n");
    for (const QString &bad : {path("missing.png"), empty, text, m_dir.path(), QString()}) {
        SCOPED_TRACE(bad.toStdString());
        auto image = picture();
        image->_isDrawingStroke = true; // not even the border is drawn
        image->setFilePath(bad);
        EXPECT_EQ(image->FilePath(), bad);
        EXPECT_TRUE(image->_image.isNull());
        EXPECT_TRUE(inkBounds(render(image)).isEmpty());

        auto signature = std::make_shared<LMNSignature>();
        signature->setBounds(QRectF(10, 10, 50, 50));
        signature->setFilePath(bad);
        EXPECT_TRUE(signature->_image.isNull());
        EXPECT_TRUE(inkBounds(render(signature)).isEmpty());
    }
}

TEST_F(ElementPictureDraw, NaturalSizeIsThePictureSizeInPoints)
{
    QImage dense = twoColourPicture(QSize(100, 40), Qt::red, Qt::blue);
    dense.setDotsPerMeterX(5669); // 144 dpi
    dense.setDotsPerMeterY(5669);
    const QString densePath = path("dense.png");
    ASSERT_TRUE(dense.save(densePath));
    LMNImage image;
    image.setBounds(QRectF(7, 9, 1, 1));
    image.setFilePath(densePath);
    image.makeNaturalSize();
    EXPECT_EQ(image.bounds().toRect(), QRect(7, 9, 50, 20));   // 144 dpi: half the pixels in points

    LMNImage without;
    without.setBounds(QRectF(1, 2, 3, 4));
    without.makeNaturalSize();
    EXPECT_EQ(without.bounds(), QRectF(1, 2, 3, 4));
}

TEST_F(ElementPictureDraw, SignatureFollowsItsPath)
{
    auto signature = std::make_shared<LMNSignature>();
    signature->setBounds(QRectF(20, 20, 60, 30));
    signature->_isDrawingStroke = false;
    EXPECT_FALSE(signature->isFingerprint());
    signature->setFilePath(m_green);
    EXPECT_TRUE(near(render(signature).pixel(50, 35), Qt::green, 10));
    EXPECT_TRUE(TestHelpers::onlyInside(render(signature), Qt::white, pixelArea(signature->bounds())));

    // The signature panel writes the path directly; the element shows the new picture.
    signature->_file_path = m_redBlue;
    EXPECT_TRUE(isRed(render(signature).pixel(25, 35)));
    EXPECT_TRUE(near(signature->_image.pixel(0, 0), Qt::green, 0)) << "held picture unchanged until reloaded";
    signature->reloadPictureIfPathChanged();
    EXPECT_TRUE(isRed(signature->_image.pixel(0, 0)));

    signature->_file_path = path("gone.png");
    EXPECT_TRUE(inkBounds(render(signature)).isEmpty());

    // A picture restored together with its path is shown even when the file is gone.
    auto restored = std::make_shared<LMNSignature>();
    restored->setBounds(QRectF(20, 20, 60, 30));
    restored->_isDrawingStroke = false;
    restored->_file_path = path("gone.png");
    restored->_image = QImage(m_green);
    EXPECT_TRUE(near(render(restored).pixel(50, 35), Qt::green, 10));
    auto copy = std::static_pointer_cast<LMNSignature>(restored->clone());
    EXPECT_TRUE(near(render(copy).pixel(50, 35), Qt::green, 10));
    restored->_file_path = m_redBlue;
    EXPECT_TRUE(isRed(render(restored).pixel(25, 35)));
}

TEST_F(ElementPictureDraw, BarcodePictureAtItsOwnSizeAtTheOrigin)
{
    auto barcode = std::make_shared<LMNBarcode>();
    barcode->setBounds(QRectF(30, 40, 10, 10));
    QImage bars(100, 40, QImage::Format_ARGB32);
    bars.fill(Qt::black);
    bars.setDotsPerMeterX(5669); // 144 dpi: 50 x 20 points
    bars.setDotsPerMeterY(5669);
    barcode->Set_Barcode_image(bars);
    const QImage out = render(barcode);
    EXPECT_EQ(inkBounds(out, 60), QRect(30, 40, 50, 20));
    EXPECT_TRUE(barcode->drawingBounds().contains(QRectF(30, 40, 50, 20)));
    barcode->makeNaturalSize();
    EXPECT_EQ(barcode->bounds().size().toSize(), QSize(50, 20));

    // At 300 dpi the same 50 x 20 points.
    const QImage fine = render(barcode, 300);
    const QRect ink = inkBounds(fine, 60);
    EXPECT_NEAR(ink.left(), 125, 1);
    EXPECT_NEAR(ink.width(), 208, 2);
}

TEST_F(ElementPictureDraw, GreyBarcodePicturesDrawAsTheirThirtyTwoBitPictures)
{
    // Barcode pictures of grey colours are 8-bit grey: reduced, enlarged or at their size, a
    // card shows them exactly as the 32-bit pictures they hold the grey of.
    QImage grey(1001, 413, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar((x / 7 + y / 13) % 3 == 0 ? 0 : y > 350 ? (x * 37) % 256 : 255);
    grey.setDotsPerMeterX(23622); // 600 dpi: 120.1 x 49.6 points
    grey.setDotsPerMeterY(23622);
    const QImage argb = grey.convertToFormat(QImage::Format_RGB32);
    for (const double dpi : {36.0, 72.0, 150.0, 300.0, 600.0, 1200.0}) {
        const auto drawn = [dpi](const QImage &picture) {
            auto barcode = std::make_shared<LMNBarcode>();
            barcode->setBounds(QRectF(20.3, 30.6, 10, 10));
            barcode->Set_Barcode_image(picture);
            return render(barcode, dpi);
        };
        EXPECT_EQ(drawn(grey), drawn(argb)) << dpi << " dpi";
        EXPECT_EQ(drawn(grey), drawn(grey)) << dpi << " dpi, drawn again";
    }
}

TEST_F(ElementPictureDraw, BarcodeWithoutPictureShowsTheSample)
{
    QTemporaryDir resources;
    QImage sample(20, 10, QImage::Format_ARGB32);
    sample.fill(Qt::green);
    ASSERT_TRUE(sample.save(resources.filePath(QStringLiteral("barcode_sample.png"))));

    auto barcode = std::make_shared<LMNBarcode>();
    barcode->setBounds(QRectF(30, 40, 60, 30));
    const QImage out = render(barcode, 72, resources.path());
    EXPECT_TRUE(near(out.pixel(60, 55), Qt::green, 10));
    EXPECT_TRUE(TestHelpers::onlyInside(out, Qt::white, pixelArea(barcode->bounds())));
    // No resource folder, or no sample in it: nothing.
    EXPECT_TRUE(inkBounds(render(barcode)).isEmpty());
    EXPECT_TRUE(inkBounds(render(barcode, 72, m_dir.path())).isEmpty());
}

TEST_F(ElementPictureDraw, SameElementsDrawAlikeOnManyThreadsAtOnce)
{
    auto image = picture();
    image->hue_val = 40;
    image->blr_val = 1;
    auto signature = std::make_shared<LMNSignature>();
    signature->setBounds(QRectF(130, 80, 40, 40));
    signature->_file_path = m_green; // never loaded on this thread: every renderer reads it
    const GraphicList graphics{image, signature};

    const QImage expected = render(LMNRenderingView::snapshot(graphics), 150);
    std::vector<QImage> results(6);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&, i] { results[i] = render(graphics, 150); });
    for (auto &t : threads)
        t.join();
    for (const QImage &result : results)
        EXPECT_EQ(result, expected);
}
