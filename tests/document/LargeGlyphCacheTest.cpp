#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"
#include "document/LMNText.h"
#include "document/LargeGlyphCache.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace {

// A caption line drawn at `dpi` on a 32-bit image; `qtOnly` draws through a clipped painter,
// which the mask cache leaves to Qt.
QImage caption(double dpi, bool qtOnly, const QColor &colour = Qt::black)
{
    const double scale = dpi / 72.0;
    QImage image(int(std::ceil(150 * scale)), int(std::ceil(20 * scale)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (qtOnly)
        painter.setClipRect(image.rect());
    painter.scale(scale, scale);
    BarcodeText::drawAtPoint(painter, QStringLiteral("AVA 4711 Wg"), CardFont(QStringLiteral("TimesNewRomanPSMT"), 10),
                             colour, 0.7, QPointF(3.3, 17.1));
    painter.end();
    return image;
}

struct Ink
{
    double total = 0;
    double x = 0;
    double y = 0;
};

Ink inkOf(const QImage &image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double v = 255 - qGray(image.pixel(x, y));
            ink.total += v;
            ink.x += v * x;
            ink.y += v * y;
        }
    }
    if (ink.total > 0) {
        ink.x /= ink.total;
        ink.y /= ink.total;
    }
    return ink;
}

} // namespace

TEST(LargeGlyphCache, DrawsLargeTextAsQtDoesToAQuarterPixel)
{
    for (const QColor &colour : {QColor(Qt::black), QColor(200, 20, 40, 140)}) {
        const QImage qt = caption(600, true, colour);
        const QImage cached = caption(600, false, colour);
        ASSERT_GT(LargeGlyphCache::maskCount(), 0);
        const Ink a = inkOf(qt);
        const Ink b = inkOf(cached);
        ASSERT_GT(a.total, 0);
        EXPECT_NEAR(b.total, a.total, 0.01 * a.total);
        EXPECT_NEAR(b.x, a.x, 0.25);
        EXPECT_NEAR(b.y, a.y, 0.25);
        // Pixels differ only along the edges, by the coverage of a fraction of a pixel.
        int differing = 0;
        for (int y = 0; y < qt.height(); ++y) {
            for (int x = 0; x < qt.width(); ++x) {
                const int d = std::abs(qGray(qt.pixel(x, y)) - qGray(cached.pixel(x, y)));
                EXPECT_LE(d, 128) << x << "," << y;
                differing += d > 0 ? 1 : 0;
                if (d > 128)
                    return;
            }
        }
        EXPECT_LT(differing, qt.width() * qt.height() / 20);
    }
}

TEST(LargeGlyphCache, LeavesSmallTextToQt)
{
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

namespace {

// A text element at `dpi` on a white 32-bit picture; `qtOnly` gives the painter a clip of the
// whole picture first, which leaves every line to Qt as before the cache.
QImage textPicture(const LMNText &text, double dpi, bool qtOnly)
{
    const double scale = dpi / 72.0;
    QImage image(int(std::ceil(240 * scale)), int(std::ceil(120 * scale)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (qtOnly)
        painter.setClipRect(image.rect());
    painter.scale(scale, scale);
    text.draw(painter, DrawContext{});
    painter.end();
    return image;
}

} // namespace

TEST(LargeGlyphCache, TextElementsDrawAsQtDrawsThem)
{
    const QStringList fonts{QStringLiteral("TimesNewRomanPSMT"), QStringLiteral("ArialMT"),
                            QStringLiteral("TimesNewRomanPS-BoldItalicMT")};
    int cachedCases = 0;
    int worst = 0;
    double worstShare = 0;
    int variant = 0;
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

            const QImage qt = textPicture(text, dpi, true);
            // Drawn on a thread of its own, whose masks are all this picture's.
            QImage cached;
            bool usedMasks = false;
            std::thread([&] {
                cached = textPicture(text, dpi, false);
                usedMasks = LargeGlyphCache::maskCount() > 0;
            }).join();
            SCOPED_TRACE(testing::Message() << points << " pt at " << dpi << " dpi, variant " << variant);
            if (points * dpi / 72.0 <= 64.0) {
                EXPECT_EQ(cached, qt);
                continue;
            }
            cachedCases += usedMasks ? 1 : 0;
            // Masks draw only pixels wholly inside the bounds: beyond them the picture is Qt's.
            const QRectF device = QTransform::fromScale(dpi / 72.0, dpi / 72.0).mapRect(text.bounds());
            const QRect inside(QPoint(int(std::ceil(device.left())), int(std::ceil(device.top()))),
                               QPoint(int(std::floor(device.right())) - 1, int(std::floor(device.bottom())) - 1));
            const Ink a = inkOf(qt);
            const Ink b = inkOf(cached);
            EXPECT_NEAR(b.total, a.total, 0.01 * a.total);
            EXPECT_NEAR(b.x, a.x, 0.25);
            EXPECT_NEAR(b.y, a.y, 0.25);
            int differing = 0;
            int inked = 0;
            for (int y = 0; y < qt.height(); ++y) {
                const QRgb *q = reinterpret_cast<const QRgb *>(qt.constScanLine(y));
                const QRgb *c = reinterpret_cast<const QRgb *>(cached.constScanLine(y));
                for (int x = 0; x < qt.width(); ++x) {
                    if (!inside.contains(x, y)) {
                        ASSERT_EQ(c[x], q[x]) << x << "," << y;
                    }
                    int d = 0;
                    for (int shift : {0, 8, 16})
                        d = std::max(d, std::abs(int((q[x] >> shift) & 0xff) - int((c[x] >> shift) & 0xff)));
                    worst = std::max(worst, d);
                    // Only along the edges: where Qt's picture changes within a pixel.
                    if (d > 0 && x > 0 && y > 0 && x + 1 < qt.width() && y + 1 < qt.height()) {
                        bool edge = false;
                        for (int dy = -1; dy <= 1; ++dy)
                            for (int dx = -1; dx <= 1; ++dx)
                                edge = edge || qt.pixel(x + dx, y + dy) != q[x];
                        ASSERT_TRUE(edge) << x << "," << y;
                    }
                    differing += d > 0 ? 1 : 0;
                    inked += q[x] != 0xffffffffu || c[x] != 0xffffffffu ? 1 : 0;
                }
            }
            worstShare = std::max(worstShare, double(differing) / inked);
        }
    }
    EXPECT_GT(cachedCases, 5);
    // Measured here: differences only on edge pixels, at most 70 of 255 in a channel, on at
    // most 35% of the inked pixels (thin strokes are mostly edge).
    EXPECT_LE(worst, 128);
    EXPECT_LT(worstShare, 0.5);
}
