#include "barcode/linear/LinearTestSupport.h"

#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/linear/NKDRoyalMailBarcode.h"

#include <QPainter>

#include <thread>

namespace {

// A barcode whose bar string is given outright, on a view of the given size in points.
class FixedBars : public NKDBarcode
{
public:
    FixedBars(const QByteArray &bars, const BarcodeSettings &settings, float barWidth, float height, float width)
        : m_bars(bars)
    {
        setSettings(settings);
        setBarWidth(barWidth);
        setHeight(height);
        setWidth(width);
    }
    QByteArray initiator() const override { return m_bars; }
    QByteArray barcode() const override { return {}; }

private:
    QByteArray m_bars;
};

BarcodeSettings bare(double margin = 0)
{
    BarcodeSettings settings;
    settings.value_margin = settings.header_margin = settings.footer_margin = settings.LR_margin = settings.TB_margin = margin;
    return settings;
}

// Columns (x) of row `y` darker than mid-grey.
QList<int> darkColumns(const QImage &image, int y)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) < 128)
            columns << x;
    }
    return columns;
}

QList<int> darkRows(const QImage &image, int x)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (qGray(image.pixel(x, y)) < 128)
            rows << y;
    }
    return rows;
}

} // namespace

TEST(BarcodeRender, BarsAreRunsCentredInTheViewStandingOnTheCommonBottomLine)
{
    FixedBars runs("0110", bare(), 1, 10, 20);
    runs.initWithContent(QString(), false); // null content: not initialised
    const QImage image = NKDBarcodeOffscreenView(runs).toImage(72);
    ASSERT_EQ(image.size(), QSize(20, 10));
    EXPECT_EQ(darkColumns(image, 5), (QList<int>{9, 10}));
    FixedBars ends("101", bare(), 1, 10, 13);
    EXPECT_EQ(darkColumns(NKDBarcodeOffscreenView(ends).toImage(72), 5), (QList<int>{5, 7}));

    // Height 100, a 10-point caption band under the bars, every margin 1: the bars stand
    // 13 points above the bottom edge and reach the top edge.
    FixedBars bars("1", bare(1), 4, 100, 4);
    bars.setPrintsCaption(true);
    bars.setCaptionHeight(10.0f / 72.0f);
    EXPECT_FLOAT_EQ(bars.barTop(0), 87);
    const QList<int> rows = darkRows(NKDBarcodeOffscreenView(bars).toImage(72), 2);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.first(), 0);
    EXPECT_EQ(rows.last(), 86);

    // Caption above the bars, no footer: the bars start footer_margin + TB_margin up.
    BarcodeSettings onTop = bare(1);
    onTop.captionOnTop = true;
    bars.setSettings(onTop);
    EXPECT_EQ(darkRows(NKDBarcodeOffscreenView(bars).toImage(72), 2).last(), 100 - 2 - 1);
}

TEST(BarcodeRender, FourStateBarsSpanFromTheirLowerToTheirUpperEnd)
{
    auto barcode = LinearTest::make(QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"), QStringLiteral("0"));
    ASSERT_TRUE(barcode);
    BarcodeSettings settings = bare();
    settings.captionColor = Qt::transparent;  // the caption is always printed for this code
    barcode->setSettings(settings);
    // Bands of no height, so the common bottom line is the bottom edge.
    barcode->setCaptionHeight(0);
    barcode->setHeaderHeight(0);
    barcode->setFooterHeight(0);
    const double dpi = 720;  // 10 pixels a point
    const QImage image = NKDBarcodeOffscreenView(*barcode).toImage(dpi);
    const double mm = 72.0 / 25.4 * 10.0;
    const double bottom = barcode->height() * 10.0;  // the picture's lower edge, in pixels
    // "0" is tracker, tracker, full, full; the start bar an ascender, the check "0" again.
    const auto spanOf = [&](int module) {
        const double x = (image.width() / 10.0 - barcode->completeBarcode().size() * barcode->barWidth()) / 2.0
                         + module * barcode->barWidth();
        const QList<int> rows = darkRows(image, int(x * 10 + 3));
        return rows.isEmpty() ? QPair<int, int>(-1, -1) : QPair<int, int>(rows.first(), rows.last());
    };
    const auto tracker = spanOf(2);
    EXPECT_NEAR(tracker.first, bottom - 3.15 * mm, 1.5);
    EXPECT_NEAR(tracker.second, bottom - 1.9 * mm, 1.5);
    const auto full = spanOf(6);
    EXPECT_NEAR(full.first, bottom - 5.05 * mm, 1.5);
    EXPECT_NEAR(full.second, bottom - 1, 1.5);
    const auto ascender = spanOf(0);
    EXPECT_NEAR(ascender.first, bottom - 5.05 * mm, 1.5);
    EXPECT_NEAR(ascender.second, bottom - 1.9 * mm, 1.5);
}

TEST(BarcodeRender, CaptionGroupsAndKerning)
{
    // W = 100, b = 1, m = 3, firstBar = 10, two groups of 6 characters 30 points wide.
    const auto groups = NKDBarcodeOffscreenView::groupedCaption(100, 1, 3, 10, 0, {30, 30}, {6, 6});
    ASSERT_EQ(groups.size(), 2);
    EXPECT_NEAR(groups[0].kerning, 0.758333, 1e-5);
    EXPECT_NEAR(groups[0].x, 14.75, 1e-9);
    EXPECT_NEAR(groups[1].x, 54.75, 1e-9);
    // One group beside a left caption: g = W - 2mb - 2 firstBar.
    const auto single = NKDBarcodeOffscreenView::groupedCaption(100, 1, 3, 10, 0, {50}, {10});
    const double k = (100 - 6 - 20 - 50) / 20.0;
    EXPECT_NEAR(single[0].x, 3 * k + 10 + 3, 1e-9);
    // An empty group never divides by zero.
    const auto empty = NKDBarcodeOffscreenView::groupedCaption(100, 1, 3, 10, 0, {0, 30}, {0, 6});
    EXPECT_DOUBLE_EQ(empty[0].kerning, 0.0);
    // A stretched caption: nine gaps share the 50 points its ten letters leave under the bars.
    EXPECT_DOUBLE_EQ(NKDBarcodeOffscreenView::oneGroupKerning(100, 50, 10, true), 50.0 / 9);
    // Not stretched, one letter, no letter, a caption wider than the bars: the plain spacing.
    const struct { double span; double w; int length; bool stretch; } plain[] = {
        {100, 50, 10, false}, {100, 50, 1, true}, {100, 50, 0, true}, {40, 50, 10, true}};
    for (const auto &c : plain)
        EXPECT_DOUBLE_EQ(NKDBarcodeOffscreenView::oneGroupKerning(c.span, c.w, c.length, c.stretch), 2.0) << c.length;
}

TEST(BarcodeRender, EanAndUpcDigitsTakeTheSlotsOfTheirPatterns)
{
    // Each digit under the seven modules that encode it: beside the centre guard, or after the
    // start guard when there is one group; the outer digits of UPC-A have no slot of their own.
    const struct
    {
        const char *symbol;
        int modules, start, end;
        QList<int> digits;
        QList<int> firstModules;
    } cases[] = {
        {"EAN-13", 95, 3, 3, {6, 6}, {3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85}},
        {"EAN-8", 67, 3, 3, {4, 4}, {3, 10, 17, 24, 36, 43, 50, 57}},
        {"UPC-A", 95, 3, 3, {5, 5}, {10, 17, 24, 31, 38, 50, 57, 64, 71, 78}},
        {"UPC-E", 51, 3, 6, {6}, {3, 10, 17, 24, 31, 38}},
        {"no groups", 95, 3, 3, {}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NKDBarcodeOffscreenView::digitSlots(c.modules, c.start, c.end, c.digits), c.firstModules) << c.symbol;
}

TEST(BarcodeRender, WideHeaderWidensTheViewAndKeepsBarsCentred)
{
    auto barcode = LinearBarcodes::create(QStringLiteral("Code 39"), QStringLiteral("A"), false, bare());
    barcode->setHeader(QStringLiteral("A long header line over a short symbol"));
    barcode->setPrintsHeader(true);
    barcode->setHeaderFontSize(10);
    barcode->setHeight(40);
    const NKDBarcodeOffscreenView view(*barcode);
    EXPECT_DOUBLE_EQ(view.size().width(), barcode->headerWidth());
    // The header is as wide as it is drawn, two points after each character.
    const QString header = barcode->header();
    EXPECT_NEAR(barcode->headerWidth(),
                BarcodeText::measure(header, barcode->settings().header_font).width() + 2.0 * header.size(), 0.5);
    const QImage image = view.toImage(72);
    // On one line: the band below the first text line holds no ink but the bars.
    const int lineHeight = int(BarcodeText::measure(header, barcode->settings().header_font).height());
    EXPECT_FALSE(TestHelpers::countPixelsDifferent(image, Qt::white, QRect(0, lineHeight + 1, 20, 10)) > 0);
    const QList<int> columns = darkColumns(image, image.height() - 1);
    ASSERT_FALSE(columns.isEmpty());
    EXPECT_NEAR((columns.first() + columns.last() + 1) / 2.0, image.width() / 2.0, 1.5);
}

TEST(BarcodeRender, CaptionIsDrawnAtEveryResolution)
{
    // Ink in the caption band below the bars grows with the square of the resolution; at print
    // resolutions the digits are larger than the glyphs a text cache holds.
    const auto captionInk = [](double dpi) {
        auto barcode = LinearBarcodes::create(QStringLiteral("EAN-13"), QStringLiteral("590123412345"), true);
        barcode->setCaptionFontSize(10);
        BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
        barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, BarcodeSizeFields{}));
        const QImage image = NKDBarcodeOffscreenView(*barcode).toImage(dpi);
        // The band starts where a row stops looking like the bars.
        int band = 0;
        while (band < image.height() && darkColumns(image, band).isEmpty())
            ++band;
        const QList<int> bars = darkColumns(image, band);
        while (band < image.height() && darkColumns(image, band) == bars)
            ++band;
        int ink = 0;
        for (int y = band; y < image.height(); ++y)
            ink += int(darkColumns(image, y).size());
        return double(ink);
    };
    const double at150 = captionInk(150);
    ASSERT_GT(at150, 100);
    for (const double dpi : {300.0, 600.0, 1200.0}) {
        const double scaled = captionInk(dpi) / ((dpi / 150) * (dpi / 150));
        EXPECT_NEAR(scaled, at150, 0.3 * at150) << dpi << " dpi";
    }
}

TEST(BarcodeRender, KerningIsInPointsAtEveryResolution)
{
    // Where each digit's ink starts, in points, for a line drawn with 3 points after each character.
    const auto digitStarts = [](double dpi, double kerning = 3.0) {
        const double scale = dpi / 72.0;
        QImage image(int(120 * scale), int(20 * scale), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        const int dotsPerMetre = int(std::lround(dpi / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        QPainter painter(&image);
        painter.scale(scale, scale);
        BarcodeText::drawAtPoint(painter, QStringLiteral("1111"), CardFont(QStringLiteral("TimesNewRomanPSMT"), 10),
                                 Qt::black, kerning, QPointF(5, 18));
        painter.end();
        QList<double> starts;
        bool inInk = false;
        for (int x = 0; x < image.width(); ++x) {
            bool ink = false;
            for (int y = 0; y < image.height() && !ink; ++y)
                ink = qGray(image.pixel(x, y)) < 128;
            if (ink && !inInk)
                starts << x / scale;
            inInk = ink;
        }
        return starts;
    };
    const QList<double> at600 = digitStarts(600);
    ASSERT_EQ(at600.size(), 4);
    // Each digit moves right by the kerning of the digits before it.
    const QList<double> unkerned = digitStarts(600, 0.0);
    ASSERT_EQ(unkerned.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(at600.at(i) - unkerned.at(i), 3.0 * i, 0.2) << "digit " << i;
    // Below 96 dpi Qt would drop letter spacing altogether; a pixel there is 1.4 points.
    for (const double dpi : {72.0, 150.0, 300.0, 1200.0}) {
        const QList<double> starts = digitStarts(dpi);
        ASSERT_EQ(starts.size(), 4) << dpi << " dpi";
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(starts.at(i), at600.at(i), 1.5 * 72.0 / dpi) << dpi << " dpi, digit " << i;
    }
}

TEST(BarcodeRender, TwoDPictureOnItsBackground)
{
    QImage symbol(80, 80, QImage::Format_RGB32);
    symbol.fill(Qt::black);
    symbol.setDotsPerMeterX(2835);  // 72 dpi: 80 x 80 points
    symbol.setDotsPerMeterY(2835);
    TwoDPictureLayout layout;
    layout.width = 120;
    layout.height = 100;
    BarcodeSettings settings = bare();
    settings.TB_margin = 2;
    settings.header_margin = 3;
    settings.backgroundColor = Qt::red;
    settings.resolution = 72;
    const QImage image = NKDBarcodeOffscreenView::imageFromBarcodeImage(symbol, layout, settings);
    ASSERT_EQ(image.size(), QSize(120, 100));
    EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::red, QRect(20, 5, 80, 80)));
    EXPECT_EQ(TestHelpers::countPixelsDifferent(image, Qt::black, QRect(20, 5, 80, 80)), 0);
    EXPECT_TRUE(NKDBarcodeOffscreenView::imageFromBarcodeImage(QImage(), layout, settings).isNull());
}

TEST(BarcodeRender, ResolutionAndRefusals)
{
    auto barcode = LinearBarcodes::create(QStringLiteral("Code 39"), QStringLiteral("DPI"), true, bare());
    barcode->setWidth(60);
    barcode->setHeight(60);
    const NKDBarcodeOffscreenView view(*barcode);
    const QImage image = view.toImage(600);
    EXPECT_EQ(image.size(), QSize(500, 500));
    EXPECT_NEAR(BarcodeUnits::pointSize(image).width(), 60, 0.05);
    EXPECT_EQ(view.toImage(72).size(), QSize(60, 60));
    EXPECT_TRUE(view.toImage(0).isNull());
    EXPECT_TRUE(view.toImage(-600).isNull());
    barcode->setWidth(10);
    EXPECT_EQ(NKDBarcodeOffscreenView(*barcode).toImage(600).width(), 84);
    barcode->setWidth(1e7f);
    EXPECT_TRUE(NKDBarcodeOffscreenView(*barcode).toImage(600).isNull());
    EXPECT_TRUE(NKDBarcodeOffscreenView::imageFromBarcode(nullptr).isNull());
}

TEST(BarcodeRender, DesignerLikePicturesStillRead)
{
    BarcodeSettings settings;  // captions, fonts and margins as the designer starts
    struct Case
    {
        QString title;
        QString value;
        ZXing::BarcodeFormat format;
        std::string expected;
    };
    const QList<Case> cases{
        {QStringLiteral("EAN-13"), QStringLiteral("400638133393"), ZXing::BarcodeFormat::EAN13, "4006381333931"},
        {QStringLiteral("UPCA"), QStringLiteral("03600029145"), ZXing::BarcodeFormat::UPCA, "036000291452"},
        {QStringLiteral("Code 128"), QStringLiteral("Festiloom 2024"), ZXing::BarcodeFormat::Code128, "Festiloom 2024"},
        {QStringLiteral("Code 39"), QStringLiteral("CARD-42"), ZXing::BarcodeFormat::Code39, "CARD-42"},
        {QStringLiteral("Interleaved 2 of 5"), QStringLiteral("12345678"), ZXing::BarcodeFormat::ITF, "12345678"},
        {QStringLiteral("Codabar"), QStringLiteral("A40156B"), ZXing::BarcodeFormat::Codabar, "40156"},
    };
    for (const Case &c : cases) {
        for (const bool onTop : {false, true}) {
            settings.captionOnTop = onTop;
            auto barcode = LinearBarcodes::create(c.title, c.value, true, settings);
            ASSERT_TRUE(barcode && barcode->isContentValid());
            barcode->setHeader(QStringLiteral("Birthday party"));
            barcode->setFooter(QStringLiteral("Table 7"));
            barcode->setPrintsHeader(true);
            barcode->setPrintsFooter(true);
            barcode->setCaptionFontSize(10);
            barcode->setHeaderFontSize(10);
            barcode->setFooterFontSize(10);
            BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
            barcode->calculateWidth();
            barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, BarcodeSizeFields{}));
            EXPECT_EQ(BarcodeReader::readOn(NKDBarcodeOffscreenView::imageFromBarcode(barcode.get()), c.format, 100).text,
                      c.expected)
                << c.title.toStdString() << " on top " << onTop;
        }
    }
}


TEST(BarcodeRender, GreyPicturesHoldTheGreyOfTheirThirtyTwoBitPictures)
{
    // Bars, background and texts in opaque greys: the picture is 8-bit grey and every pixel
    // the level every channel of the 32-bit picture has, captions, headers and footers drawn
    // from the glyph cache (large) and by Qt (small, multi-line) alike.
    struct Case
    {
        const char *title;
        const char *value;
        double dpi;
        bool caption;
        bool onTop;
        bool stretch;
        const char *header;
        const char *footer;
        const char *font;
        int points;
        int ink;
        int paper;
    };
    const Case cases[] = {
        {"Code 128", "guest 0", 600, true, false, false, "HEADER", "FOOTER", "TimesNewRomanPSMT", 10, 0, 255},
        {"Code 128", "Festiloom 2024", 72, true, false, true, "Party", "Table 7", "ArialMT", 10, 0, 255},
        {"EAN-13", "400638133393", 600, true, false, false, "", "", "TimesNewRomanPSMT", 12, 30, 240},
        {"EAN-13", "590123412345", 150, true, false, false, "Shop", "", "ArialMT", 9, 0, 255},
        {"UPCA", "03600029145", 300, true, true, false, "", "Row 2", "TimesNewRomanPS-BoldItalicMT", 11, 60, 200},
        {"Code 39", "CARD-42", 600, true, true, true, "Birthday party", "Table 7\nRow 2", "ArialMT", 14, 0, 255},
        {"Interleaved 2 of 5", "12345678", 96, false, false, false, "Left", "Right", "TimesNewRomanPSMT", 8, 100, 250},
        {"Codabar", "A40156B", 600, true, false, false, "", "", "TimesNewRomanPS-BoldItalicMT", 20, 0, 255},
        {"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A", 600, true, false, false, "", "", "TimesNewRomanPSMT", 10, 0, 255},
        {"Royal Mail Barcode (RM4SCC / CBC)", "LS14BA", 200, true, false, false, "Post", "", "ArialMT", 10, 80, 230},
        {"PostNet", "12345", 600, true, false, false, "", "Mail", "ArialMT", 10, 0, 255},
        {"Modified Plessey", "1234567", 300, true, false, true, "A very long header over the bars", "", "TimesNewRomanPSMT", 10, 0, 255},
    };
    for (const Case &c : cases) {
        const std::string name = std::string(c.title) + " at " + std::to_string(int(c.dpi)) + " dpi";
        BarcodeSettings settings;
        settings.barColor = settings.captionColor = settings.headerColor = settings.footerColor = QColor(c.ink, c.ink, c.ink);
        settings.backgroundColor = QColor(c.paper, c.paper, c.paper);
        settings.captionOnTop = c.onTop;
        settings.stretchCaption = c.stretch;
        settings.value_font = settings.header_font = settings.footer_font =
            CardFont(QString::fromLatin1(c.font), c.points);
        auto barcode = LinearBarcodes::create(QString::fromLatin1(c.title), QString::fromLatin1(c.value), c.caption, settings);
        ASSERT_TRUE(barcode && barcode->isContentValid()) << name;
        barcode->setHeader(QString::fromLatin1(c.header));
        barcode->setFooter(QString::fromLatin1(c.footer));
        barcode->setPrintsCaption(c.caption);
        barcode->setPrintsHeader(*c.header != 0);
        barcode->setPrintsFooter(*c.footer != 0);
        barcode->setCaptionFontSize(float(c.points));
        barcode->setHeaderFontSize(float(c.points));
        barcode->setFooterFontSize(float(c.points));
        BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
        barcode->calculateWidth();
        barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, BarcodeSizeFields{}));
        const NKDBarcodeOffscreenView view(*barcode);
        const QImage argb = view.toArgbImage(c.dpi);
        ASSERT_EQ(argb.format(), QImage::Format_ARGB32_Premultiplied) << name;
        const QImage grey = view.toImage(c.dpi);
        EXPECT_EQ(TestHelpers::greyMismatch(grey, argb).toStdString(), "") << name;
        EXPECT_EQ(grey.dotsPerMeterX(), argb.dotsPerMeterX()) << name;
        // Readers take the grey picture as they took the 32-bit one.
        EXPECT_EQ(LinearTest::read(grey, ZXing::BarcodeFormat::Any), LinearTest::read(argb, ZXing::BarcodeFormat::Any))
            << name;
    }
}

TEST(BarcodeRender, PicturesOfOtherColoursStayThirtyTwoBit)
{
    // A colour that is not an opaque grey cannot be held in grey pixels.
    struct Case
    {
        const char *name;
        QColor BarcodeSettings::*colour;
        QColor value;
    };
    const Case cases[] = {
        {"red bars", &BarcodeSettings::barColor, QColor(200, 0, 0)},
        {"blue background", &BarcodeSettings::backgroundColor, QColor(230, 230, 255)},
        {"translucent background", &BarcodeSettings::backgroundColor, QColor(255, 255, 255, 128)},
        {"translucent grey caption", &BarcodeSettings::captionColor, QColor(0, 0, 0, 200)},
        {"green header", &BarcodeSettings::headerColor, QColor(0, 120, 0)},
        {"nearly grey footer", &BarcodeSettings::footerColor, QColor(10, 10, 11)},
    };
    for (const Case &c : cases) {
        BarcodeSettings settings;
        settings.*c.colour = c.value;
        auto barcode = LinearBarcodes::create(QStringLiteral("Code 128"), QStringLiteral("colour"), true, settings);
        ASSERT_TRUE(barcode);
        barcode->setHeader(QStringLiteral("H"));
        barcode->setFooter(QStringLiteral("F"));
        barcode->setPrintsHeader(true);
        barcode->setPrintsFooter(true);
        BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
        barcode->calculateWidth();
        barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, BarcodeSizeFields{}));
        const NKDBarcodeOffscreenView view(*barcode);
        const QImage picture = view.toImage(150);
        EXPECT_EQ(picture.format(), QImage::Format_ARGB32_Premultiplied) << c.name;
        EXPECT_EQ(picture, view.toArgbImage(150)) << c.name;
    }
}
