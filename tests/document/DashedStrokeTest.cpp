// Dashed outlines are Qt's own pixels where they reach past the picture too: Qt's dasher lays
// out such outlines otherwise than its stroker, so they are Qt's to draw. Each drawn first,
// again, on a fresh thread and on four threads at once.

#include "document/DashedStroke.h"
#include "document/LMNLine.h"
#include "document/PaintStyles.h"
#include "document/Shape_Control.h"

#include "support/TestHelpers.h"

#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

namespace {

// An outline on a card of `card` points drawn at `dpi`, by the element or by plain QPainter.
struct Outline
{
    std::string what;
    QSizeF card;
    double dpi;
    GraphicPtr element;
    std::function<void(QPainter &)> qt;
};

QImage paint(const Outline &o, bool plainQt)
{
    const double scale = o.dpi / 72.0;
    QImage image(QSize(int(std::ceil(o.card.width() * scale)), int(std::ceil(o.card.height() * scale))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    if (plainQt)
        o.qt(painter);
    else
        o.element->draw(painter, DrawContext());
    return image;
}


Outline shape(const char *code, const QRectF &bounds, const char *border, double width, const QSizeF &card, double dpi)
{
    auto s = std::make_shared<Shape_Control>();
    s->_shape_type = QString::fromLatin1(code);
    s->setBounds(bounds);
    s->_isDrawingFill = false;
    s->_isDrawingStroke = true;
    s->_strokeWidth = width;
    s->_strokeColor = QColor(40, 30, 120);
    s->_stroke_border_type = QString::fromLatin1(border);
    std::ostringstream what;
    what << "shape " << code << " " << border << " " << width << " pt at (" << bounds.x() << ", " << bounds.y() << ") "
         << bounds.width() << " x " << bounds.height() << " on " << card.width() << " x " << card.height() << " at "
         << dpi << " dpi";
    return {what.str(), card, dpi, s, [s](QPainter &painter) {
                painter.strokePath(s->path(),
                                   PaintStyles::borderPen(s->_strokeColor, s->_strokeWidth, s->_stroke_border_type));
            }};
}

Outline line(const QRectF &bounds, int orientation, const char *border, double width, const QSizeF &card, double dpi)
{
    auto l = std::make_shared<LMNLine>();
    l->setBounds(bounds);
    l->_line_ori = orientation;
    l->_line_cap_style = 1;
    l->_strokeWidth = width;
    l->_strokeColor = QColor(120, 20, 40, 200);
    l->_stroke_border_type = QString::fromLatin1(border);
    std::ostringstream what;
    what << "round-capped line " << border << " " << width << " pt, orientation " << orientation << " in (" << bounds.x()
         << ", " << bounds.y() << ") " << bounds.width() << " x " << bounds.height() << " at " << dpi << " dpi";
    return {what.str(), card, dpi, l, [l](QPainter &painter) {
                painter.setPen(l->linePen());
                painter.drawLine(l->line());
            }};
}

// A dashed rectangle larger than its card (the smallest design that showed dashes Qt does not
// draw), every dash pattern at three widths; a frame reaching just past the card's edges; and
// random outlines and lines of which a part lies beyond the card.
std::vector<Outline> outlinesPastTheCard()
{
    const QSizeF card(243, 153);
    std::vector<Outline> outlines;
    for (const char *border : {"DA", "DO", "DD", "DDD"})
        for (double width : {1.0, 1.89, 3.5})
            outlines.push_back(shape("R", QRectF(46.5, 48.8, 418, 127), border, width, card, 300));
    // A frame round the card whose points lie on it and whose width reaches past its edges.
    for (const char *border : {"DA", "DO", "DD", "DDD"})
        outlines.push_back(shape("R", QRectF(0.4, 0.6, 242.2, 152.1), border, 3.5, card, 300));
    QRandomGenerator random(4242);
    const char *borders[] = {"DA", "DO", "DD", "DDD"};
    const char *shapes[] = {"R", "S", "RR"};
    for (int i = 0; i < 16; ++i) {
        // Starting on the card, reaching past one or two of its edges (or before them).
        const QRectF bounds(-40.0 + random.bounded(200.0), -30.0 + random.bounded(120.0), 60.0 + random.bounded(300.0),
                            40.0 + random.bounded(160.0));
        const double width = 1.2 + random.bounded(4.0);
        const double dpi = std::array{150.0, 300.0, 600.0}[random.bounded(3)];
        if (i % 4 == 3)
            outlines.push_back(line(bounds, int(random.bounded(4)), borders[random.bounded(4)], width, card, dpi));
        else
            outlines.push_back(shape(shapes[random.bounded(3)], bounds, borders[random.bounded(4)], width, card, dpi));
    }
    return outlines;
}

} // namespace

TEST(DashedStroke, OutlinesPastTheCardAreQtsPixelsFirstAgainAndOnAFreshThread)
{
    for (const Outline &o : outlinesPastTheCard()) {
        SCOPED_TRACE(o.what);
        const QImage qt = paint(o, true);
        std::thread([&] {
            for (int time = 0; time < 3; ++time) {
                const QImage drawn = paint(o, false);
                ASSERT_EQ(drawn, qt) << "drawing " << time << ": " << TestHelpers::differingPixels(drawn, qt) << " pixels differ";
            }
        }).join();
    }
}

TEST(DashedStroke, OutlinesPastTheCardAreQtsPixelsOnFourThreadsAtOnce)
{
    const std::vector<Outline> outlines = outlinesPastTheCard();
    std::vector<QImage> qt;
    for (const Outline &o : outlines)
        qt.push_back(paint(o, true));
    std::vector<std::vector<QImage>> drawn(4);
    std::vector<std::thread> threads;
    const auto order = [&](int t, std::size_t i) { return (i * std::size_t(2 * t + 1) + std::size_t(t)) % outlines.size(); };
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < 2 * outlines.size(); ++i)
                drawn[std::size_t(t)].push_back(paint(outlines[order(t, i)], false));
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t)
        for (std::size_t i = 0; i < 2 * outlines.size(); ++i)
            EXPECT_EQ(drawn[std::size_t(t)][i], qt[order(t, i)])
                << "thread " << t << ", " << outlines[order(t, i)].what << ": "
                << TestHelpers::differingPixels(drawn[std::size_t(t)][i], qt[order(t, i)]) << " pixels differ";
}

// Outlines wholly on the card are still drawn dash group by dash group, and as Qt draws them.
TEST(DashedStroke, OutlinesOnTheCardAreStillDrawnInGroups)
{
    const QSizeF card(243, 153);
    for (const char *border : {"DA", "DO", "DD", "DDD"}) {
        const Outline o = shape("R", QRectF(20.5, 18.8, 180, 100), border, 1.89, card, 300);
        SCOPED_TRACE(o.what);
        std::thread([&] {
            const QImage ours = paint(o, false);
            const bool grouped = DashedStroke::lastCallGrouped();
            EXPECT_EQ(ours, paint(o, true));
            EXPECT_TRUE(grouped);
        }).join();
    }
}
