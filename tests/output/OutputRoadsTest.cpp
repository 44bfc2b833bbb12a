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
#include "document/PaintStyles.h"
#include "data/CardRecordRenderer.h"
#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNText.h"
#include "document/Shape_Control.h"
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
        card.blackOnWhite2D = card.blackOnWhite2D || settings.isTwoDimensional();
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

// Side `side` of the card of record 0 printed alone on a page of its size: the PDF's path.
QString printCard(const CardSnapshot &snapshot, const QString &folder, int side = 0)
{
    SheetLayout layout;
    layout.side = side ? QStringLiteral("B") : QStringLiteral("F");
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

// A barcode element of `title` designed from `settings`, with the designer's picture; bound to
// spreadsheet column `column` when that is not 0.
GraphicPtr designedBarcode(BarcodeElementSettings settings, const char *title, const QPointF &at, int column = 0)
{
    settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(title)));
    settings.linear_or_2d = settings.isTwoDimensional() ? 1 : 0;
    GraphicPtr element = LMNGraphic::create(GraphicKind::Barcode);
    settings.applyTo(*element);
    element->Set_Barcode_image(BarcodeGenerator::picture(settings));
    element->setBounds(QRectF(at, PaintStyles::pictureSizeInPoints(element->_barcode_image)));
    if (column > 0) {
        element->data_source_type = 2;
        element->excel_col_indx = column;
    }
    return element;
}

// Device pixels of `area` (points) of a card picture at `dpi`.
QImage partOf(const QImage &card, const QRectF &area, double dpi)
{
    const double scale = dpi / 72.0;
    return card.copy(QRectF(area.topLeft() * scale, area.size() * scale).toRect()).convertToFormat(QImage::Format_RGB32);
}

// The left and right ink columns of each band of rows holding ink, top to bottom.
QList<std::pair<int, int>> inkBands(const QImage &picture)
{
    QList<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = 0; y < picture.height(); ++y) {
        int left = -1;
        int right = -1;
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(row[x]) < 128) {
                right = x;
                if (left < 0)
                    left = x;
            }
        if (left < 0) {
            inBand = false;
            continue;
        }
        if (!inBand)
            bands.append({left, right});
        bands.last() = {std::min(bands.last().first, left), std::max(bands.last().second, right)};
        inBand = true;
    }
    return bands;
}

} // namespace

TEST(OutputRoads, StretchedCaptionSpansTheBarsOnEveryRoad)
{
    // Code 39 "AB" with its caption under the bars, stretched and not: one drawn from the
    // element's own value, one filled from the spreadsheet as batch cards are.
    BarcodeElementSettings settings;
    settings.linear_font_val = QStringLiteral("AB");
    settings.show_hide_hdr = settings.show_hide_ftr = 1;
    settings.value_font_val = CardFont(QStringLiteral("ArialMT"), 12);
    CardSnapshot snapshot;
    snapshot.cardSize = kCard;
    for (int stretch : {1, 0}) {
        settings.kerning_value_val = stretch;
        snapshot.front << designedBarcode(settings, "Code 39", QPointF(20, 20 + 150 * stretch))
                       << designedBarcode(settings, "Code 39", QPointF(280, 20 + 150 * stretch), 1);
    }
    snapshot.table.titles = QStringList{QStringLiteral("#"), QStringLiteral("Code")};
    snapshot.table.appendRecord({QStringLiteral("AB")}, 2);
    snapshot.useSpreadsheet = true;
    snapshot.spreadsheetRows = 1;

    QTemporaryDir folder;
    QString failure;
    // The same card saved as a design and opened again.
    CardDesign design;
    design.graphics = snapshot.front;
    const QString path = folder.filePath(QStringLiteral("stretched.dcard"));
    ASSERT_TRUE(DesignFile::write(path, design, &failure)) << failure.toStdString();
    const std::optional<CardDesign> opened = DesignFile::read(path, &failure);
    ASSERT_TRUE(opened) << failure.toStdString();
    CardSnapshot reopened = snapshot;
    reopened.front = opened->graphics;

    const struct
    {
        const char *road;
        QImage card;
        double dpi;
        const CardSnapshot *from;
    } roads[] = {{"export at 300 dpi", CardRecordRenderer(snapshot).cardImage(0, 0, 0, 300.0, &failure), 300, &snapshot},
                 {"mail", SnapshotMailCards(snapshot).card(0, 0, &failure), 150, &snapshot},
                 {"print", pdfPage(printCard(snapshot, folder.path()), 1, 300), 300, &snapshot},
                 {"export at 300 dpi once saved and opened", CardRecordRenderer(reopened).cardImage(0, 0, 0, 300.0, &failure),
                  300, &reopened},
                 {"mail once saved and opened", SnapshotMailCards(reopened).card(0, 0, &failure), 150, &reopened}};
    // Saving and opening changes no pixel.
    EXPECT_EQ(roads[3].card, roads[0].card);
    EXPECT_EQ(roads[4].card, roads[1].card);
    for (const auto &road : roads) {
        ASSERT_FALSE(road.card.isNull()) << road.road << ": " << failure.toStdString();
        const GraphicList filled = CardRecordRenderer(*road.from).filledSide(0, 0);
        for (int i = 0; i < filled.size(); ++i) {
            const bool stretched = i < 2;
            const QRectF area = static_cast<const LMNBarcode &>(*filled.at(i)).pictureRect();
            const QList<std::pair<int, int>> bands = inkBands(partOf(road.card, area, road.dpi));
            ASSERT_EQ(bands.size(), 2) << road.road << " element " << i;   // the bars, then the caption
            const double bars = bands.at(0).second - bands.at(0).first;
            const double caption = bands.at(1).second - bands.at(1).first;
            if (stretched) {
                // The last letter's spacing lies beyond its ink: within a letter gap of the bars.
                EXPECT_GT(caption, 0.85 * bars) << road.road << " element " << i;
                EXPECT_LT(caption, 1.05 * bars) << road.road << " element " << i;
                EXPECT_NEAR(bands.at(1).first, bands.at(0).first, 0.1 * bars) << road.road << " element " << i;
            } else {
                EXPECT_LT(caption, 0.6 * bars) << road.road << " element " << i;
            }
        }
    }
}

TEST(OutputRoads, TwoDSymbolsAreBlackOnWhiteWhateverTheHiddenColours)
{
    // Bar and background colours left over from a linear barcode: the designer hides them in
    // 2D mode, so no symbol shows them; the header keeps its blue.
    BarcodeElementSettings settings;
    settings.barcode_clr_val = Qt::red;
    settings.barcode_back_clr_val = Qt::yellow;
    settings.barcode_hdr_clr_val = Qt::blue;
    settings.show_hide_ftr = 1;
    settings.header_val = QStringLiteral("GUESTS");
    settings.header_font_val = CardFont(QStringLiteral("ArialMT"), 14);
    settings.two_d_font_val = QStringLiteral("Table 7, seat 3");
    settings.qr_size_val = 90;
    settings.dm_module_val = 4;
    const struct
    {
        const char *title;
        ZXing::BarcodeFormat format;
    } kinds[] = {{"QR Code", ZXing::BarcodeFormat::QRCode},
                 {"PDF417", ZXing::BarcodeFormat::PDF417},
                 {"DataMatrix", ZXing::BarcodeFormat::DataMatrix}};
    CardSnapshot snapshot;
    snapshot.cardSize = kCard;
    for (int i = 0; i < 3; ++i)
        snapshot.front << designedBarcode(settings, kinds[i].title, QPointF(40, 40 + 200 * i));

    QTemporaryDir folder;
    QString failure;
    const struct
    {
        const char *road;
        QImage card;
        double dpi;
    } roads[] = {{"export at 300 dpi", CardRecordRenderer(snapshot).cardImage(0, 0, 0, 300.0, &failure), 300},
                 {"print", pdfPage(printCard(snapshot, folder.path()), 1, 300), 300},
                 {"mail at 150 dpi", SnapshotMailCards(snapshot).card(0, 0, &failure), 150}};
    for (const auto &road : roads) {
        ASSERT_FALSE(road.card.isNull()) << failure.toStdString();
        for (int i = 0; i < 3; ++i) {
            const QRectF area = static_cast<const LMNBarcode &>(*snapshot.front.at(i)).pictureRect();
            const QImage part = partOf(road.card, area.adjusted(-8, -8, 8, 8), road.dpi);
            EXPECT_EQ(BarcodeReader::read(part, kinds[i].format, {.tryHarder = true}).text, "Table 7, seat 3")
                << kinds[i].title << " on the road " << road.road;
            int red = 0, yellow = 0, blue = 0, black = 0;
            for (int y = 0; y < part.height(); ++y) {
                const auto *row = reinterpret_cast<const QRgb *>(part.constScanLine(y));
                for (int x = 0; x < part.width(); ++x) {
                    const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
                    red += r > 160 && g < 100 && b < 100;
                    yellow += r > 160 && g > 160 && b < 100;
                    blue += b > 160 && r < 100 && g < 100;
                    black += r < 60 && g < 60 && b < 60;
                }
            }
            EXPECT_EQ(red + yellow, 0) << kinds[i].title << " on the road " << road.road;
            EXPECT_GT(blue, 50) << kinds[i].title << " on the road " << road.road;
            EXPECT_GT(black, 1000) << kinds[i].title << " on the road " << road.road;
        }
    }
}

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
    // In layout mode pdftotext keeps a hyphen that ends a line: in reading order it joins the
    // line to the next one and drops the hyphen, so a value ending in "-" would go missing.
    QString words = QString::fromUtf8(
        TestHelpers::runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
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
    bool twoWidths = false;  // wide elements of two modules
};

const QList<LinearKind> &linearKinds()
{
    const QString code39 = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%");
    const QString setA = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_");
    static const QList<LinearKind> list = {
        {"Code 39", ZXing::BarcodeFormat::Code39, [=](auto &r) { return randomText(r, code39, 1, 12).trimmed() + u'9'; },
         false, true},
        {"Extended Code 39", ZXing::BarcodeFormat::Code39,
         [](auto &r) { return randomText(r, kWords + QStringLiteral("!#%&()*+-./:;<=>?@_"), 1, 8); }, true, true},
        {"Interleaved 2 of 5", ZXing::BarcodeFormat::ITF, [](auto &r) { return randomText(r, kDigits, 3, 9).repeated(2); }},
        {"Code 128", ZXing::BarcodeFormat::Code128,
         [](auto &r) { return u'Z' + randomText(r, kWords + QStringLiteral(" !#%&()*+-./:;<=>?@[]_{}"), 0, 20) + u'Z'; }},
        {"Code 128 SET A", ZXing::BarcodeFormat::Code128, [=](auto &r) { return u'Z' + randomText(r, setA, 0, 16) + u'Z'; }},
        {"Code 128 SET B", ZXing::BarcodeFormat::Code128, [](auto &r) { return randomText(r, kWords, 1, 16); }},
        {"Code 128 SET C", ZXing::BarcodeFormat::Code128, [](auto &r) { return randomText(r, kDigits, 1, 10).repeated(2); }},
        {"Codabar", ZXing::BarcodeFormat::Codabar, [](auto &r) { return randomText(r, QStringLiteral("0123456789-$:/.+"), 1, 14); },
         false, true},
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

// The share of pixels of one picture that no pixel of the other within one pixel matches to
// 16/255 in every channel, taken both ways (the larger): what differs beyond the placement of
// an edge, which Qt and poppler each round their own way.
double offShare(const QImage &a, const QImage &b)
{
    const int width = std::min(a.width(), b.width()), height = std::min(a.height(), b.height());
    const auto close = [](QRgb p, QRgb q) {
        return std::abs(qRed(p) - qRed(q)) <= 16 && std::abs(qGreen(p) - qGreen(q)) <= 16
               && std::abs(qBlue(p) - qBlue(q)) <= 16;
    };
    const auto unmatched = [&](const QImage &x, const QImage &y) {
        qint64 off = 0;
        for (int row = 0; row < height; ++row) {
            const auto *line = reinterpret_cast<const QRgb *>(x.constScanLine(row));
            for (int column = 0; column < width; ++column) {
                bool matched = false;
                for (int r = std::max(0, row - 1); r <= std::min(height - 1, row + 1) && !matched; ++r) {
                    const auto *other = reinterpret_cast<const QRgb *>(y.constScanLine(r));
                    for (int c = std::max(0, column - 1); c <= std::min(width - 1, column + 1) && !matched; ++c)
                        matched = close(line[column], other[c]);
                }
                off += !matched;
            }
        }
        return off;
    };
    return double(std::max(unmatched(a, b), unmatched(b, a))) / (double(width) * height);
}

// Side `side` of record 0 exported at 300 dpi and printed (rasterised by poppler at 300 dpi):
// the share of pixels off (offShare).
double exportAgainstPrint(const CardSnapshot &snapshot, int side, const char *name)
{
    constexpr int kDpi = 300;
    QTemporaryDir folder;
    const QImage printed = pdfPage(printCard(snapshot, folder.path(), side), 1, kDpi);
    QString failure;
    const QImage exported = CardRecordRenderer(snapshot).cardImage(0, side, 0, kDpi, &failure);
    EXPECT_FALSE(exported.isNull()) << failure.toStdString();
    // poppler rounds a fractional page size where pictures take the whole last pixel.
    const QSize grown = exported.size() - printed.size();
    EXPECT_LE(std::abs(grown.width()) + std::abs(grown.height()), 2) << name;
    // Laid on white as poppler lays the page.
    QImage flat(exported.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, exported);
    return offShare(flat, printed);
}

} // namespace

// Bars land on whole pixels on the raster roads without eating into the quiet zone: every
// linear barcode whose designer picture reads also reads on a card exported at 300 dpi and on
// the 150 dpi mailed picture, and keeps its quiet zone there. A module under a pixel cannot
// be drawn, so a road is checked from one pixel a module up; codes whose wide elements are two
// modules from 2.5 pixels up (below, the pixel a wide element gains or loses so that the bars
// keep their span makes it look narrow to a reader).
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
        // A module of barely one pixel (6.7 mils at 150 dpi is 1.005 pixels) drifts across the
        // pixel grid along the symbol and turns into two half-grey columns wherever it straddles
        // two pixels: such Code 128 symbols read or not by chance. A module is due to read from
        // a tenth of a pixel over one.
        constexpr double kOnePixelModule = 1.1;
        // Where the designer leaves less light than the quiet zone (the caption digits of EAN
        // and UPC), no less than the designer.
        const auto [designedLeft, designedRight] = quietSides(designed, designed.rect(), designed.dotsPerMeterX() * 0.0254 / 72.0);
        const double quietZone = made.barcode->quietZone();
        const struct
        {
            const char *road;
            const QImage &card;
            double dpi;
            bool due;
        } roads[] = {{"export at 300 dpi", exported, 300, mils * 0.3 >= (kind.twoWidths ? 2.5 : kOnePixelModule)},
                     {"mail at 150 dpi", mailed, 150, mils * 0.15 >= (kind.twoWidths ? 2.5 : kOnePixelModule)}};
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

// Each side of each stock template, printed, is its export but for edges.
TEST(OutputRoads, StockTemplatesPrintAsTheyExport)
{
    const QString seed = TestHelpers::sourcePath(QStringLiteral("resources/seed"));
    const QFileInfoList files = QDir(QDir(seed).filePath(QStringLiteral("Templates")))
                                    .entryInfoList({QStringLiteral("*.") + DesignFile::Extension}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QFileInfo &file : files) {
        QString error;
        const std::optional<CardDesign> design = DesignFile::read(file.filePath(), &error);
        ASSERT_TRUE(design) << error.toStdString();
        CardSnapshot snapshot;
        snapshot.cardSize = design->Front_card_Prop.Card_Size;
        snapshot.cardSides = QStringLiteral("2");
        snapshot.front = design->graphics;
        snapshot.back = design->graphics_back;
        snapshot.drawContext.resourcePath = seed;
        for (const int side : {0, 1}) {
            Card_Property record = side ? design->Back_card_Prop : design->Front_card_Prop;
            if (record.Card_fill_style == QLatin1String("I"))
                record.Card_BG_Image = QImage(QDir(seed).filePath(record.Card_BG_Image_Path));
            (side ? snapshot.backBackground : snapshot.frontBackground) =
                CardBackgroundPainter(record, design->Card_Shape, seed);
        }
        for (const int side : {0, 1}) {
            const std::string name = file.baseName().toStdString() + (side ? "-back" : "-front");
            EXPECT_LE(exportAgainstPrint(snapshot, side, name.c_str()), 0.01) << name;
        }
    }
}

// Made designs with what the stock templates lack: bound barcodes, patterns on elements at
// uneven places, a tiled picture, turned pictures with effects. Each prints as it exports.
TEST(OutputRoads, PatternsEffectsAndBoundBarcodesPrintAsTheyExport)
{
    const QString seed = TestHelpers::sourcePath(QStringLiteral("resources/seed"));
    const QString photo = QDir(seed).filePath(QStringLiteral("Background/Garden Party.jpg"));
    const auto hatched = [](const char *pattern, const QRectF &bounds, const QString &shapeType) {
        auto s = std::make_shared<Shape_Control>();
        s->_shape_type = shapeType;
        s->setBounds(bounds);
        s->_isDrawingFill = true;
        s->_fill_type = QStringLiteral("H");
        s->_fill_htch_clr = QColor(250, 240, 200);
        s->_fill_hatch_type = QLatin1String(pattern);
        return s;
    };
    const auto picture = [&](const QRectF &bounds, float turn, const std::function<void(LMNImage &)> &effects) {
        auto p = std::make_shared<LMNImage>();
        p->setBounds(bounds);
        p->setFilePath(photo);
        p->rotate_image = turn;
        p->_isDrawingStroke = false;
        effects(*p);
        return p;
    };
    const auto text = [](const QString &words, const QRectF &bounds) {
        auto t = std::make_shared<LMNText>();
        t->setText(words);
        t->setBounds(bounds);
        t->_isDrawingStroke = false;
        return t;
    };
    const auto barcode = [](const char *symbology, int column, const QRectF &bounds) {
        GraphicPtr element = LMNGraphic::create(GraphicKind::Barcode);
        element->setBounds(bounds);
        element->data_source_type = 2;
        element->excel_col_indx = column;
        BarcodeElementSettings settings;
        settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(symbology)));
        settings.linear_or_2d = settings.isTwoDimensional() ? 1 : 0;
        settings.applyTo(*element);
        return element;
    };

    Card_Property tiled;
    tiled.Card_fill_chk = true;
    tiled.Card_fill_style = QStringLiteral("I");
    tiled.Card_BG_Image_Layout = QStringLiteral("Tile");
    tiled.Card_BG_Image = QImage(QDir(seed).filePath(QStringLiteral("LibraryImage/Balloons/Heart Balloon.png")))
                              .scaled(45, 45, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    Card_Property hearts;
    hearts.Card_fill_chk = true;
    hearts.Card_fill_style = QStringLiteral("H");
    hearts.Card_hatch_bk_clr = QColor(250, 225, 230);
    hearts.Card_hatch_style = QStringLiteral("Hearts");

    const struct
    {
        const char *name;
        QSizeF card;
        GraphicList elements;
        Card_Property background;
        int shape = 0;
    } designs[] = {
        {"bound Code 128 and QR Code",
         QSizeF(360, 252),
         {barcode("Code 128", 1, QRectF(20, 20, 200, 90)), barcode("QR Code", 2, QRectF(240, 20, 100, 100)),
          text(QStringLiteral("Table 12"), QRectF(20, 150, 200, 40))},
         Card_Property()},
        {"patterns on elements and a tiled picture",
         QSizeF(396, 306),
         {hatched("Stars", QRectF(13.3, 17.7, 150.2, 120.9), QStringLiteral("R")),
          hatched("Bricks", QRectF(181.6, 30.35, 170.5, 110), QStringLiteral("E")),
          hatched("Diamonds", QRectF(40.2, 160.4, 300, 120), QStringLiteral("RR"))},
         tiled},
        {"turned pictures with effects, hatch and text",
         QSizeF(432, 288),
         {text(QStringLiteral("Happy Birthday, Sarah!"), QRectF(30, 230, 360, 40)),
          picture(QRectF(40, 30, 150, 100), 30,
                  [](LMNImage &p) {
                      p.Sepia = true;
                      p.blr_val = 1.5f;
                  }),
          picture(QRectF(230, 40, 160, 110), -15,
                  [](LMNImage &p) {
                      p.srp_val = 1.0f;
                      p.hue_val = 60;
                      p._isFlippedHorizontally = true;
                      p.img_trnsp_val = 70;
                  }),
          hatched("Confetti", QRectF(20.5, 160.25, 390, 60), QStringLiteral("R"))},
         hearts,
         1},
    };
    for (const auto &d : designs) {
        CardSnapshot snapshot;
        snapshot.cardSize = d.card;
        snapshot.front = d.elements;
        snapshot.frontBackground = CardBackgroundPainter(d.background, d.shape, seed);
        snapshot.drawContext.resourcePath = seed;
        snapshot.table.titles = {QStringLiteral("#"), QStringLiteral("Code"), QStringLiteral("Link")};
        snapshot.table.appendRecord({QStringLiteral("FEST-2026-0042"), QStringLiteral("https://example.org/rsvp/42")}, 3);
        snapshot.useSpreadsheet = true;
        snapshot.spreadsheetRows = 1;
        EXPECT_LE(exportAgainstPrint(snapshot, 0, d.name), 0.01) << d.name;
    }
}
