// Large glyphs drawn from the cache's masks look as Qt draws them: the same ink, centred within
// a quarter pixel, differing only on edge pixels; small text and clipped painters stay Qt's.

#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"
#include "document/LMNText.h"
#include "document/LargeGlyphCache.h"
#include "support/TestHelpers.h"

#include <QPainter>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace {

// A white picture of `points` at `dpi` with `draw` painting on it; `qtOnly` gives the painter a
// clip of the whole picture first, which leaves every glyph to Qt as before the cache.
QImage picture(QSizeF points, double dpi, bool qtOnly, const std::function<void(QPainter &)> &draw,
               QImage::Format format = QImage::Format_ARGB32_Premultiplied, const QColor &paper = Qt::white)
{
    const double scale = dpi / 72.0;
    QImage image(int(std::ceil(points.width() * scale)), int(std::ceil(points.height() * scale)), format);
    image.fill(paper);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (qtOnly)
        painter.setClipRect(image.rect());
    painter.scale(scale, scale);
    draw(painter);
    return image;
}

// A barcode caption line.
QImage caption(double dpi, bool qtOnly, const QColor &colour = Qt::black)
{
    return picture(QSizeF(150, 20), dpi, qtOnly, [&colour](QPainter &painter) {
        BarcodeText::drawAtPoint(painter, QStringLiteral("AVA 4711 Wg"), CardFont(QStringLiteral("TimesNewRomanPSMT"), 10),
                                 colour, 0.7, QPointF(3.3, 17.1));
    });
}

// Compares the cached picture with Qt's: total ink within 1%, its centre within a quarter
// pixel, pixels outside `inside` equal, and differing pixels only where Qt's picture changes
// within a pixel. Returns the largest channel difference; `share` gets the differing share of
// the inked pixels, `differingOut` their number.
int expectDrawnAlike(const QImage &qt, const QImage &cached, const QRect &inside, double *share, int *differingOut = nullptr)
{
    double total[2] = {0, 0}, cx[2] = {0, 0}, cy[2] = {0, 0};
    int worst = 0, differing = 0, inked = 0;
    for (int y = 0; y < qt.height(); ++y) {
        for (int x = 0; x < qt.width(); ++x) {
            const QRgb q = qt.pixel(x, y), c = cached.pixel(x, y);
            for (int i = 0; i < 2; ++i) {
                const double v = 255 - qGray(i ? c : q);
                total[i] += v;
                cx[i] += v * x;
                cy[i] += v * y;
            }
            if (!inside.contains(x, y))
                EXPECT_EQ(c, q) << x << "," << y;
            const int d = std::max({std::abs(qRed(q) - qRed(c)), std::abs(qGreen(q) - qGreen(c)), std::abs(qBlue(q) - qBlue(c))});
            worst = std::max(worst, d);
            if (d > 0 && x > 0 && y > 0 && x + 1 < qt.width() && y + 1 < qt.height()) {
                bool edge = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        edge = edge || qt.pixel(x + dx, y + dy) != q;
                if (!edge)
                    ADD_FAILURE() << "a difference inside a flat area at " << x << "," << y;
            }
            differing += d > 0;
            inked += q != 0xffffffffu || c != 0xffffffffu;
        }
    }
    EXPECT_GT(total[0], 0);
    EXPECT_NEAR(total[1], total[0], 0.01 * total[0]);
    EXPECT_NEAR(cx[1] / total[1], cx[0] / total[0], 0.25);
    EXPECT_NEAR(cy[1] / total[1], cy[0] / total[0], 0.25);
    *share = inked ? double(differing) / inked : 0;
    if (differingOut)
        *differingOut = differing;
    return worst;
}

} // namespace

TEST(LargeGlyphCache, DrawsLargeCaptionsAsQtDoesAndLeavesSmallOnesToQt)
{
    for (const QColor &colour : {QColor(Qt::black), QColor(200, 20, 40, 140)}) {
        const QImage qt = caption(600, true, colour);
        const QImage cached = caption(600, false, colour);
        ASSERT_GT(LargeGlyphCache::maskCount(), 0);
        double share = 0;
        int differing = 0;
        EXPECT_LE(expectDrawnAlike(qt, cached, qt.rect(), &share, &differing), 128);
        EXPECT_LT(differing, qt.width() * qt.height() / 20);
    }
    // 10 points at 300 dpi are 42 pixels: Qt's own glyph cache draws them, the picture stays Qt's.
    EXPECT_EQ(caption(300, false), caption(300, true));
}

TEST(LargeGlyphCache, PicturesAreTheSameOnEveryThread)
{
    const auto render = [](int i) {
        const QStringList values{QStringLiteral("590123412345"), QStringLiteral("400638133393")};
        auto barcode = LinearBarcodes::create(QStringLiteral("EAN-13"), values.at(i % 2), true);
        barcode->setCaptionFontSize(10);
        BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
        barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, BarcodeSizeFields{}));
        return NKDBarcodeOffscreenView(*barcode).toImage(600);
    };
    const QImage first = render(0);
    const QImage second = render(1);
    std::vector<QImage> results(8);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { results[i] = render(i); });
    for (std::thread &thread : threads)
        thread.join();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(results[i], i % 2 ? second : first) << i;
}

TEST(LargeGlyphCache, TextElementsDrawAsQtDrawsThem)
{
    const QStringList fonts{QStringLiteral("TimesNewRomanPSMT"), QStringLiteral("ArialMT"),
                            QStringLiteral("TimesNewRomanPS-BoldItalicMT")};
    int cachedCases = 0, worst = 0, variant = 0;
    double worstShare = 0;
    for (const double points : {8.0, 14.0, 24.0, 40.0, 72.0}) {
        for (const double dpi : {72.0, 150.0, 300.0, 600.0}) {
            if (points * dpi / 72.0 > 64.0 && dpi > 300 && points > 40)
                continue; // a 72 point title at 600 dpi tells nothing a 40 point one does not
            ++variant;
            LMNText text;
            text.setText(variant % 3 ? QStringLiteral("Happy Birthday, Anna!\nSee you at 3 pm")
                                     : QStringLiteral("Wir feiern \u00c4pfel & Quitten"));
            // Some boxes cut the second line or the right edge: those lines stay Qt's.
            text.setBounds(QRectF(12.3, 7.6, variant % 4 ? 215.5 : 120.2, variant % 5 ? 100.4 : points * 1.4));
            text.text_ctrl_font = CardFont(fonts.at(variant % fonts.size()), points);
            text.text_alignmnet = variant % 4;
            text.text_transfrom_case = variant % 4 == 1 ? 1 : 0;
            text.text_kerning = variant % 2 ? 1.5f : 0.0f;
            text.txt_clr = variant % 3 == 2 ? QColor(200, 20, 40, 140) : QColor(20, 40, 90);
            text._isDrawingStroke = false;
            auto draw = [&text](QPainter &painter) { text.draw(painter, DrawContext{}); };

            const QImage qt = picture(QSizeF(240, 120), dpi, true, draw);
            // Drawn on a thread of its own, whose masks are all this picture's.
            QImage cached;
            bool usedMasks = false;
            std::thread([&] {
                cached = picture(QSizeF(240, 120), dpi, false, draw);
                usedMasks = LargeGlyphCache::maskCount() > 0;
            }).join();
            SCOPED_TRACE(testing::Message() << points << " pt at " << dpi << " dpi, variant " << variant);
            if (points * dpi / 72.0 <= 64.0) {
                EXPECT_EQ(cached, qt);
                continue;
            }
            cachedCases += usedMasks;
            // Masks draw only pixels wholly inside the bounds: beyond them the picture is Qt's.
            const QRectF device = QTransform::fromScale(dpi / 72.0, dpi / 72.0).mapRect(text.bounds());
            const QRect inside(QPoint(int(std::ceil(device.left())), int(std::ceil(device.top()))),
                               QPoint(int(std::floor(device.right())) - 1, int(std::floor(device.bottom())) - 1));
            double share = 0;
            worst = std::max(worst, expectDrawnAlike(qt, cached, inside, &share));
            worstShare = std::max(worstShare, share);
        }
    }
    EXPECT_GT(cachedCases, 5);
    // Measured here: differences only on edge pixels, at most 70 of 255 in a channel, on at
    // most 35% of the inked pixels (thin strokes are mostly edge).
    EXPECT_LE(worst, 128);
    EXPECT_LT(worstShare, 0.5);
}

TEST(LargeGlyphCache, GreyPicturesGetTheGreyOfThirtyTwoBitOnes)
{
    // Grey ink on an 8-bit grey picture: large glyphs from the cache, small, wrapped and cut
    // lines from Qt, each exactly the grey of the same text drawn on a 32-bit picture.
    enum Way { AtPoint, InRect, Wrapped, Cut };
    struct Case
    {
        const char *name;
        Way way;
        const char *text;
        const char *font;
        double points;
        double dpi;
        int ink;
        int paper;
    };
    const Case cases[] = {
        {"caption at 600 dpi", AtPoint, "AVA 4711 Wg", "TimesNewRomanPSMT", 10, 600, 0, 255},
        {"grey on grey", AtPoint, "guest 42", "ArialMT", 12, 600, 70, 210},
        {"small caption", AtPoint, "AVA 4711 Wg", "TimesNewRomanPSMT", 10, 72, 0, 255},
        {"small grey italic", AtPoint, "Table 7", "TimesNewRomanPS-BoldItalicMT", 9, 150, 40, 250},
        {"two lines at a point", AtPoint, "HEADER\nsecond", "ArialMT", 10, 300, 0, 255},
        {"header in its band", InRect, "HEADER", "ArialMT", 10, 600, 0, 255},
        {"small header in its band", InRect, "HEADER", "ArialMT", 8, 96, 20, 235},
        {"wrapped footer", Wrapped, "Birthday party at eight", "TimesNewRomanPSMT", 10, 600, 0, 255},
        {"small wrapped footer", Wrapped, "Birthday party at eight", "TimesNewRomanPSMT", 10, 72, 0, 255},
        {"cut word", Cut, "Unbreakablewordofthefooter", "TimesNewRomanPS-BoldItalicMT", 14, 600, 50, 255},
        {"small cut word", Cut, "Unbreakablewordofthefooter", "ArialMT", 14, 72, 0, 200},
    };
    for (const Case &c : cases) {
        const QColor ink(c.ink, c.ink, c.ink);
        const CardFont font(QString::fromLatin1(c.font), c.points);
        const QString text = QString::fromLatin1(c.text);
        const auto draw = [&](QPainter &painter) {
            switch (c.way) {
            case AtPoint:
                BarcodeText::drawAtPoint(painter, text, font, ink, 0.7, QPointF(3.3, 37.1));
                break;
            case InRect:
                BarcodeText::drawInRect(painter, text, font, ink, BarcodeText::kHeaderFooterKerning, Qt::AlignHCenter,
                                        QRectF(0, 4.2, 150, 20));
                break;
            case Wrapped:
                BarcodeText::drawInRect(painter, text, font, ink, 0.0, Qt::AlignLeft, QRectF(2.5, 1.5, 70, 38));
                break;
            case Cut:
                BarcodeText::drawInRect(painter, text, font, ink, 0.0, Qt::AlignRight, QRectF(10.25, 5.5, 60, 12));
                break;
            }
        };
        const QColor paper(c.paper, c.paper, c.paper);
        const QImage argb = picture(QSizeF(150, 40), c.dpi, false, draw, QImage::Format_ARGB32_Premultiplied, paper);
        const QImage grey = picture(QSizeF(150, 40), c.dpi, false, draw, QImage::Format_Grayscale8, paper);
        EXPECT_GT(TestHelpers::countPixelsDifferent(argb, paper, argb.rect(), 0), 0) << c.name;
        EXPECT_EQ(TestHelpers::greyMismatch(grey, argb).toStdString(), "") << c.name;
    }
    // Ink that is not an opaque grey is left to Qt on a grey picture.
    QImage grey(100, 100, QImage::Format_Grayscale8);
    QPainter painter(&grey);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QTextLayout layout(QStringLiteral("W"), BarcodeText::fontFor(CardFont(QStringLiteral("ArialMT"), 80), &grey));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    EXPECT_FALSE(LargeGlyphCache::draw(painter, layout.glyphRuns(), QPointF(0, 0), QColor(200, 0, 0)));
    EXPECT_FALSE(LargeGlyphCache::draw(painter, layout.glyphRuns(), QPointF(0, 0), QColor(0, 0, 0, 128)));
    EXPECT_TRUE(LargeGlyphCache::draw(painter, layout.glyphRuns(), QPointF(0, 0), QColor(0, 0, 0)));
}

// A glyph outline is hinted to its font's own size, so a font of 28 points drawn at 300 dpi
// and one of 14 points at 600 dpi, equally large on the device, have slightly different
// glyphs. Each must get its own: a thread that drew one first draws the other as a fresh
// thread does.
TEST(LargeGlyphCache, EquallyLargeGlyphsOfOtherFontSizesAreNotTakenForEachOther)
{
    struct Drawing
    {
        double points;
        double dpi;
        QString font;
    };
    const QList<QList<Drawing>> groups{
        {{14, 600, QStringLiteral("TimesNewRomanPS-ItalicMT")}, {28, 300, QStringLiteral("TimesNewRomanPS-ItalicMT")},
         {56, 150, QStringLiteral("TimesNewRomanPS-ItalicMT")}},
        {{20, 300, QStringLiteral("ArialMT")}, {40, 150, QStringLiteral("ArialMT")}, {10, 600, QStringLiteral("ArialMT")}},
        {{24, 300, QStringLiteral("TimesNewRomanPSMT")}, {24, 300, QStringLiteral("TimesNewRomanPS-BoldMT")},
         {24, 300, QStringLiteral("TimesNewRomanPS-ItalicMT")}},
    };
    const auto draw = [](const Drawing &d) {
        LMNText text;
        text.setText(QStringLiteral("Happy Birthday"));
        text.setBounds(QRectF(4, 2, 230, 70));
        text.text_ctrl_font = CardFont(d.font, d.points);
        text._isDrawingStroke = false;
        return picture(QSizeF(240, 80), d.dpi, false, [&text](QPainter &painter) { text.draw(painter, DrawContext{}); });
    };
    for (const QList<Drawing> &group : groups) {
        for (qsizetype last = 0; last < group.size(); ++last) {
            QImage fresh;
            std::thread([&] { fresh = draw(group.at(last)); }).join();
            QImage afterOthers;
            std::thread([&] {
                for (qsizetype i = 0; i < group.size(); ++i)
                    if (i != last)
                        draw(group.at(i));
                afterOthers = draw(group.at(last));
            }).join();
            EXPECT_EQ(afterOthers, fresh) << group.at(last).points << " pt at " << group.at(last).dpi << " dpi, "
                                          << group.at(last).font.toStdString();
        }
    }
}

// Qt's font engine leaves the sub-pixel shift of the last glyph picture it made set on the font
// face, and outlines read afterwards moved with it. Large text, whether drawn from masks or
// filled by Qt (a box cutting it), must come out as on a thread that has drawn nothing, after
// any smaller text drawn at sub-pixel positions.
TEST(LargeGlyphCache, LargeTextComesOutAsOnAFreshThreadWhateverWasDrawnBefore)
{
    const auto text = [](const QString &font, double points, const QRectF &bounds, double dpi) {
        return [=] {
            LMNText element;
            element.setText(QStringLiteral("Happy Birthday"));
            element.setBounds(bounds);
            element.text_ctrl_font = CardFont(font, points);
            element._isDrawingStroke = false;
            return picture(QSizeF(140, 50), dpi, false, [&element](QPainter &painter) { element.draw(painter, DrawContext{}); });
        };
    };
    const QString times = QStringLiteral("TimesNewRomanPS-ItalicMT");
    const QString arial = QStringLiteral("ArialMT");
    const QRectF whole(10, 10, 120, 30);
    const QRectF cutting(10, 10, 120, 11);
    struct Case
    {
        const char *before;
        std::function<QImage()> drawBefore;
        const char *drawn;
        std::function<QImage()> draw;
    };
    const Case cases[] = {
        {"Times at 72 dpi", text(times, 14, whole, 72), "Times from masks at 600 dpi", text(times, 14, whole, 600)},
        {"Times at 96 dpi", text(times, 14, whole, 96), "Times from masks at 600 dpi", text(times, 14, whole, 600)},
        {"Times at 72 dpi", text(times, 14, whole, 72), "Times cut by its box at 600 dpi", text(times, 14, cutting, 600)},
        {"Times at 150 dpi", text(times, 14, whole, 150), "Times cut by its box at 1200 dpi", text(times, 14, cutting, 1200)},
        {"Arial at 72 dpi", text(arial, 11, whole, 72), "Arial from masks at 600 dpi", text(arial, 11, whole, 600)},
        {"a caption at 72 dpi", [] { return caption(72, false); }, "a caption at 600 dpi", [] { return caption(600, false); }},
        {"a caption at 72 dpi", [] { return caption(72, false); }, "a caption Qt draws at 600 dpi", [] { return caption(600, true); }},
    };
    for (const Case &c : cases) {
        QImage fresh, after;
        std::thread([&] { fresh = c.draw(); }).join();
        std::thread([&] {
            c.drawBefore();
            after = c.draw();
        }).join();
        EXPECT_EQ(after, fresh) << c.drawn << " after " << c.before;
    }
}
