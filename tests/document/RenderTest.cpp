// The off-screen renderer: order, print and visibility flags, background, resolution, PDF,
// dirty rectangles, bad sizes and rendering on several threads while the elements are drawn
// elsewhere.

#include "RenderTestSupport.h"

#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNText.h"
#include "document/Shape_Control.h"

#include <QBuffer>
#include <QPainterPath>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace RenderTestSupport;

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
    const QImage image = render(graphics);
    EXPECT_TRUE(near(image.pixel(65, 65), Qt::red, 0));
    EXPECT_TRUE(near(image.pixel(100, 100), Qt::blue, 0));
    EXPECT_TRUE(near(image.pixel(30, 30), Qt::red, 0));

    const QImage swapped = render(GraphicList{graphics[1], graphics[0]});
    EXPECT_TRUE(near(swapped.pixel(65, 65), Qt::blue, 0));
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
    QImage canvas = canvasDrawing(GraphicList{hidden, notPrinted, shown}, QRectF());
    EXPECT_TRUE(near(canvas.pixel(130, 50), Qt::green, 0));
    EXPECT_TRUE(near(canvas.pixel(50, 50), Qt::white, 0));
    canvas = canvasDrawing(GraphicList{box(QRectF(10, 10, 20, 20), Qt::red), nullptr, box(QRectF(150, 100, 20, 20), Qt::blue)},
                           QRectF(0, 0, 50, 50));
    EXPECT_TRUE(near(canvas.pixel(20, 20), Qt::red, 0));
    EXPECT_TRUE(near(canvas.pixel(160, 110), Qt::white, 0));
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
    EXPECT_TRUE(near(image.pixel(100, 40), QColor(255, 240, 200), 0));
    EXPECT_TRUE(near(image.pixel(100, 75), Qt::blue, 0));

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
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 300, 0.1);
    EXPECT_NEAR(image.dotsPerMeterY() * 0.0254, 300, 0.1);
    const QRect ink = inkBounds(image.convertToFormat(QImage::Format_ARGB32));
    EXPECT_NEAR(ink.left(), 300, 1);
    EXPECT_NEAR(ink.top(), 150, 1);
    EXPECT_NEAR(ink.width(), 300, 2);

    // Both roads give the same picture.
    EXPECT_EQ(view.image_From_Card_Graphics(mixedCard(), 0), view.image_From_Card_Graphics(mixedCard(), 1));
}

TEST(Render, UnusableSizesGiveNoImage)
{
    EXPECT_TRUE(LMNRenderingView(QSizeF(0, 100)).image_From_Card_Graphics({}).isNull());
    EXPECT_TRUE(LMNRenderingView(QSizeF(100, -5)).image_From_Card_Graphics({}).isNull());
    LMNRenderingView huge(QSizeF(1e6, 1e6));
    EXPECT_TRUE(huge.image_From_Card_Graphics({}).isNull());
    LMNRenderingView thread(QSizeF(1e10, 1e-3)); // few pixels, but one side beyond any int
    EXPECT_TRUE(thread.image_From_Card_Graphics({}).isNull());
    LMNRenderingView noDpi(kCard);
    noDpi.setResolution(0);
    EXPECT_TRUE(noDpi.image_From_Card_Graphics({}).isNull());
    noDpi.setResolution(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(noDpi.image_From_Card_Graphics({}).isNull());
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
