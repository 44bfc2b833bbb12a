// Large text drawn from the per-thread masks is Qt's own pixels, drawn first, again, on a fresh
// thread and on several threads at once; small text and clipped painters stay Qt's; what the
// threads keep stays within its bytes.

#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"
#include "document/LMNText.h"
#include "document/LargeGlyphCache.h"
#include "document/ThreadCacheBudget.h"
#include "support/TestHelpers.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
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

} // namespace

TEST(LargeGlyphCache, LargeCaptionsAreQtsPixelsAndSmallOnesStayQts)
{
    for (const QColor &colour : {QColor(Qt::black), QColor(200, 20, 40, 140)}) {
        std::thread([&] {
            const QImage qt = caption(600, true, colour);
            for (int time = 0; time < 3; ++time)
                EXPECT_EQ(caption(600, false, colour), qt) << "drawing " << time;
            EXPECT_GT(LargeGlyphCache::maskCount(), 0);
        }).join();
    }
    // 10 points at 300 dpi are 42 pixels: Qt's own glyph cache draws them.
    std::thread([] {
        EXPECT_EQ(caption(300, false), caption(300, true));
        EXPECT_EQ(caption(300, false), caption(300, true));
        EXPECT_EQ(LargeGlyphCache::maskCount(), 0);
    }).join();
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
    QImage grey(200, 200, QImage::Format_Grayscale8);
    grey.fill(255);
    QPainter painter(&grey);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QTextLayout layout(QStringLiteral("W"), BarcodeText::fontFor(CardFont(QStringLiteral("ArialMT"), 80), &grey));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const auto draw = [&](const QColor &colour) {
        return LargeGlyphCache::draw(painter, LargeGlyphCache::Way::TextLayout, layout.glyphRuns(), QPointF(30, 20),
                                     colour, [&](QPainter &target) { layout.draw(&target, QPointF(30, 20)); });
    };
    for (int time = 0; time < 2; ++time) {
        EXPECT_FALSE(draw(QColor(200, 0, 0)));
        EXPECT_FALSE(draw(QColor(0, 0, 0, 128)));
    }
    // Drawn once by Qt, then from the mask.
    EXPECT_FALSE(draw(QColor(0, 0, 0)));
    EXPECT_TRUE(draw(QColor(0, 0, 0)));
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

namespace {

// One text element drawn large: its face, size and place, text, spacing, colour and the scale
// of the picture it is drawn on.
struct LargeText
{
    QString font;
    double points;
    double dpi;
    double stretchY;     // the picture's vertical scale over its horizontal one
    QPointF shift;       // device pixels, before the scale
    QString text;
    double kerning;
    QColor colour;
    QRectF bounds;
    int alignment;
    bool paperClip;      // the painter already has a clip (the whole picture)
};

std::string describe(const LargeText &c)
{
    return (c.font + QStringLiteral(" %1 pt at %2 dpi (x%3), kerning %4, colour %5, bounds %6x%7 \"%8\"")
                         .arg(c.points)
                         .arg(c.dpi)
                         .arg(c.stretchY)
                         .arg(c.kerning)
                         .arg(c.colour.name(QColor::HexArgb))
                         .arg(c.bounds.width())
                         .arg(c.bounds.height())
                         .arg(c.text))
        .toStdString();
}

// Ten and more faces of the fonts the application installs, upright, bold, italic, narrow and
// fixed-width, and text with touching glyphs ("ff", "AV", "Wa"), accents and line breaks.
std::vector<LargeText> largeTexts(int count, quint32 seed)
{
    const QStringList fonts{QStringLiteral("LiberationSans"),        QStringLiteral("LiberationSans-Bold"),
                            QStringLiteral("LiberationSans-Italic"), QStringLiteral("LiberationSans-BoldItalic"),
                            QStringLiteral("LiberationSerif"),       QStringLiteral("LiberationSerif-Bold"),
                            QStringLiteral("LiberationSerif-Italic"), QStringLiteral("LiberationSerif-BoldItalic"),
                            QStringLiteral("LiberationMono"),        QStringLiteral("LiberationMono-Bold"),
                            QStringLiteral("LiberationSansNarrow"),  QStringLiteral("TimesNewRomanPSMT"),
                            QStringLiteral("ArialMT")};
    const QStringList texts{QStringLiteral("Waffle"), QStringLiteral("office AVATAR"), QStringLiteral("Happy Birthday!"),
                            QStringLiteral("ffi fl Tya"), QStringLiteral("\u00c4pfel & Quitten"),
                            QStringLiteral("Party\nat 7"), QStringLiteral("WAVE ff")};
    const QColor colours[] = {QColor(20, 30, 90), QColor(200, 20, 40, 140), QColor(0, 0, 0), QColor(30, 160, 80, 60),
                              QColor(250, 250, 250, 200)};
    QRandomGenerator random(seed);
    std::vector<LargeText> cases;
    while (int(cases.size()) < count) {
        LargeText c;
        c.font = fonts.at(int(cases.size()) % fonts.size());
        c.dpi = std::array{150.0, 200.0, 300.0, 450.0, 600.0}[random.bounded(5)];
        // 48 to 200 pixels a font size on the device.
        c.points = std::round((48.0 + random.bounded(152.0)) * 72.0 / c.dpi * 4.0) / 4.0;
        c.stretchY = random.bounded(4) == 0 ? 1.0 + random.bounded(0.6) : 1.0;
        c.shift = QPointF(random.bounded(1.0), random.bounded(1.0));
        c.text = texts.at(random.bounded(texts.size()));
        c.kerning = random.bounded(3) == 0 ? random.bounded(6.0) - 2.0 : 0.0;
        c.colour = colours[random.bounded(5)];
        const double width = c.points * (3.0 + random.bounded(8.0));
        // Some boxes cut the text; those lines stay Qt's.
        const double height = c.points * (random.bounded(4) == 0 ? 0.9 : 2.8);
        c.bounds = QRectF(3.0 + random.bounded(20.0), 2.0 + random.bounded(10.0), width, height);
        c.alignment = random.bounded(4);
        c.paperClip = random.bounded(8) == 0;
        cases.push_back(c);
    }
    return cases;
}

// The element drawn on a picture of its own; `plainQt` gives the painter a clip of the whole
// picture first, which leaves everything to Qt.
QImage drawLargeText(const LargeText &c, bool plainQt)
{
    LMNText element;
    element.setText(c.text);
    element.setBounds(c.bounds);
    element.text_ctrl_font = CardFont(c.font, c.points);
    element.text_alignmnet = c.alignment;
    element.text_kerning = float(c.kerning);
    element.txt_clr = c.colour;
    element._isDrawingStroke = false;
    const double scale = c.dpi / 72.0;
    QImage image(int(std::ceil((c.bounds.right() + 4) * scale)), int(std::ceil((c.bounds.bottom() + 4) * scale * c.stretchY)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(250, 240, 210));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    if (plainQt || c.paperClip)
        painter.setClipRect(image.rect());
    painter.translate(c.shift);
    painter.scale(scale, scale * c.stretchY);
    element.draw(painter, DrawContext{});
    return image;
}


} // namespace

// Every large text is Qt's pixels drawn the first time (by Qt), again and once more (from the
// thread's mask), on a thread that has drawn nothing before.
TEST(LargeGlyphCache, LargeTextIsQtsPixelsDrawnFirstAndAgain)
{
    const std::vector<LargeText> cases = largeTexts(48, 20261207);
    int fromMasks = 0;
    for (const LargeText &c : cases) {
        SCOPED_TRACE(describe(c));
        const QImage qt = drawLargeText(c, true);
        std::thread([&] {
            for (int time = 0; time < 3; ++time) {
                const QImage drawn = drawLargeText(c, false);
                ASSERT_EQ(drawn, qt) << "drawing " << time << ": " << TestHelpers::differingPixels(drawn, qt) << " pixels differ";
            }
            fromMasks += LargeGlyphCache::maskCount() > 0;
        }).join();
    }
    // Most boxes hold their text and most painters are unclipped: those come from masks.
    EXPECT_GT(fromMasks, int(cases.size()) / 2);
}

// Four threads drawing the same texts at once, each in its own order and each text twice, all
// draw Qt's pixels; a thread that drew other large text before draws as a fresh one.
TEST(LargeGlyphCache, LargeTextIsQtsPixelsOnFourThreadsAtOnce)
{
    const std::vector<LargeText> cases = largeTexts(24, 77);
    std::vector<QImage> qt;
    for (const LargeText &c : cases)
        qt.push_back(drawLargeText(c, true));
    std::vector<std::vector<QImage>> drawn(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < 2 * cases.size(); ++i) {
                const std::size_t index = (i * (t + 1) + std::size_t(t) * 5) % cases.size();
                drawn[std::size_t(t)].push_back(drawLargeText(cases[index], false));
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t) {
        for (std::size_t i = 0; i < 2 * cases.size(); ++i) {
            const std::size_t index = (i * (t + 1) + std::size_t(t) * 5) % cases.size();
            EXPECT_EQ(drawn[std::size_t(t)][i], qt[index])
                << "thread " << t << ", " << describe(cases[index]) << ": "
                << TestHelpers::differingPixels(drawn[std::size_t(t)][i], qt[index]) << " pixels differ";
        }
    }
}

// However much large text threads draw, what each keeps stays within its bytes and what all
// keep within theirs, and every picture stays Qt's.
TEST(LargeGlyphCache, MasksStayWithinTheirBytesOnEveryThread)
{
    std::vector<LargeText> cases = largeTexts(12, 5);
    for (LargeText &c : cases) {
        c.dpi = 600;
        c.points = 24;
        c.stretchY = 1.0;
        c.paperClip = false;
        c.bounds.setHeight(c.points * 3.0);
    }
    std::atomic<qint64> mostOnAThread{0};
    std::atomic<qint64> mostOnAll{0};
    std::atomic<int> differing{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 2; ++round) {
                for (std::size_t i = 0; i < cases.size(); ++i) {
                    LargeText c = cases[i];
                    // Each thread its own words, so that none shares what another keeps.
                    c.text = QStringLiteral("%1 %2 %3").arg(c.text).arg(t).arg(i);
                    const QImage once = drawLargeText(c, false);
                    const QImage again = drawLargeText(c, false);
                    if (round == 0 && i % 4 == 0)
                        differing += once != drawLargeText(c, true) || again != once;
                    qint64 thread = ThreadCacheBudget::threadBytes();
                    qint64 all = ThreadCacheBudget::allThreadsBytes();
                    qint64 seen = mostOnAThread.load();
                    while (thread > seen && !mostOnAThread.compare_exchange_weak(seen, thread)) {}
                    seen = mostOnAll.load();
                    while (all > seen && !mostOnAll.compare_exchange_weak(seen, all)) {}
                }
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(differing.load(), 0);
    EXPECT_GT(mostOnAThread.load(), 0);
    EXPECT_LE(mostOnAThread.load(), ThreadCacheBudget::kThreadBytes);
    EXPECT_LE(mostOnAll.load(), ThreadCacheBudget::kAllThreadsBytes);
    // Threads that ended gave back what they kept.
    EXPECT_EQ(ThreadCacheBudget::allThreadsBytes(), ThreadCacheBudget::threadBytes());
}

// Where other threads hold all the bytes there are, a thread keeps nothing and still draws
// Qt's pixels.
TEST(LargeGlyphCache, AThreadFindingNoRoomDrawsQtsPixelsKeepingNothing)
{
    const LargeText c = largeTexts(1, 9).front();
    const QImage qt = drawLargeText(c, true);
    // Threads, one after another, take all the bytes there are.
    const int holders = int(ThreadCacheBudget::kAllThreadsBytes / ThreadCacheBudget::kThreadBytes) + 1;
    // Everything the holders do stays inside this block: a failing check leaves it, and the
    // holders still let go and are joined, so that the failure reports instead of ending the
    // program.
    [&] {
        std::atomic<int> holding{0};
        std::atomic<bool> done{false};
        std::vector<std::thread> threads;
        struct Release
        {
            std::atomic<bool> &done;
            std::vector<std::thread> &threads;
            ~Release()
            {
                done = true;
                for (std::thread &thread : threads)
                    thread.join();
            }
        } release{done, threads};
        for (int t = 0; t < holders; ++t) {
            threads.emplace_back([&, t] {
                while (holding < t)
                    std::this_thread::yield();
                const qint64 left = ThreadCacheBudget::kAllThreadsBytes - ThreadCacheBudget::allThreadsBytes();
                const qint64 taken = std::min(left, ThreadCacheBudget::kThreadBytes);
                const bool took = ThreadCacheBudget::take(taken);
                EXPECT_TRUE(took);
                ++holding;
                while (!done)
                    std::this_thread::yield();
                if (took)
                    ThreadCacheBudget::giveBack(taken);
            });
        }
        while (holding < holders)
            std::this_thread::yield();
        ASSERT_EQ(ThreadCacheBudget::allThreadsBytes(), ThreadCacheBudget::kAllThreadsBytes);
        std::thread([&] {
            for (int time = 0; time < 3; ++time)
                EXPECT_EQ(drawLargeText(c, false), qt) << "drawing " << time;
            EXPECT_EQ(ThreadCacheBudget::threadBytes(), 0);
            EXPECT_EQ(LargeGlyphCache::maskCount(), 0);
        }).join();
    }();
    // Threads that ended gave back what they kept.
    EXPECT_EQ(ThreadCacheBudget::allThreadsBytes(), ThreadCacheBudget::threadBytes());
}

namespace {

// Lines whose glyphs Qt fills in several runs: scripts side by side, faces the font falls back
// to, italic overhangs and negative spacing that make neighbouring runs share pixels.
std::vector<LargeText> runsThatMeet()
{
    struct Line
    {
        const char *font;
        const char *text;
        double devicePixels;
        double spacing; // device pixels
    };
    const Line lines[] = {
        {"LiberationSans", "AB\u0393\u0394 A\u03a9B", 120, -12},
        {"LiberationSerif-Italic", "f\u0393f\u0394", 140, 0},
        {"LiberationSerif-Italic", "f\u0393f\u0394 fff\u03a9", 96, -8},
        {"LiberationSans", "\u03a7\u03c1\u03cc\u03bd\u03b9\u03b1 \u03c0\u03bf\u03bb\u03bb\u03ac, Anna!", 80, 0},
        {"LiberationSans-Bold", "A\u03a9-Party", 110, -14},
        {"LiberationSans", "Party \u2605\u263a W\u2605A", 100, -10},
        {"LiberationSerif-BoldItalic", "W\u2605\u0416f\u05e9\u05dc\u05d5\u05dd", 90, -9},
        {"ArialMT", "AV\u0391\u0392 \u2192 fin", 130, -16},
    };
    const QColor colours[] = {QColor(200, 20, 40, 140), QColor(20, 30, 90)};
    std::vector<LargeText> cases;
    for (const Line &line : lines) {
        for (const QColor &colour : colours) {
            LargeText c;
            c.font = QString::fromLatin1(line.font);
            c.dpi = 300;
            c.points = line.devicePixels * 72.0 / c.dpi;
            c.stretchY = 1.0;
            c.shift = QPointF(0.25, 0.5);
            c.text = QString::fromUtf8(line.text);
            c.kerning = line.spacing * 72.0 / c.dpi;
            c.colour = colour;
            c.bounds = QRectF(6, 4, c.points * 14, c.points * 2.4);
            c.alignment = 0;
            c.paperClip = false;
            cases.push_back(c);
        }
    }
    return cases;
}

// The same lines as a barcode's caption and header: runs drawn one by one, and laid out.
QImage barcodeLine(const LargeText &c, int way, bool plainQt)
{
    return picture(QSizeF(c.bounds.right() + 4, c.bounds.bottom() + 4), c.dpi, plainQt, [&](QPainter &painter) {
        const CardFont font(c.font, c.points);
        if (way == 0)
            BarcodeText::drawAtPoint(painter, c.text, font, c.colour, c.kerning, c.bounds.bottomLeft());
        else if (way == 1)
            BarcodeText::drawAtPoint(painter, c.text + QStringLiteral("\n") + c.text, font, c.colour, c.kerning,
                                     c.bounds.bottomLeft() + QPointF(0, c.points * 1.2));
        else
            BarcodeText::drawInRect(painter, c.text, font, c.colour, c.kerning, Qt::AlignHCenter, c.bounds);
    });
}

} // namespace

// Text Qt fills in several runs is Qt's pixels drawn first, again and once more, translucent or
// opaque, whether its runs share pixels or not.
TEST(LargeGlyphCache, LinesOfSeveralRunsAreQtsPixelsDrawnFirstAndAgain)
{
    int fromMasks = 0;
    for (const LargeText &c : runsThatMeet()) {
        SCOPED_TRACE(describe(c));
        const QImage qt = drawLargeText(c, true);
        std::vector<QImage> barcodeQt;
        for (int way = 0; way < 3; ++way)
            barcodeQt.push_back(barcodeLine(c, way, true));
        std::thread([&] {
            for (int time = 0; time < 3; ++time) {
                const QImage drawn = drawLargeText(c, false);
                EXPECT_EQ(drawn, qt) << "drawing " << time << ": " << TestHelpers::differingPixels(drawn, qt)
                                     << " pixels differ";
                for (int way = 0; way < 3; ++way) {
                    const QImage line = barcodeLine(c, way, false);
                    EXPECT_EQ(line, barcodeQt[std::size_t(way)])
                        << "caption way " << way << ", drawing " << time << ": "
                        << TestHelpers::differingPixels(line, barcodeQt[std::size_t(way)]) << " pixels differ";
                }
            }
            fromMasks += LargeGlyphCache::maskCount() > 0;
        }).join();
    }
    // The lines come from masks from their second drawing on.
    EXPECT_EQ(fromMasks, int(runsThatMeet().size()));
}

// The same lines on four threads at once, each in its own order.
TEST(LargeGlyphCache, LinesOfSeveralRunsAreQtsPixelsOnFourThreadsAtOnce)
{
    const std::vector<LargeText> cases = runsThatMeet();
    std::vector<QImage> qt;
    for (const LargeText &c : cases)
        qt.push_back(drawLargeText(c, true));
    std::vector<std::vector<QImage>> drawn(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < 2 * cases.size(); ++i)
                drawn[std::size_t(t)].push_back(drawLargeText(cases[(i * (t + 1) + std::size_t(t) * 3) % cases.size()], false));
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t) {
        for (std::size_t i = 0; i < 2 * cases.size(); ++i) {
            const std::size_t index = (i * (t + 1) + std::size_t(t) * 3) % cases.size();
            EXPECT_EQ(drawn[std::size_t(t)][i], qt[index])
                << "thread " << t << ", " << describe(cases[index]) << ": "
                << TestHelpers::differingPixels(drawn[std::size_t(t)][i], qt[index]) << " pixels differ";
        }
    }
}
