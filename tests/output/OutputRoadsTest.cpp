// What leaves the program, road by road: a card of bound barcodes (one of each symbology ZXing
// reads) with random values and random valid settings, exported at 300 dpi, mailed and printed
// to PDF (rasterised by poppler), reads back to its values everywhere; the printed page keeps
// bars and texts as vectors, 2D symbols as lossless one-bit pictures and its fonts embedded;
// and each stock template prints as it exports. The seed is printed: set FESTILOOM_SEED to
// repeat a run.

#include "PrintTestSupport.h"
#include "support/BarcodeReader.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "barcode/generator/BarcodeDevicePainter.h"
#include "barcode/generator/BarcodeGenerator.h"
#include "data/CardRecordRenderer.h"
#include "document/LMNBarcode.h"
#include "document/PaintStyles.h"
#include "editor/DesignFile.h"
#include "output/Printing_View.h"
#include "output/RecordCardSource.h"
#include "output/SnapshotMailCards.h"
#include "panels/CardBackgroundPainter.h"

#include <QDateTime>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <functional>
#include <map>

namespace {

constexpr QSizeF kCard(540, 720);
constexpr QSizeF kCell(270, 120);

struct Symbology
{
    const char *title;
    ZXing::BarcodeFormat format;
    std::function<QString(QRandomGenerator &)> value;
    bool checkDigit = false;     // the reader gives a check digit more than the value
    bool extended = false;       // full-ASCII Code 39
};

QString randomText(QRandomGenerator &random, const QString &alphabet, int from, int to)
{
    QString text;
    for (int n = from + random.bounded(to - from + 1); n > 0; --n)
        text.append(alphabet.at(random.bounded(int(alphabet.size()))));
    return text;
}

const QString kDigits = QStringLiteral("0123456789");
const QString kWords = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");

const QList<Symbology> &symbologies()
{
    static const QList<Symbology> list = {
        {"EAN-13", ZXing::BarcodeFormat::EAN13, [](auto &r) { return randomText(r, kDigits, 12, 12); }, true},
        {"EAN-8", ZXing::BarcodeFormat::EAN8, [](auto &r) { return randomText(r, kDigits, 7, 7); }, true},
        {"UPCA", ZXing::BarcodeFormat::UPCA, [](auto &r) { return randomText(r, kDigits, 11, 11); }, true},
        {"Code 128", ZXing::BarcodeFormat::Code128,
         [](auto &r) { return randomText(r, kWords + QStringLiteral("!#%&()*+-./:;<=>?@[]_{}"), 4, 14); }},
        {"Code 39", ZXing::BarcodeFormat::Code39,
         [](auto &r) { return randomText(r, QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.$/+%"), 3, 10); }},
        {"Extended Code 39", ZXing::BarcodeFormat::Code39, [](auto &r) { return randomText(r, kWords, 3, 7); }, false,
         true},
        {"Codabar", ZXing::BarcodeFormat::Codabar,
         [](auto &r) { return randomText(r, QStringLiteral("0123456789-$:/.+"), 3, 12); }},
        {"Interleaved 2 of 5", ZXing::BarcodeFormat::ITF,
         [](auto &r) { return randomText(r, kDigits, 3, 7).repeated(2); }},
        {"QR Code", ZXing::BarcodeFormat::QRCode, [](auto &r) { return randomText(r, kWords, 5, 40); }},
        {"PDF417", ZXing::BarcodeFormat::PDF417, [](auto &r) { return randomText(r, kWords, 5, 40); }},
        {"DataMatrix", ZXing::BarcodeFormat::DataMatrix, [](auto &r) { return randomText(r, kWords, 5, 30); }},
    };
    return list;
}

quint32 seed()
{
    const QByteArray fixed = qgetenv("FESTILOOM_SEED");
    const quint32 value = fixed.isEmpty() ? quint32(QDateTime::currentMSecsSinceEpoch()) : fixed.toUInt();
    std::printf("FESTILOOM_SEED=%u\n", value);
    return value;
}

QRectF cellOf(int index)
{
    return QRectF(QPointF((index % 2) * kCell.width(), (index / 2) * kCell.height()), kCell);
}

// One card of one record: a barcode element of each symbology bound to its own spreadsheet
// column, with random colour, caption, header, footer and side margin.
struct RoadCard
{
    CardSnapshot snapshot;
    QStringList values;
    QStringList headers;          // "" where the header is hidden
    bool blackOnWhite2D = false;  // a 2D symbol drawn black on white (a one-bit picture in print)
};

RoadCard roadCard(QRandomGenerator &random)
{
    RoadCard card;
    CardSnapshot &s = card.snapshot;
    s.cardSize = kCard;
    const QList<QColor> inks = {Qt::black, QColor(0, 0, 128), QColor(0, 90, 0), QColor(120, 0, 0)};
    QStringList titles = {"#"};
    for (int i = 0; i < symbologies().size(); ++i) {
        const Symbology &kind = symbologies().at(i);
        GraphicPtr element = LMNGraphic::create(GraphicKind::Barcode);
        element->setBounds(cellOf(i).adjusted(10, 10, -10, -10));
        element->data_source_type = 2;
        element->excel_col_indx = i + 1;
        BarcodeElementSettings settings;
        settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(kind.title)));
        settings.linear_or_2d = settings.isTwoDimensional() ? 1 : 0;
        settings.barcode_clr_val = inks.at(random.bounded(int(inks.size())));
        // Code 128 always shows its value: the printed page must hold it as text.
        settings.show_hide_val = i == 3 ? 0 : random.bounded(2);
        settings.show_hide_hdr = random.bounded(2);
        settings.show_hide_ftr = random.bounded(2);
        settings.header_val = randomText(random, kWords, 3, 8);
        settings.footer_val = randomText(random, kWords, 3, 8);
        settings.LR_margin_val = random.bounded(2) ? 0.0f : 0.1f;
        settings.applyTo(*element);
        card.blackOnWhite2D = card.blackOnWhite2D || (settings.isTwoDimensional() && settings.barcode_clr_val == Qt::black);
        card.values << kind.value(random);
        card.headers << (settings.show_hide_hdr ? QString() : settings.header_val);
        titles << QLatin1String(kind.title);
        s.front.append(element);
    }
    s.table.titles = titles;
    s.table.appendRecord(card.values, int(titles.size()));
    s.useSpreadsheet = true;
    s.spreadsheetRows = 1;
    return card;
}

// The card of record 0 printed alone on a page of its size: the PDF's path.
QString printCard(const CardSnapshot &snapshot, const QString &folder)
{
    SheetLayout layout;
    layout.paper = snapshot.cardSize;
    layout.W = float(snapshot.cardSize.width());
    layout.H = float(snapshot.cardSize.height());
    const QString pdf = QDir(folder).filePath(QStringLiteral("card.pdf"));
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(snapshot.cardSize, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    Printing_View view(layout, std::make_shared<RecordCardSource>(snapshot), 1, false);
    const Printing_View::Pass pass = view.paint(writer);
    EXPECT_EQ(pass.cardsDrawn, 1) << pass.failures.join(QLatin1Char('\n')).toStdString();
    return pdf;
}

QStringList toolLines(const QString &program, const QString &pdf)
{
    const QString out = QString::fromUtf8(TestHelpers::runProgram(program, {QStringLiteral("-list"), pdf}));
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2); // after the two header lines
}

} // namespace

TEST(OutputRoads, EveryBarcodeReadsOnEveryRoad)
{
    QRandomGenerator random(seed());
    const RoadCard card = roadCard(random);
    QTemporaryDir folder;
    const QString pdf = printCard(card.snapshot, folder.path());
    QString failure;
    const QImage exported = CardRecordRenderer(card.snapshot).cardImage(0, 0, 0, 300.0, &failure);
    const QImage mailed = SnapshotMailCards(card.snapshot).card(0, 0, &failure);
    ASSERT_FALSE(exported.isNull() || mailed.isNull()) << failure.toStdString();
    EXPECT_EQ(mailed.size(), LMNRenderingView::pixelSize(kCard, 150.0 / 72.0));
    const struct
    {
        const char *road;
        QImage card;
        double dpi;
    } roads[] = {{"export at 300 dpi", exported, 300}, {"mail", mailed, 150}, {"print", pdfPage(pdf, 1, 300), 300}};

    // Each barcode is read from its own picture's area and a little white around it: ZXing's
    // DataMatrix detector gets lost in a wide field with text beside the symbol.
    const GraphicList filled = CardRecordRenderer(card.snapshot).filledSide(0, 0);
    for (const auto &road : roads) {
        for (int i = 0; i < symbologies().size(); ++i) {
            const Symbology &kind = symbologies().at(i);
            const QRectF area = static_cast<const LMNBarcode &>(*filled.at(i)).pictureRect().adjusted(-8, -8, 8, 8);
            const double scale = road.dpi / 72.0;
            const QImage part = road.card.copy(QRectF(area.topLeft() * scale, area.size() * scale).toRect());
            const std::string read =
                BarcodeReader::read(part, kind.format, {.tryHarder = true, .code39Extended = kind.extended}).text;
            const std::string value = card.values.at(i).toStdString();
            EXPECT_EQ(kind.checkDigit ? read.substr(0, value.size()) : read, value)
                << kind.title << " on the road " << road.road << " (read \"" << read << "\")";
        }
    }

    // The printed page: no picture for a linear barcode, only lossless one-bit ones for 2D
    // symbols drawn black on white (others are vectors), every font embedded, texts as text.
    const QStringList images = toolLines(QStringLiteral("pdfimages"), pdf);
    EXPECT_LE(images.size(), card.blackOnWhite2D ? 3 : 0) << images.join(QLatin1Char('\n')).toStdString();
    for (const QString &line : images) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(f.size(), 9);
        EXPECT_EQ(f.at(7) + QLatin1Char('/') + f.at(8), QStringLiteral("1/image")) << line.toStdString(); // bpc, enc
    }
    const QString fonts = QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdffonts"), {pdf}));
    const QStringList fontLines = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    EXPECT_FALSE(fontLines.isEmpty());
    for (const QString &line : fontLines) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_EQ(f.value(f.size() - 5), QStringLiteral("yes")) << line.toStdString(); // "emb"
    }
    QString words = QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
    words.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_TRUE(words.contains(card.values.at(3))) << card.values.at(3).toStdString();
    for (const QString &header : card.headers)
        EXPECT_TRUE(words.contains(header)) << header.toStdString();
}

namespace {

// The linear symbologies ZXing reads, each with random values it accepts.
struct LinearKind
{
    const char *title;
    ZXing::BarcodeFormat format;
    std::function<QString(QRandomGenerator &)> value;
    bool extended = false;
};

const QList<LinearKind> &linearKinds()
{
    const QString code39 = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%");
    const QString setA = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_");
    static const QList<LinearKind> list = {
        {"Code 39", ZXing::BarcodeFormat::Code39, [=](auto &r) { return randomText(r, code39, 1, 12).trimmed() + u'9'; }},
        {"Extended Code 39", ZXing::BarcodeFormat::Code39,
         [](auto &r) { return randomText(r, kWords + QStringLiteral("!#%&()*+-./:;<=>?@_"), 1, 8); }, true},
        {"Interleaved 2 of 5", ZXing::BarcodeFormat::ITF, [](auto &r) { return randomText(r, kDigits, 3, 9).repeated(2); }},
        {"Code 128", ZXing::BarcodeFormat::Code128,
         [](auto &r) { return u'Z' + randomText(r, kWords + QStringLiteral(" !#%&()*+-./:;<=>?@[]_{}"), 0, 20) + u'Z'; }},
        {"Code 128 SET A", ZXing::BarcodeFormat::Code128, [=](auto &r) { return u'Z' + randomText(r, setA, 0, 16) + u'Z'; }},
        {"Code 128 SET B", ZXing::BarcodeFormat::Code128, [](auto &r) { return randomText(r, kWords, 1, 16); }},
        {"Code 128 SET C", ZXing::BarcodeFormat::Code128, [](auto &r) { return randomText(r, kDigits, 1, 10).repeated(2); }},
        {"Codabar", ZXing::BarcodeFormat::Codabar, [](auto &r) { return randomText(r, QStringLiteral("0123456789-$:/.+"), 1, 14); }},
        {"EAN-13", ZXing::BarcodeFormat::EAN13, [](auto &r) { return randomText(r, kDigits, 12, 12); }},
        {"EAN-8", ZXing::BarcodeFormat::EAN8, [](auto &r) { return randomText(r, kDigits, 7, 7); }},
        {"UPCA", ZXing::BarcodeFormat::UPCA, [](auto &r) { return randomText(r, kDigits, 11, 11); }},
        {"UPCE", ZXing::BarcodeFormat::UPCE, [](auto &r) { return u'0' + randomText(r, kDigits, 6, 6); }},
    };
    return list;
}

// Settings the designer accepts, drawn at random: bar width 5 to 40 thousandths of an inch,
// bar height, margins (the side margins half the time within 0.1 cm), bands and fonts.
BarcodeElementSettings randomLinearSettings(QRandomGenerator &random, const LinearKind &kind)
{
    const auto tenths = [&random](int from, int to) { return float(from + random.bounded(to - from + 1)) / 10.0f; };
    const auto hundredths = [&random](int to) { return float(random.bounded(to + 1)) / 100.0f; };
    BarcodeElementSettings s;
    s.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(kind.title)));
    s.linear_width_val = tenths(50, 400);
    s.linear_height_val = tenths(5, 30);
    s.hdr_margin_val = hundredths(50);
    s.ftr_margin_val = hundredths(50);
    s.val_margin_val = hundredths(50);
    s.TB_marging_val = hundredths(50);
    s.LR_margin_val = random.bounded(2) ? hundredths(10) : hundredths(50);
    s.show_hide_val = random.bounded(2);
    s.show_val_on_top = random.bounded(2);
    s.show_hide_hdr = random.bounded(2);
    s.show_hide_ftr = random.bounded(2);
    s.header_val = randomText(random, kWords, 1, 12);
    s.footer_val = randomText(random, kWords, 1, 12);
    s.value_font_val.pointSize = 6 + random.bounded(11);
    s.header_font_val.pointSize = 6 + random.bounded(11);
    s.footer_font_val.pointSize = 6 + random.bounded(11);
    const QList<QColor> inks = {Qt::black, QColor(0, 0, 128), QColor(0, 90, 0), QColor(120, 0, 0)};
    s.barcode_clr_val = inks.at(random.bounded(int(inks.size())));
    s.barcode_back_clr_val = random.bounded(2) ? QColor(Qt::white) : QColor(255, 250, 230);
    return s;
}

// The light space in points between `area`'s left and right edges and the outer bars, taken
// on a row through the bars alone: the rows through them are alike, so the number of changes
// between light and dark most rows share (ten at least: a text line changes as often but its
// rows differ, and rows crossing caption digits beside the bars are fewer).
std::pair<double, double> quietSides(const QImage &picture, const QRect &area, double pixelsPerPoint)
{
    const auto dark = [&](int x, int y) { return qGray(picture.pixel(x, y)) < 128; };
    std::map<int, std::vector<int>> rowsByChanges;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int changes = 0;
        for (int x = area.left() + 1; x <= area.right(); ++x)
            changes += dark(x, y) != dark(x - 1, y);
        rowsByChanges[changes].push_back(y);
    }
    const std::vector<int> *rows = nullptr;
    for (const auto &[changes, ys] : rowsByChanges)
        if (changes >= 10 && (!rows || ys.size() > rows->size()))
            rows = &ys;
    if (!rows)
        return {0.0, 0.0};
    const int best = rows->at(rows->size() / 2);
    int left = area.left();
    while (left <= area.right() && !dark(left, best))
        ++left;
    int right = area.right();
    while (right >= left && !dark(right, best))
        --right;
    return {(left - area.left()) / pixelsPerPoint, (area.right() - right) / pixelsPerPoint};
}

} // namespace

// Bars land on whole pixels on the raster roads without eating into the quiet zone: every
// linear barcode whose designer picture reads also reads on a card exported at 300 dpi and on
// the 150 dpi mailed picture. A module under a pixel cannot be drawn there, so the mail is
// checked from one pixel a module up.
TEST(OutputRoads, LinearBarcodesReadOnRasterRoadsWhereTheDesignerPictureReads)
{
    QRandomGenerator random(seed());
    constexpr int kTrials = 150;
    int checked = 0;
    QStringList failures;
    for (int trial = 0; trial < kTrials; ++trial) {
        const LinearKind &kind = linearKinds().at(random.bounded(int(linearKinds().size())));
        const BarcodeElementSettings settings = randomLinearSettings(random, kind);
        const QString value = kind.value(random);
        const BarcodeGenerator::Result made = BarcodeGenerator::generate(settings, value, settings.header_val, settings.footer_val);
        const QImage &designed = made.picture;
        const BarcodeReader::Options options{.tryHarder = true, .code39Extended = kind.extended};
        // On a dark card only the picture's own margins make the quiet zone.
        const QColor cardColour(40, 60, 110);
        const std::string expected = designed.isNull() ? std::string()
                                                       : BarcodeReader::readOn(designed, kind.format, 40, cardColour, options).text;
        if (expected.empty())
            continue;
        ++checked;

        // One card of one record, the barcode bound to its column.
        const QSizeF picture = PaintStyles::pictureSizeInPoints(designed);
        CardSnapshot snapshot;
        snapshot.cardSize = picture + QSizeF(40, 40);
        GraphicPtr element = LMNGraphic::create(GraphicKind::Barcode);
        element->setBounds(QRectF(QPointF(20, 20), picture));
        element->data_source_type = 2;
        element->excel_col_indx = 1;
        settings.applyTo(*element);
        snapshot.front.append(element);
        snapshot.frontBackground = [cardColour](QPainter &painter, const QRectF &card, const QRectF &) {
            painter.fillRect(card, cardColour);
        };
        snapshot.table.titles = {QStringLiteral("#"), QStringLiteral("value")};
        snapshot.table.appendRecord({value}, 2);
        snapshot.useSpreadsheet = true;
        snapshot.spreadsheetRows = 1;

        QString failure;
        const QImage exported = CardRecordRenderer(snapshot).cardImage(0, 0, 0, 300.0, &failure);
        const QImage mailed = SnapshotMailCards(snapshot).card(0, 0, &failure);
        ASSERT_FALSE(exported.isNull() || mailed.isNull()) << failure.toStdString();
        const double mils = settings.linear_width_val;
        // Where the designer leaves less light than the quiet zone (the caption digits of EAN
        // and UPC), no less than the designer.
        const auto [designedLeft, designedRight] = quietSides(designed, designed.rect(), designed.dotsPerMeterX() * 0.0254 / 72.0);
        const double quietZone = BarcodeGenerator::quietZone(*made.barcode);
        const struct
        {
            const char *road;
            const QImage &card;
            double dpi;
            bool due;
        } roads[] = {{"export at 300 dpi", exported, 300, true}, {"mail at 150 dpi", mailed, 150, mils * 0.15 >= 1.0}};
        for (const auto &road : roads) {
            const QString where = QStringLiteral("%1 \"%2\" on the road %3: bar width %4 mils, side margin %5 cm")
                                      .arg(QLatin1String(kind.title), value, QLatin1String(road.road))
                                      .arg(mils)
                                      .arg(settings.LR_margin_val);
            const std::string read = BarcodeReader::read(road.card, kind.format, options).text;
            if (road.due && read != expected)
                failures << where + QStringLiteral(" (read \"%1\")").arg(QString::fromStdString(read));
            // The bars never reach into the light space the designer leaves beside them.
            const double scale = road.dpi / 72.0;
            const QRect area(QPoint(int(std::lround(20 * scale)), int(std::lround(20 * scale))),
                             (picture * scale).toSize());
            const auto [left, right] = quietSides(road.card, area, scale);
            const double tolerance = 1.5 / scale;  // a pixel of rounding and a glyph's soft edge
            if (road.due && (left < std::min(designedLeft, quietZone) - tolerance
                             || right < std::min(designedRight, quietZone) - tolerance))
                failures << where + QStringLiteral(": light beside the bars %1 and %2 points, quiet zone %3, designed %4 and %5")
                                        .arg(left)
                                        .arg(right)
                                        .arg(quietZone)
                                        .arg(designedLeft)
                                        .arg(designedRight);
        }
    }
    std::printf("%d of %d random linear barcodes read in the designer; %lld failures on the raster roads\n", checked,
                kTrials, qlonglong(failures.size()));
    EXPECT_GT(checked, kTrials / 2);
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
}

TEST(OutputRoads, StockTemplatesPrintAsTheyExport)
{
    const QString seed = TestHelpers::sourcePath(QStringLiteral("resources/seed"));
    const QFileInfoList files = QDir(QDir(seed).filePath(QStringLiteral("Templates")))
                                    .entryInfoList({QStringLiteral("*.") + DesignFile::Extension}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    constexpr double kDpi = 150;
    for (const QFileInfo &file : files) {
        QString error;
        const std::optional<CardDesign> design = DesignFile::read(file.filePath(), &error);
        ASSERT_TRUE(design) << error.toStdString();
        Card_Property record = design->Front_card_Prop;
        if (record.Card_fill_style == QLatin1String("I"))
            record.Card_BG_Image = QImage(QDir(seed).filePath(record.Card_BG_Image_Path));
        CardSnapshot snapshot;
        snapshot.cardSize = record.Card_Size;
        snapshot.front = design->graphics;
        snapshot.frontBackground = CardBackgroundPainter(record, design->Card_Shape, seed);
        snapshot.drawContext.resourcePath = seed;
        QTemporaryDir folder;
        const QImage printed = pdfPage(printCard(snapshot, folder.path()), 1, int(kDpi));
        const QImage exported = CardRecordRenderer(snapshot).cardImage(0, 0, 0, kDpi);
        // poppler rounds a fractional page size where pictures take the whole last pixel.
        ASSERT_LE((exported.size() - printed.size()).width() + (exported.size() - printed.size()).height(), 2);
        // Laid on white as poppler lays the page.
        QImage flat(exported.size().boundedTo(printed.size()), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, exported);
        qint64 different = 0;
        for (int y = 0; y < flat.height(); ++y) {
            const auto *a = reinterpret_cast<const QRgb *>(flat.constScanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(printed.constScanLine(y));
            for (int x = 0; x < flat.width(); ++x)
                different += std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                       std::abs(qBlue(a[x]) - qBlue(b[x]))})
                             > 16;
        }
        // Qt and poppler smooth edges (glyphs, picture outlines) each their own way: up to
        // 5 % of the pixels differ there; a missing, moved or recoloured part costs far more.
        EXPECT_LE(double(different) / (double(flat.width()) * flat.height()), 0.06) << file.fileName().toStdString();
    }
}
