// The widget-free generator: pictures read back with ZXing, refusals with a reason, and
// pictures made on several threads at once.

#include "barcode/BarcodeElementSettings.h"
#include "barcode/generator/BarcodeGenerator.h"
#include "barcode/BarcodeLists.h"
#include "document/LMNBarcode.h"
#include "document/LMNText.h"

#include "barcode/linear/LinearTestSupport.h"
#include "barcode/ModuleGridTestSupport.h"

#include <QMap>

#include <functional>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

BarcodeElementSettings settingsFor(const QString &title)
{
    BarcodeElementSettings s;
    s.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(title));
    s.linear_or_2d = BarcodeLists::isTwoDimensional(title) ? 1 : 0;
    return s;
}

std::string decode2D(const QImage &picture, ZXing::BarcodeFormat format)
{
    return ModuleGridTestSupport::decodePicture(picture, format, 40).text;
}

} // namespace

TEST(BarcodeGenerator, RefusalsGiveNoPictureAndAReason)
{
    struct Case
    {
        const char *title;
        QString value;
        void (*tweak)(BarcodeElementSettings &);
    };
    const auto none = [](BarcodeElementSettings &) {};
    const QList<Case> cases{
        {"Code 128", QString(), none},
        {"Code 39", QStringLiteral("Zoë"), none},
        {"EAN-13", QStringLiteral("12AB"), none},
        {"QR Code", QString(5000, QLatin1Char('x')), none},
        {"PDF417", QString(5000, QLatin1Char('x')), none},
        {"DataMatrix", QString(5000, QLatin1Char('x')), none},
        {"QR Code", QStringLiteral("fits version 5"), [](BarcodeElementSettings &s) { s.qr_version_index = 5, s.qr_size_val = 30; }},
        {"QR Code", QStringLiteral("huge"), [](BarcodeElementSettings &s) { s.qr_size_val = 100000; }},
        {"Code 128", QStringLiteral("tall"), [](BarcodeElementSettings &s) { s.linear_height_val = 100000; }},
        {"DataMatrix", QString(60, QLatin1Char('7')), [](BarcodeElementSettings &s) { s.dm_format_index = 1; }},
    };
    for (const Case &c : cases) {
        BarcodeElementSettings s = settingsFor(QString::fromLatin1(c.title));
        c.tweak(s);
        QString failure;
        const QImage picture = BarcodeGenerator::picture(s, c.value, QStringLiteral("H"), QStringLiteral("F"), &failure);
        EXPECT_TRUE(picture.isNull()) << c.title << " " << c.value.left(20).toStdString();
        EXPECT_FALSE(failure.isEmpty()) << c.title;
    }
}

// A custom resolution is taken from 72 to 2400 dots per inch, both limits included.
TEST(BarcodeGenerator, CustomResolutionWithinItsLimits)
{
    BarcodeElementSettings s = settingsFor(QStringLiteral("QR Code"));
    s.dpi_val_index = 6;
    for (const char *dpi : {"0", "-300", "71", "72", "300", "2400", "2401", "100000", "abc"}) {
        s.dpi_custom_val = QString::fromLatin1(dpi);
        const int value = s.dpi_custom_val.toInt();
        const bool accepted = value >= 72 && value <= 2400;
        QString failure;
        const QImage picture = BarcodeGenerator::picture(s, QStringLiteral("dpi"), {}, {}, &failure);
        EXPECT_EQ(picture.isNull(), !accepted) << dpi << " " << failure.toStdString();
        if (accepted) {
            EXPECT_EQ(picture.dotsPerMeterX(), qRound(value / 0.0254)) << dpi;
        }
    }
}

// Two elements of different symbologies bound to different values, pictures made on four
// threads at once: each picture reads back as its own record.
TEST(BarcodeGenerator, ConcurrentPicturesReadAsTheirOwnRecords)
{
    const BarcodeElementSettings qr = settingsFor(QStringLiteral("QR Code"));
    const BarcodeElementSettings code128 = settingsFor(QStringLiteral("Code 128"));
    constexpr int kRecords = 200;
    std::vector<std::pair<std::string, std::string>> read(kRecords);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int record = t; record < kRecords; record += 4) {
                const QString guest = QStringLiteral("guest %1").arg(record);
                const QString seat = QStringLiteral("SEAT-%1").arg(record * 7);
                read[record] = {decode2D(BarcodeGenerator::picture(qr, guest, {}, {}), ZXing::BarcodeFormat::QRCode),
                                LinearTest::read(BarcodeGenerator::picture(code128, seat, {}, {}),
                                                 ZXing::BarcodeFormat::Code128)};
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int record = 0; record < kRecords; ++record) {
        EXPECT_EQ(read[record].first, QStringLiteral("guest %1").arg(record).toStdString());
        EXPECT_EQ(read[record].second, QStringLiteral("SEAT-%1").arg(record * 7).toStdString());
    }
}

// Every 2D picture keeps an opaque quiet zone: laid on a dark card it still reads.
TEST(BarcodeGenerator, TwoDPicturesReadOnADarkCard)
{
    struct Case
    {
        const char *title;
        ZXing::BarcodeFormat format;
    };
    const Case cases[] = {{"QR Code", ZXing::BarcodeFormat::QRCode},
                          {"PDF417", ZXing::BarcodeFormat::PDF417},
                          {"DataMatrix", ZXing::BarcodeFormat::DataMatrix}};
    std::mt19937 random(2026);
    for (const Case &c : cases) {
        for (int trial = 0; trial < 4; ++trial) {
            BarcodeElementSettings s = settingsFor(QString::fromLatin1(c.title));
            s.dpi_val_index = 1; // 72 dpi keeps the pictures small
            s.qr_size_val = 120;
            s.pdf_wdt_val = 400;
            s.pdf_hgt_val = 120;
            s.dm_module_val = 4;
            const QString value = QString::fromLatin1(ModuleGridTestSupport::randomBytes(random, 12 + trial * 9, 'a', 'z'));
            const QImage picture = BarcodeGenerator::picture(s, value, QStringLiteral("HEADER"), QStringLiteral("FOOTER"));
            ASSERT_FALSE(picture.isNull()) << c.title;
            EXPECT_EQ(BarcodeReader::readOn(picture, c.format, 40, QColor(20, 24, 60), {}).text, value.toStdString())
                << c.title;
        }
    }
}

// 2D symbols are black on white: the picture, its modules drawn straight from the module grid,
// is 8-bit grey and holds exactly the pixels composed from the symbol picture (made for vector
// output) in grey and in 32 bits; readers take it.
TEST(BarcodeGenerator, TwoDPicturesAreGreyAndReadAsBefore)
{
    struct Case
    {
        const char *title;
        ZXing::BarcodeFormat format;
        int dpiIndex;
        const char *header;
        const char *footer;
        int headerColour;
    };
    const Case cases[] = {
        {"QR Code", ZXing::BarcodeFormat::QRCode, 0, "HEADER", "FOOTER", 0},
        {"QR Code", ZXing::BarcodeFormat::QRCode, 1, "A header wider than the symbol", "", 90},
        {"PDF417", ZXing::BarcodeFormat::PDF417, 0, "", "Table 7\nRow 2", 0},
        {"PDF417", ZXing::BarcodeFormat::PDF417, 1, "Party", "Guest", 128},
        {"DataMatrix", ZXing::BarcodeFormat::DataMatrix, 0, "HEADER", "FOOTER", 0},
        {"DataMatrix", ZXing::BarcodeFormat::DataMatrix, 1, "", "", 0},
    };
    for (const Case &c : cases) {
        const std::string name = std::string(c.title) + (c.dpiIndex ? " at 72 dpi" : " at 600 dpi");
        BarcodeElementSettings s = settingsFor(QString::fromLatin1(c.title));
        s.dpi_val_index = c.dpiIndex;
        s.qr_size_val = 120;
        s.pdf_wdt_val = 300;
        s.pdf_hgt_val = 100;
        s.dm_module_val = 3;
        s.barcode_hdr_clr_val = QColor(c.headerColour, c.headerColour, c.headerColour);
        const QString value = QStringLiteral("guest 42 of the party");
        const BarcodeGenerator::Result made =
            BarcodeGenerator::generate(s, value, QString::fromLatin1(c.header), QString::fromLatin1(c.footer));
        ASSERT_FALSE(made.picture.isNull()) << name << " " << made.failure.toStdString();
        BarcodeGenerator::Output vectors;
        vectors.picture = false;
        const BarcodeGenerator::Result symbol =
            BarcodeGenerator::generate(s, value, QString::fromLatin1(c.header), QString::fromLatin1(c.footer), vectors);
        ASSERT_EQ(symbol.symbol.format(), QImage::Format_Grayscale8) << name;
        EXPECT_EQ(symbol.layout.height, made.layout.height) << name;
        EXPECT_EQ(symbol.layout.width, made.layout.width) << name;
        const NKDBarcodeOffscreenView view(symbol.symbol, symbol.layout, symbol.settings);
        const double dpi = made.settings.resolution;
        EXPECT_EQ(made.picture, view.toImage(dpi)) << name;
        EXPECT_EQ(TestHelpers::greyMismatch(made.picture, view.toArgbImage(dpi)).toStdString(), "") << name;
        // The same symbol in 32-bit pixels gives the 32-bit picture.
        const NKDBarcodeOffscreenView opaque(symbol.symbol.convertToFormat(QImage::Format_RGB32), symbol.layout,
                                             symbol.settings);
        const QImage argb = opaque.toImage(dpi);
        EXPECT_EQ(argb.format(), QImage::Format_ARGB32_Premultiplied) << name;
        EXPECT_EQ(TestHelpers::greyMismatch(made.picture, argb).toStdString(), "") << name;
        EXPECT_EQ(made.picture.text(BarcodeGenerator::valueKey()), value) << name;
        EXPECT_EQ(decode2D(made.picture, c.format), value.toStdString()) << name;
    }
}

// Linear pictures in the designer's default colours are grey; coloured ones keep 32 bits.
// Both read back.
TEST(BarcodeGenerator, LinearPicturesAreGreyInGreyColours)
{
    struct Case
    {
        const char *title;
        const char *value;
        ZXing::BarcodeFormat format;
        const char *read;
        QColor bars;
        QImage::Format expected;
    };
    const Case cases[] = {
        {"Code 128", "guest 7", ZXing::BarcodeFormat::Code128, "guest 7", Qt::black, QImage::Format_Grayscale8},
        {"EAN-13", "400638133393", ZXing::BarcodeFormat::EAN13, "4006381333931", QColor(40, 40, 40),
         QImage::Format_Grayscale8},
        {"Code 39", "CARD-42", ZXing::BarcodeFormat::Code39, "CARD-42", QColor(0, 0, 140),
         QImage::Format_ARGB32_Premultiplied},
    };
    for (const Case &c : cases) {
        BarcodeElementSettings s = settingsFor(QString::fromLatin1(c.title));
        s.linear_font_val = QString::fromLatin1(c.value);
        s.barcode_clr_val = c.bars;
        const QImage picture = BarcodeGenerator::picture(s, s.value(), QStringLiteral("HEADER"), QStringLiteral("FOOTER"));
        ASSERT_FALSE(picture.isNull()) << c.title;
        EXPECT_EQ(picture.format(), c.expected) << c.title;
        EXPECT_EQ(BarcodeReader::readOn(picture, c.format, 100).text, c.read) << c.title;
    }
}

// Each linear and postal symbology names the quiet zone its standard asks for, and the
// designer's picture keeps it on both sides: where the side margins leave too little, the
// missing room is added to each side alike, and never more than is missing.
TEST(BarcodeGenerator, EachSymbologyNamesItsQuietZoneAndThePictureKeepsItOnBothSides)
{
    struct Case
    {
        const char *title;
        const char *value;
        double modules;   // quiet zone in modules of the bar width
        double points;    // or in points
        bool inBars = false;
    };
    const Case cases[] = {
        {"Code 39", "AB12", 10, 0}, {"Extended Code 39", "Ab12", 10, 0}, {"Interleaved 2 of 5", "123456", 10, 0},
        {"UPCA", "03600029145", 9, 0, true}, {"PostNet", "12345", 0, 9},
        {"Modified Plessey", "1234", 12, 0}, {"Modified Plessey (Hex)", "12AB", 12, 0},
        {"Industrial 2 of 5", "1234", 10, 0}, {"EAN-13", "590123412345", 11, 0, true},
        {"Code 128", "Ab12", 10, 0}, {"Code 128 SET A", "AB12", 10, 0}, {"Code 128 SET B", "Ab12", 10, 0},
        {"Code 128 SET C", "1234", 10, 0}, {"Codabar", "1234", 10, 0}, {"UPCE", "0425261", 9, 0, true},
        {"EAN-8", "9638507", 7, 0, true}, {"Royal Mail Barcode (RM4SCC / CBC)", "SN34RD1A", 0, 2 * 72 / 25.4},
        {"Planet", "12345678901", 0, 9}, {"Japan Post Barcode", "1234567", 0, 2 * 72 / 25.4},
    };
    QStringList covered;
    for (const Case &c : cases)
        covered << QLatin1String(c.title);
    covered.sort();
    QStringList linear = LinearBarcodes::titles();
    linear.sort();
    EXPECT_EQ(covered, linear);   // every linear and postal symbology has its row

    constexpr double kDpi = BarcodeGenerator::kLinearResolution;
    for (const Case &c : cases) {
        for (const float margin : {0.0f, 0.05f, 1.0f}) {   // centimetres a side
            SCOPED_TRACE(std::string(c.title) + ", side margin " + std::to_string(margin) + " cm");
            BarcodeElementSettings s = settingsFor(QLatin1String(c.title));
            s.linear_font_val = QLatin1String(c.value);
            s.show_hide_hdr = s.show_hide_ftr = s.show_hide_val = 1;
            s.LR_margin_val = margin;
            const BarcodeGenerator::Result made = BarcodeGenerator::generate(s, s.linear_font_val, {}, {});
            ASSERT_TRUE(made.barcode && !made.picture.isNull()) << made.failure.toStdString();
            const double module = made.barcode->barWidth();
            EXPECT_NEAR(made.barcode->quietZone(), c.modules * module + c.points, 1e-4);
            EXPECT_EQ(made.barcode->quietZoneInBars(), c.inBars);
            if (c.inBars)
                continue;   // EAN and UPC hold theirs in the bars, beside the caption digits

            // Light columns beside the outermost bars, in pixels.
            const QImage picture = made.picture.convertToFormat(QImage::Format_Grayscale8);
            int first = picture.width(), last = -1;
            for (int y = 0; y < picture.height(); ++y) {
                const uchar *row = picture.constScanLine(y);
                for (int x = 0; x < picture.width(); ++x)
                    if (row[x] < 128) {
                        first = std::min(first, x);
                        last = std::max(last, x);
                    }
            }
            ASSERT_GE(last, first);
            // Light modules that end the bar string (a gap after the last character) belong to
            // the bars, not to the quiet zone.
            const QByteArray bars = made.barcode->completeBarcode();
            ASSERT_TRUE(bars.contains('1'));
            const qsizetype lead = bars.indexOf('1');
            const qsizetype trail = bars.size() - 1 - bars.lastIndexOf('1');
            const double pixelsPerModule = module * kDpi / 72.0;
            const double left = first - lead * pixelsPerModule;
            const double right = picture.width() - 1 - last - trail * pixelsPerModule;
            const double wanted = std::max(double(margin) * 72.0 / 2.54, made.barcode->quietZone()) * kDpi / 72.0;
            EXPECT_GE(left, wanted - 2.0);
            EXPECT_GE(right, wanted - 2.0);
            EXPECT_NEAR(left, right, 2.0);
            if (margin == 0.0f) {
                EXPECT_LE(left, wanted + 2.0);   // no more than the quiet zone asks
                EXPECT_LE(right, wanted + 2.0);
            }
        }
    }
}

namespace {

// A linear barcode picture by rows: the dark (below mid-grey) columns of each, the bars' columns
// (the row most rows repeat), and the rows that hold text besides or instead of the bars, in
// runs of neighbouring rows: header, caption and footer lines.
struct Rows
{
    explicit Rows(const QImage &picture)
    {
        QMap<QList<int>, int> alike;
        for (int y = 0; y < picture.height(); ++y) {
            dark << QList<int>();
            for (int x = 0; x < picture.width(); ++x)
                if (qGray(picture.pixel(x, y)) < 128)
                    dark.last() << x;
            ++alike[dark.last()];
        }
        alike.remove({});
        bars = std::max_element(alike.cbegin(), alike.cend()).key();
        for (int y = 0; y < picture.height(); ++y) {
            if (dark.at(y).isEmpty() || dark.at(y) == bars)
                continue;
            if (text.isEmpty() || text.last().last() != y - 1)
                text << QList<int>();
            text.last() << y;
        }
    }
    // The ink of `rows` that is not bars, in runs of columns, each as [first, last].
    QList<QPair<int, int>> inkRuns(const QList<int> &rows) const
    {
        QList<int> ink;
        for (int y : rows) {
            // Where the bars reach into a text row, their columns are theirs.
            const bool barsHere = std::includes(dark.at(y).cbegin(), dark.at(y).cend(), bars.cbegin(), bars.cend());
            for (int x : dark.at(y))
                if (!barsHere || !bars.contains(x))
                    ink << x;
        }
        std::sort(ink.begin(), ink.end());
        QList<QPair<int, int>> runs;
        for (int x : ink)
            if (runs.isEmpty() || runs.last().second < x - 1)
                runs.append({x, x});
            else
                runs.last().second = x;
        return runs;
    }
    QList<QList<int>> dark;
    QList<int> bars;
    QList<QList<int>> text;
};

BarcodeGenerator::Result linearAt(const char *title, const QString &value, double dpi,
                                  const std::function<void(BarcodeElementSettings &)> &set)
{
    BarcodeElementSettings s = settingsFor(QString::fromLatin1(title));
    s.linear_font_val = value;
    set(s);
    BarcodeGenerator::Output output;
    output.dpi = dpi;
    return BarcodeGenerator::generate(s, value, QStringLiteral("HEADER"), QStringLiteral("FOOTER"), output);
}

} // namespace

// A value too long for one line under its bars (8 mil, not stretched), below or above the bars:
// the designer's picture and the exported one show every letter on one line (one run of ink
// columns each), none cut at the picture's edges, and the bars still read the whole value.
TEST(BarcodeGenerator, ALongCaptionIsShownWholeOnOneLine)
{
    const QString value = QStringLiteral("FESTILOOM-BIRTHDAY-2026-INVITATION-0000123456789-ABCDEFGHIJ");
    const struct
    {
        const char *title;
        ZXing::BarcodeFormat format;
        bool onTop;
        double dpi;   // 0: the designer's picture
    } cases[] = {
        {"Code 128", ZXing::BarcodeFormat::Code128, false, 0},   {"Code 128", ZXing::BarcodeFormat::Code128, false, 300},
        {"Code 128", ZXing::BarcodeFormat::Code128, true, 300},  {"Code 39", ZXing::BarcodeFormat::Code39, false, 300},
        {"Code 39", ZXing::BarcodeFormat::Code39, true, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.title) + (c.onTop ? " on top at " : " below at ") + std::to_string(int(c.dpi)));
        const QImage picture = linearAt(c.title, value, c.dpi, [&](BarcodeElementSettings &s) {
                                   s.linear_width_val = 8;
                                   s.kerning_value_val = 0;
                                   s.show_val_on_top = c.onTop;
                                   s.show_hide_hdr = s.show_hide_ftr = 1;
                               }).picture;
        ASSERT_FALSE(picture.isNull());
        const Rows rows(picture);
        ASSERT_EQ(rows.text.size(), 1);   // one line
        const QList<QPair<int, int>> letters = rows.inkRuns(rows.text.first());
        EXPECT_EQ(letters.size(), value.size());
        EXPECT_TRUE(letters.first().first > 0 && letters.last().second < picture.width() - 1);
        EXPECT_TRUE(rows.text.first().first() > 0 && rows.text.first().last() < picture.height() - 1);
        EXPECT_EQ(BarcodeReader::readOn(picture, c.format, 100).text, value.toStdString());
    }
}

// EAN and UPC pictures with header and footer, as the designer makes them and as a 300 dpi
// export makes them, at the designer's bar width and a narrow one: every human-readable digit
// lies whole in the picture, off its edges and apart from the guard bars, the digits of each
// group between its guards and the outer digits beside the bars.
TEST(BarcodeGenerator, EanAndUpcDigitsStandBetweenTheirGuardsWhole)
{
    const struct
    {
        const char *title;
        const char *value;
        ZXing::BarcodeFormat format;
        QList<int> digits;   // left of the bars, in each group, right of the bars
        int endGuardBars;
    } cases[] = {
        {"EAN-13", "4006381333931", ZXing::BarcodeFormat::EAN13, {1, 6, 6, 0}, 2},
        {"EAN-8", "96385074", ZXing::BarcodeFormat::EAN8, {0, 4, 4, 0}, 2},
        {"UPCA", "036000291452", ZXing::BarcodeFormat::UPCA, {1, 5, 5, 1}, 2},
        {"UPCE", "04252614", ZXing::BarcodeFormat::UPCE, {1, 6, 1}, 3},
    };
    for (const auto &c : cases) {
        for (const float mils : {13.0f, 8.0f}) {
            for (const double dpi : {0.0, 300.0}) {
                SCOPED_TRACE(std::string(c.title) + " " + std::to_string(int(mils)) + " mil at " + std::to_string(int(dpi)));
                const QImage picture = linearAt(c.title, QLatin1String(c.value), dpi,
                                                [&](BarcodeElementSettings &s) { s.linear_width_val = mils; })
                                           .picture;
                ASSERT_FALSE(picture.isNull());
                EXPECT_EQ(BarcodeReader::readOn(picture, c.format, 100).text, c.value);
                const Rows rows(picture);
                ASSERT_EQ(rows.text.size(), 3);   // header, caption, footer
                const QList<int> &caption = rows.text.at(1);
                EXPECT_LT(caption.last(), rows.text.at(2).first() - 1);
                const QList<QPair<int, int>> digits = rows.inkRuns(caption);
                ASSERT_FALSE(digits.isEmpty());
                EXPECT_TRUE(digits.first().first > 0 && digits.last().second < picture.width() - 1);

                // The guards as fences: the start guard's bars, the middle two bars, the end guard.
                QList<QPair<int, int>> bars;
                for (int x : rows.bars)
                    if (bars.isEmpty() || bars.last().second < x - 1)
                        bars.append({x, x});
                    else
                        bars.last().second = x;
                ASSERT_GE(bars.size(), 8);
                QList<QPair<int, int>> fences{{bars.at(0).first, bars.at(1).second}};
                if (c.digits.size() == 4)
                    fences.append({bars.at(bars.size() / 2 - 1).first, bars.at(bars.size() / 2).second});
                fences.append({bars.at(bars.size() - c.endGuardBars).first, bars.last().second});
                QList<int> counted(c.digits.size(), 0);
                for (const auto &digit : digits) {
                    const qsizetype space = std::count_if(fences.cbegin(), fences.cend(),
                                                          [&](const auto &fence) { return digit.first > fence.second; });
                    const bool apart = space == fences.size() || digit.second < fences.at(space).first;
                    EXPECT_TRUE(apart) << "a digit at columns " << digit.first << "-" << digit.second << " on a guard";
                    if (apart)
                        ++counted[space];
                }
                EXPECT_EQ(counted, c.digits);
            }
        }
    }
}
