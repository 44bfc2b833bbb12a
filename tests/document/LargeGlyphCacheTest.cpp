#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "document/LargeGlyphCache.h"
#include "barcode/LinearBarcodes.h"
#include "barcode/NKDBarcodeOffscreenView.h"

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
