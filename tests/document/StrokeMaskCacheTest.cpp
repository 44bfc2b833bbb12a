// Lines and outlines drawn from the per-thread stroke masks are Qt's own pixels, whatever was
// drawn on the thread before; strokes the masks cannot stand for are left to Qt; the masks
// stay within their bounds.

#include "document/DrawingCaches.h"
#include "document/GreyPictures.h"
#include "document/LMNLine.h"
#include "document/PaintStyles.h"
#include "document/Shape_Control.h"
#include "document/StrokeMaskCache.h"
#include "document/ThreadCacheBudget.h"

#include <QLinearGradient>
#include "support/TestHelpers.h"

#include <QPainter>
#include <QPainterPath>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

constexpr auto kHints = QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform;

// How a picture is set up before anything is drawn on it.
struct Sheet
{
    double dpi = 300;
    QPointF shift;       // device pixels, before the scale
    double opacity = 1;  // of the painter
    QImage::Format format = QImage::Format_ARGB32_Premultiplied;
    QColor paper = QColor(250, 240, 200);
    QSizeF points = QSizeF(110, 80);
};

QImage paint(const Sheet &sheet, const std::function<void(QPainter &)> &draw)
{
    const double scale = sheet.dpi / 72.0;
    QImage image(QSize(int(sheet.points.width() * scale), int(sheet.points.height() * scale)), sheet.format);
    image.fill(sheet.paper);
    QPainter painter(&image);
    painter.translate(sheet.shift);
    painter.scale(scale, scale);
    painter.setOpacity(sheet.opacity);
    painter.setRenderHints(kHints);
    draw(painter);
    return image;
}


// Runs `job` on a thread of its own: its masks are all its own.
void onFreshThread(const std::function<void()> &job)
{
    std::thread(job).join();
}

// An element that draws a stroke, and Qt's own drawing of that stroke.
struct Stroke
{
    GraphicPtr element;
    std::function<void(QPainter &)> qt;
};

Stroke line(const QRectF &bounds, int orientation, const char *border, int cap, double width, const QColor &colour)
{
    auto l = std::make_shared<LMNLine>();
    l->setBounds(bounds);
    l->_line_ori = orientation;
    l->_line_cap_style = cap;
    l->_strokeWidth = width;
    l->_strokeColor = colour;
    l->_stroke_border_type = QString::fromLatin1(border);
    return {l, [l](QPainter &painter) {
                painter.setPen(l->linePen());
                painter.drawLine(l->line());
            }};
}

Stroke outline(const char *code, const QRectF &bounds, const char *border, double width, const QColor &colour)
{
    auto s = std::make_shared<Shape_Control>();
    s->_shape_type = QString::fromLatin1(code);
    s->setBounds(bounds);
    s->_isDrawingFill = false;
    s->_isDrawingStroke = true;
    s->_strokeWidth = width;
    s->_strokeColor = colour;
    s->_stroke_border_type = QString::fromLatin1(border);
    return {s, [s](QPainter &painter) {
                painter.strokePath(s->path(),
                                   PaintStyles::borderPen(s->_strokeColor, s->_strokeWidth, s->_stroke_border_type));
            }};
}

// A shape filled in a plain colour (or the plain colour under a hatch without its pattern) at
// the shape's opacity, without an outline.
Stroke filled(const char *code, const QRectF &bounds, const char *fill, const QColor &colour)
{
    auto s = std::make_shared<Shape_Control>();
    s->_shape_type = QString::fromLatin1(code);
    s->setBounds(bounds);
    s->_isDrawingFill = true;
    s->_isDrawingStroke = false;
    s->_fill_type = QString::fromLatin1(fill);
    s->_fillColor = colour;
    s->_fill_htch_clr = colour;
    s->alpha_val = 0.85f;
    return {s, [s, colour](QPainter &painter) {
                painter.fillPath(s->path(), QBrush(PaintStyles::withOpacity(colour, 0.85)));
            }};
}

void drawElement(QPainter &painter, const Stroke &stroke)
{
    stroke.element->draw(painter, DrawContext());
}

// Whether the element's stroke is one the masks stand for, by what the cache holds after it:
// drawn once by Qt (no mask for a stroke drawn once), again (the mask made) and once more (from
// the mask).
bool drawnFromMask(const Sheet &sheet, const Stroke &stroke, QImage *first, QImage *second, QImage *third)
{
    const int before = StrokeMaskCache::maskCount();
    *first = paint(sheet, [&](QPainter &p) { drawElement(p, stroke); });
    const bool madeAtOnce = StrokeMaskCache::maskCount() != before;
    *second = paint(sheet, [&](QPainter &p) { drawElement(p, stroke); });
    const bool made = StrokeMaskCache::maskCount() == before + 1;
    *third = paint(sheet, [&](QPainter &p) { drawElement(p, stroke); });
    return made && !madeAtOnce;
}

const QColor kColours[] = {QColor(30, 40, 120), QColor(200, 30, 60, 200), QColor(20, 140, 40, 77)};
const double kOpacities[] = {1.0, 0.85, 0.4};
const QPointF kShifts[] = {QPointF(0, 0), QPointF(0.37, 0.81), QPointF(0.5, 0.125), QPointF(0.93, 0.02)};
const double kWidths[] = {1.5, 2.0, 3.3};

} // namespace

// The first drawing (Qt's), the second (which makes the mask) and the third (from it) all equal
// Qt's drawing, for
// every line kind, cap, width and orientation, outlines and plain fills of several shapes, 72 to
// 600 dpi, fractional positions, colours with alpha, painter opacity and translucent paper.
TEST(StrokeMaskCache, StrokesFromMasksAreQtsPixels)
{
    onFreshThread([] {
        int index = 0;
        int cached = 0;
        for (double dpi : {72.0, 150.0, 300.0, 600.0}) {
            for (const char *border : {"DA", "DD", "DO", "S"}) {
                std::vector<std::pair<std::string, Stroke>> strokes;
                for (int cap : {0, 1, 2}) {
                    const int orientation = (index + cap) % 4;
                    strokes.push_back({"line cap " + std::to_string(cap) + " orientation " + std::to_string(orientation),
                                       line(QRectF(6.3, 7.7, 93.4, 61.1), orientation, border, cap,
                                            kWidths[(index + cap) % 3], kColours[(index + cap) % 3])});
                }
                for (const char *code : {"R", "C", "S", "RR"})
                    strokes.push_back({std::string("outline ") + code,
                                       outline(code, QRectF(5.4, 6.1, 97.3, 66.6), border, kWidths[index % 3],
                                               kColours[(index + 1) % 3])});
                for (const char *code : {"C", "S", "R"})
                    strokes.push_back({std::string("fill ") + code,
                                       filled(code, QRectF(7.1 + index * 0.013, 4.9, 81.3, 60.6), index % 2 ? "S" : "H",
                                              kColours[(index + 2) % 3])});
                for (const auto &[what, stroke] : strokes) {
                    Sheet sheet;
                    sheet.dpi = dpi;
                    sheet.shift = kShifts[index % 4];
                    sheet.opacity = kOpacities[(index / 2) % 3];
                    if (index % 5 == 0)
                        sheet.paper = QColor(120, 180, 250, 140);
                    ++index;
                    SCOPED_TRACE(what + " " + border + " at " + std::to_string(dpi) + " dpi, case "
                                 + std::to_string(index));
                    QImage first, second, third;
                    const bool made = drawnFromMask(sheet, stroke, &first, &second, &third);
                    const QImage qt = paint(sheet, stroke.qt);
                    ASSERT_EQ(first, qt) << TestHelpers::differingPixels(first, qt) << " pixels differ";
                    ASSERT_EQ(second, qt) << TestHelpers::differingPixels(second, qt) << " pixels differ";
                    ASSERT_EQ(third, qt) << TestHelpers::differingPixels(third, qt) << " pixels differ";
                    // Qt draws a dashed line with flat or square caps dash by dash: left to it.
                    const bool dashByDash = what.rfind("line", 0) == 0 && what.find("cap 1") == std::string::npos
                                            && std::string(border) != "S";
                    EXPECT_EQ(made, !dashByDash);
                    cached += made;
                }
            }
        }
        EXPECT_GT(cached, index / 2);
    });
}

// Masks made on a thread that drew other strokes on pictures of the same size before are those
// of a fresh thread, and the same stroke a fraction of a pixel away gets a mask of its own.
TEST(StrokeMaskCache, AStrokeDrawnAfterOthersIsDrawnAsOnAFreshThread)
{
    Sheet sheet;
    sheet.dpi = 300;
    sheet.shift = QPointF(0.25, 0.75);
    const Stroke target = outline("S", QRectF(20.2, 10.4, 60.5, 55.3), "DA", 2.0, QColor(90, 20, 20, 230));
    QImage fresh, qt;
    onFreshThread([&] { fresh = paint(sheet, [&](QPainter &p) { drawElement(p, target); }); });
    onFreshThread([&] { qt = paint(sheet, target.qt); });
    ASSERT_EQ(fresh, qt) << TestHelpers::differingPixels(fresh, qt) << " pixels differ";

    onFreshThread([&] {
        // Others crossing where the target goes, in all kinds.
        for (int i = 0; i < 24; ++i) {
            const Stroke other = i % 2 ? line(QRectF(3 + i * 4.1, 2 + i, 70, 60), i % 4, i % 3 ? "DO" : "S", 1,
                                              kWidths[i % 3], kColours[i % 3])
                                       : outline(i % 4 ? "C" : "P", QRectF(i * 3.3, i * 2.1, 60, 50), "DD", 4.2,
                                                 kColours[i % 3]);
            paint(sheet, [&](QPainter &p) { drawElement(p, other); });
        }
        const QImage after = paint(sheet, [&](QPainter &p) { drawElement(p, target); });
        EXPECT_EQ(after, fresh) << TestHelpers::differingPixels(after, fresh) << " pixels differ";

        // The same stroke a sixty-fourth of a pixel to the right, drawn after the first.
        Sheet moved = sheet;
        moved.shift += QPointF(1.0 / 64, 0);
        const QImage nudged = paint(moved, [&](QPainter &p) { drawElement(p, target); });
        const QImage nudgedQt = paint(moved, target.qt);
        EXPECT_EQ(nudged, nudgedQt) << TestHelpers::differingPixels(nudged, nudgedQt) << " pixels differ";
    });
}

// Where the masks cannot stand for Qt's drawing the stroke is Qt's: no mask is made and the
// pixels are Qt's.
TEST(StrokeMaskCache, StrokesTheMasksCannotStandForAreLeftToQt)
{
    struct Case
    {
        const char *what;
        std::function<void(Sheet &)> sheet;
        std::function<void(QPainter &)> setUp;
        double width;
    };
    QPainterPath round;
    round.addEllipse(QRectF(4, 4, 90, 60));
    const std::vector<Case> cases = {
        {"a clip that is no rectangle", {}, [round](QPainter &p) { p.setClipPath(round); }, 2},
        {"a clip rectangle", {}, [](QPainter &p) { p.setClipRect(QRectF(10, 10, 50, 40)); }, 2},
        {"multiply", {}, [](QPainter &p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }, 2},
        {"an 8-bit grey picture", [](Sheet &s) { s.format = QImage::Format_Grayscale8; }, {}, 2},
        {"a 32-bit picture without alpha", [](Sheet &s) { s.format = QImage::Format_RGB32; }, {}, 2},
        {"not premultiplied", [](Sheet &s) { s.format = QImage::Format_ARGB32; }, {}, 2},
        {"a pen less than a pixel wide", [](Sheet &s) { s.dpi = 72; }, {}, 0.8},
    };
    onFreshThread([&] {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.what);
            Sheet sheet;
            sheet.dpi = 150;
            if (c.sheet)
                c.sheet(sheet);
            const Stroke stroke = outline("D", QRectF(8.3, 5.2, 80.1, 62.7), "DA", c.width, QColor(10, 10, 10));
            const int before = StrokeMaskCache::maskCount();
            const QImage ours = paint(sheet, [&](QPainter &p) {
                if (c.setUp)
                    c.setUp(p);
                drawElement(p, stroke);
            });
            const QImage qt = paint(sheet, [&](QPainter &p) {
                if (c.setUp)
                    c.setUp(p);
                stroke.qt(p);
            });
            EXPECT_EQ(StrokeMaskCache::maskCount(), before);
            EXPECT_EQ(ours, qt) << TestHelpers::differingPixels(ours, qt) << " pixels differ";
        }

        // A pen of a gradient.
        QLinearGradient gradient(0, 0, 100, 0);
        gradient.setColorAt(0, Qt::red);
        gradient.setColorAt(1, Qt::blue);
        QPen pen(QBrush(gradient), 3);
        QPainterPath path;
        path.moveTo(5, 5);
        path.lineTo(90, 60);
        bool called = false;
        QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        EXPECT_FALSE(StrokeMaskCache::draw(painter, StrokeMaskCache::Way::Path, path, pen, [&](QPainter &, const QPen &) {
            called = true;
            return false;
        }));
        EXPECT_FALSE(called);
    });
}

// However many strokes a thread draws, its masks stay within their count and bytes, and every
// stroke is still Qt's drawing.
TEST(StrokeMaskCache, MasksStayWithinTheirBounds)
{
    onFreshThread([] {
        Sheet sheet;
        sheet.dpi = 72;
        int largest = 0;
        for (int i = 0; i < StrokeMaskCache::kMaxMasks + 40; ++i) {
            const Stroke stroke = line(QRectF(2 + (i % 50) * 1.7, 3 + (i / 50) * 5.3, 30, 0), 0, "S", 1, 2.0, Qt::black);
            paint(sheet, [&](QPainter &p) { drawElement(p, stroke); });
            paint(sheet, [&](QPainter &p) { drawElement(p, stroke); });
            largest = std::max(largest, StrokeMaskCache::maskCount());
            ASSERT_LE(StrokeMaskCache::maskCount(), StrokeMaskCache::kMaxMasks);
        }
        EXPECT_GT(largest, StrokeMaskCache::kMaxMasks / 2);

        // Wide bands of dashes a few pixels long across a large picture, nearly every pixel
        // partly covered: a few fill the bytes, and the widest is never kept.
        for (double width : {600.0, 610.0, 620.0, 630.0, 640.0, 650.0, 660.0, 670.0, 680.0, 690.0, 1900.0}) {
            SCOPED_TRACE(width);
            QPen pen(QColor(0, 0, 90, 128), width, Qt::CustomDashLine, Qt::FlatCap);
            pen.setDashPattern({3.7 / width, 2.9 / width});
            QPainterPath path;
            path.moveTo(10.3, 1000.2);
            path.lineTo(2990.6, 1000.9 + width / 100);
            const auto stroke = [&](QPainter &painter, const QPen &drawn) {
                painter.strokePath(path, drawn);
                return false;
            };
            const auto picture = [&](bool cached) {
                QImage image(3000, 2000, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::white);
                QPainter painter(&image);
                painter.setRenderHints(kHints);
                if (!cached || !StrokeMaskCache::draw(painter, StrokeMaskCache::Way::Path, path, pen, stroke))
                    stroke(painter, pen);
                return image;
            };
            const int before = StrokeMaskCache::maskCount();
            const QImage once = picture(true);
            const QImage ours = picture(true);
            ASSERT_LE(StrokeMaskCache::maskBytes(), StrokeMaskCache::kMaxBytes);
            ASSERT_GT(StrokeMaskCache::maskCount(), 0);
            if (width > 1000) { // a quarter of all the bytes at least
                EXPECT_EQ(StrokeMaskCache::maskCount(), before);
            }
            const QImage qt = picture(false);
            ASSERT_EQ(once, qt) << TestHelpers::differingPixels(once, qt) << " pixels differ";
            ASSERT_EQ(ours, qt) << TestHelpers::differingPixels(ours, qt) << " pixels differ";
        }
    });
}

// A thread whose masks are full lets the one used longest ago go, not all of them: a stroke
// drawn on every card stays while distinct strokes come and go.
TEST(StrokeMaskCache, TheOldestMaskGoesFirst)
{
    onFreshThread([] {
        Sheet sheet;
        sheet.dpi = 72;
        const Stroke kept = outline("C", QRectF(10.5, 10.5, 60, 40), "S", 2.0, QColor(20, 20, 90));
        const auto draw = [&](const Stroke &stroke) { return paint(sheet, [&](QPainter &p) { drawElement(p, stroke); }); };
        draw(kept);
        draw(kept);
        ASSERT_EQ(StrokeMaskCache::maskCount(), 1);
        const QImage qt = paint(sheet, kept.qt);
        int dropped = 0;
        for (int i = 0; i < 2 * StrokeMaskCache::kMaxMasks; ++i) {
            const Stroke other = line(QRectF(2 + (i % 50) * 1.7, 3 + (i / 50) * 2.3, 30, 0), 0, "S", 1, 2.0, Qt::black);
            draw(other);
            const int before = StrokeMaskCache::maskCount();
            draw(other);
            dropped += StrokeMaskCache::maskCount() <= before;
            // The kept stroke is drawn between every two others: from its mask, never made again.
            const int held = StrokeMaskCache::maskCount();
            ASSERT_EQ(draw(kept), qt) << i;
            ASSERT_EQ(StrokeMaskCache::maskCount(), held) << i << ": the kept stroke's mask was made again";
        }
        // Masks went one at a time, never all at once.
        EXPECT_GT(dropped, StrokeMaskCache::kMaxMasks / 2);
        EXPECT_EQ(StrokeMaskCache::maskCount(), StrokeMaskCache::kMaxMasks);
    });
}

// Strokes drawn once each (distinct cards) make no masks, nor do strokes that come round again
// only after more others than the masks could have kept: they would be gone by then.
TEST(StrokeMaskCache, StrokesNotDrawnAgainSoonEnoughMakeNoMasks)
{
    onFreshThread([] {
        Sheet sheet;
        sheet.dpi = 72;
        const auto stroke = [](int i) {
            return line(QRectF(2 + (i % 60) * 1.5, 3 + (i / 60) * 1.1, 30, 0), 0, "S", 1, 2.0, Qt::black);
        };
        const int cycle = StrokeMaskCache::kMaxMasks + 200;
        for (int round = 0; round < 2; ++round)
            for (int i = 0; i < cycle; ++i)
                paint(sheet, [&](QPainter &p) { drawElement(p, stroke(i)); });
        EXPECT_EQ(StrokeMaskCache::maskCount(), 0);
        // A shorter round comes back in time.
        for (int round = 0; round < 2; ++round)
            for (int i = 0; i < 100; ++i)
                paint(sheet, [&](QPainter &p) { drawElement(p, stroke(i)); });
        EXPECT_EQ(StrokeMaskCache::maskCount(), 100);
    });
}

// With the caches off no stroke is taken from a mask or kept, and every picture is Qt's;
// turned on again, they keep again. A reset lets go of everything a thread keeps.
TEST(StrokeMaskCache, CachesOffKeepNothingAndResetLetsGo)
{
    onFreshThread([] {
        Sheet sheet;
        sheet.dpi = 150;
        const Stroke stroke = outline("S", QRectF(8.3, 5.2, 80.1, 62.7), "DA", 2.5, QColor(200, 30, 60, 200));
        const QImage qt = paint(sheet, stroke.qt);
        QImage grey(300, 100, QImage::Format_Grayscale8);
        grey.fill(128);
        DrawingCaches::setEnabled(false);
        for (int time = 0; time < 3; ++time)
            EXPECT_EQ(paint(sheet, [&](QPainter &p) { drawElement(p, stroke); }), qt) << time;
        EXPECT_EQ(GreyPictures::keptThirtyTwoBit(grey), GreyPictures::toThirtyTwoBit(grey));
        EXPECT_EQ(StrokeMaskCache::maskCount(), 0);
        EXPECT_EQ(GreyPictures::keptBytes(), 0);
        EXPECT_EQ(ThreadCacheBudget::threadBytes(), 0);
        DrawingCaches::setEnabled(true);
        for (int time = 0; time < 3; ++time)
            EXPECT_EQ(paint(sheet, [&](QPainter &p) { drawElement(p, stroke); }), qt) << time;
        GreyPictures::keptThirtyTwoBit(grey);
        EXPECT_EQ(StrokeMaskCache::maskCount(), 1);
        EXPECT_GT(GreyPictures::keptBytes(), 0);
        DrawingCaches::resetThread();
        EXPECT_EQ(StrokeMaskCache::maskCount(), 0);
        EXPECT_EQ(GreyPictures::keptBytes(), 0);
        EXPECT_EQ(ThreadCacheBudget::threadBytes(), 0);
    });
}

// Kept barcode pictures take no more than their share of a thread's bytes, so that masks always
// find room beside them; what a thread holds, its coverage picture included, is what it counts.
TEST(StrokeMaskCache, PicturesAndMasksDoNotStarveEachOther)
{
    onFreshThread([] {
        std::vector<QImage> pictures;
        for (int i = 0; i < 8; ++i) {
            QImage grey(1600, 700, QImage::Format_Grayscale8); // 4.3 MB at 32 bits
            grey.fill(i * 20);
            pictures.push_back(grey);
        }
        Sheet sheet;
        sheet.dpi = 600;
        const Stroke stroke = outline("RR", QRectF(8.3, 5.2, 80.1, 62.7), "S", 2.5, QColor(20, 30, 60));
        for (int round = 0; round < 3; ++round) {
            for (const QImage &grey : pictures) {
                GreyPictures::keptThirtyTwoBit(grey);
                EXPECT_LE(GreyPictures::keptBytes(), GreyPictures::kKeptShare);
                paint(sheet, [&](QPainter &p) { drawElement(p, stroke); });
                EXPECT_LE(ThreadCacheBudget::threadBytes(), ThreadCacheBudget::kThreadBytes);
                EXPECT_EQ(ThreadCacheBudget::threadBytes(),
                          StrokeMaskCache::maskBytes() + GreyPictures::keptBytes());
            }
            EXPECT_EQ(StrokeMaskCache::maskCount(), 1) << round;
            EXPECT_GT(GreyPictures::keptBytes(), 0);
        }
    });
}
