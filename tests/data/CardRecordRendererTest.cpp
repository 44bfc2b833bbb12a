// The record-to-card road: which sources a design uses, the card count, the values each
// record puts into element clones, and the pictures workers make from one snapshot.

#include "DataTestSupport.h"
#include "support/BarcodeReader.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "data/CardRecordRenderer.h"
#include "data/DataBinding.h"
#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "data/PictureCache.h"
#include "document/DocumentGlobals.h"
#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNText.h"

#include <QPainter>

#include <thread>

using namespace DataTest;

namespace {

GraphicPtr element(GraphicKind kind, int source, const QString &series = {}, int column = 0,
                   const QRectF &bounds = QRectF(10, 10, 120, 30))
{
    GraphicPtr graphic = LMNGraphic::create(kind);
    graphic->setBounds(bounds);
    graphic->data_source_type = source;
    graphic->batch_list_name = series;
    graphic->excel_col_indx = column;
    return graphic;
}

class CardRecordRendererTest : public DataFolderTest
{
protected:
    static QStringList numbered(const QString &prefix, int count)
    {
        QStringList values;
        for (int i = 1; i <= count; ++i)
            values << prefix + QString::number(i);
        return values;
    }
    static void fillSpreadsheet(int rows)
    {
        SpreadsheetTable &table = SpreadsheetTable::live();
        table.titles = {"#", "Name", "Picture"};
        for (int r = 0; r < rows; ++r)
            table.appendRecord({QStringLiteral("Guest %1").arg(r + 1), QStringLiteral("p%1.png").arg(r + 1)}, 2);
    }
    CardSnapshot snapshotOf(const GraphicList &front, const GraphicList &back = {}, bool twoSided = false)
    {
        DataBinding::Check_Series_Or_Excel_Use_or_not(front, back, twoSided);
        CardSnapshot snapshot;
        snapshot.cardSize = QSizeF(243, 154);
        snapshot.cardSides = twoSided ? "2" : "1";
        snapshot.front = LMNRenderingView::snapshot(front);
        snapshot.back = LMNRenderingView::snapshot(back);
        DataBinding::copyBindingState(snapshot);
        return snapshot;
    }
};

TEST_F(CardRecordRendererTest, SourcesInUseAndCardCount)
{
    ASSERT_TRUE(DataSeries::writeValues("ten", numbered("v", 10), DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("forty", numbered("w", 40), DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("empty", {}, DataSeries::WriteMode::Replace));
    fillSpreadsheet(25);

    const GraphicPtr text = element(GraphicKind::Text, 1, "ten");
    const GraphicPtr picture = element(GraphicKind::Image, 2, {}, 2);
    const GraphicPtr row = element(GraphicKind::Text, 2, {}, 0);
    struct Case
    {
        const char *name;
        GraphicList front, back;
        bool twoSided;
        bool series, spreadsheet;
        int cards;
    };
    const Case cases[] = {
        {"series and column", {text, picture, row}, {}, false, true, true, 25},
        {"back of a one-sided card", {}, {element(GraphicKind::Text, 1, "forty")}, false, false, false, 0},
        {"back of a two-sided card", {text}, {element(GraphicKind::Text, 1, "forty")}, true, true, false, 40},
        {"empty series", {element(GraphicKind::Text, 1, "empty")}, {}, false, false, false, 0},
        {"other kinds", {element(GraphicKind::Line, 1, "forty"), element(GraphicKind::Shape, 2)}, {}, false, false, false, 0},
        {"missing series", {element(GraphicKind::Text, 1, "gone")}, {}, false, false, false, 0},
    };
    for (const Case &c : cases) {
        const CardSnapshot snapshot = snapshotOf(c.front, c.back, c.twoSided);
        EXPECT_EQ(Use_Data_Sheet_Values, c.series) << c.name;
        EXPECT_EQ(Use_Excel_Binding_Values, c.spreadsheet) << c.name;
        EXPECT_EQ(Total_Batch_Excel_Card, c.cards) << c.name;
        EXPECT_EQ(CardRecordRenderer(snapshot).cardCount(), c.cards) << c.name;
    }

    // The text runs out after ten records; the row-number column counts from 1.
    const CardRecordRenderer renderer(snapshotOf({text, picture, row}));
    for (const auto &[record, expectedText, expectedPath, expectedRow] :
         {std::tuple{0, "v1", "p1.png", "1"}, {9, "v10", "p10.png", "10"}, {10, "", "p11.png", "11"}, {24, "", "p25.png", "25"}}) {
        const GraphicList filled = renderer.filledSide(record, 0);
        ASSERT_EQ(filled.size(), 3);
        EXPECT_EQ(filled[0]->_Text_contents, expectedText) << record;
        EXPECT_EQ(filled[1]->_file_path, expectedPath) << record;
        EXPECT_EQ(filled[2]->_Text_contents, expectedRow) << record;
    }
    EXPECT_EQ(text->_Text_contents, LMNGraphic::create(GraphicKind::Text)->_Text_contents)
        << "the design's own elements are never filled";

    // Switching the spreadsheet off leaves the series' ten cards.
    Use_Excel_Binding_Values = false;
    DataBinding::Get_total_Card_count();
    EXPECT_EQ(Total_Batch_Excel_Card, 10);
}

TEST_F(CardRecordRendererTest, SeriesFoundByNameWhateverTheStoredIndex)
{
    ASSERT_TRUE(DataSeries::writeValues("alpha", {"a1", "a2"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("beta", {"b1", "b2"}, DataSeries::WriteMode::Replace));
    DataTest::writeFile(path("x.txt"), "secret\n");
    struct Case
    {
        QString name;
        int storedIndex;
        QString value;
    };
    const Case cases[] = {
        {"beta", 0, "b2"},           // a series was added before it since binding
        {"alpha", 7, "a2"},          // a series was removed
        {"beta", -3, "b2"},
        {"../x", 0, ""},             // not a series name: nothing outside the data folder
        {"gone", 1, ""},
    };
    for (const Case &c : cases) {
        const GraphicPtr text = element(GraphicKind::Text, 1, c.name);
        text->batch_list_index = c.storedIndex;
        const GraphicPtr anchor = element(GraphicKind::Text, 1, "alpha");
        const CardRecordRenderer renderer(snapshotOf({text, anchor}));
        EXPECT_EQ(renderer.filledSide(1, 0).at(0)->_Text_contents, c.value) << c.name.toStdString();
        if (!c.value.isEmpty()) {
            EXPECT_EQ(text->batch_list_index, c.name == "alpha" ? 0 : 1) << "the stored index is brought up to date";
        }
    }
}

TEST_F(CardRecordRendererTest, EachBarcodeKeepsItsOwnSettingsAndReadsItsRecord)
{
    ASSERT_TRUE(DataSeries::writeValues("codes", {"FEST-001", "FEST-002", "FEST-003"}, DataSeries::WriteMode::Replace));
    fillSpreadsheet(3);
    const GraphicPtr first = element(GraphicKind::Barcode, 1, "codes", 0, QRectF(10, 10, 100, 40));
    // Each element designed with its own symbology.
    auto design = [](LMNGraphic &barcode, const char *title) {
        BarcodeElementSettings settings;
        settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(title));
        settings.linear_or_2d = BarcodeLists::isTwoDimensional(title) ? 1 : 0;
        settings.applyTo(barcode);
    };
    design(*first, "Code 128");
    const GraphicPtr second = element(GraphicKind::Barcode, 2, {}, 0, QRectF(10, 80, 100, 40));
    design(*second, "QR Code");
    const CardRecordRenderer renderer(snapshotOf({first, second}));
    for (int record = 0; record < 3; ++record) {
        const GraphicList filled = renderer.filledSide(record, 0);
        ASSERT_EQ(filled.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const auto format = i == 0 ? ZXing::BarcodeFormat::Code128 : ZXing::BarcodeFormat::QRCode;
            const std::string expected = i == 0 ? QStringLiteral("FEST-00%1").arg(record + 1).toStdString()
                                                : std::to_string(record + 1);
            EXPECT_EQ(BarcodeReader::readOn(filled[i]->_barcode_image, format, 50).text, expected) << "record " << record << " element " << i;
        }
    }
    // A value the symbology cannot encode: no card, and the reason.
    design(*second, "EAN-13");
    QString failure;
    EXPECT_TRUE(CardRecordRenderer(snapshotOf({first, second})).cardImage(0, 0, 0, 72, &failure).isNull());
    EXPECT_FALSE(failure.isEmpty());
}

TEST_F(CardRecordRendererTest, WorkerPicturesEqualTheDesignWithTheValuesTyped)
{
    ASSERT_TRUE(DataSeries::writeValues("names", {"Ann", "Bob", "Cyd", "Dee"}, DataSeries::WriteMode::Replace));
    // Stripes finer than the element at 72 dpi: a picture decoded at less than the card's
    // resolution and enlarged would blur them.
    QImage photo(300, 200, QImage::Format_RGB32);
    for (int x = 0; x < photo.width(); ++x)
        for (int y = 0; y < photo.height(); ++y)
            photo.setPixel(x, y, x / 5 % 2 ? qRgb(0, 139, 139) : qRgb(250, 240, 160));
    const QString photoPath = path("photo.png");
    ASSERT_TRUE(photo.save(photoPath));
    ASSERT_TRUE(DataSeries::writeValues("photos", {photoPath, "", photoPath, path("none.png")},
                                        DataSeries::WriteMode::Replace));
    const GraphicPtr text = element(GraphicKind::Text, 1, "names");
    const GraphicPtr picture = element(GraphicKind::Image, 1, "photos", 0, QRectF(150, 60, 60, 40));
    CardSnapshot snapshot = snapshotOf({text, picture});
    snapshot.frontBackground = [](QPainter &painter, const QRectF &card, const QRectF &) {
        painter.fillRect(card, QColor(250, 230, 200));
    };
    const CardRecordRenderer renderer(snapshot);

    const QStringList names{"Ann", "Bob", "Cyd", "Dee"};
    QList<QImage> pictures(4);
    std::vector<std::thread> workers;
    for (int record = 0; record < 4; ++record)
        workers.emplace_back([&, record] { pictures[record] = renderer.cardImage(record, 0, 0, 150); });
    for (std::thread &worker : workers)
        worker.join();

    for (int record = 0; record < 4; ++record) {
        const GraphicPtr typedText = text->clone();
        typedText->setText(names[record]);
        const GraphicPtr typedPicture = picture->clone();
        static_cast<LMNImage &>(*typedPicture).setFilePath(record % 2 == 0 ? photoPath : QString());
        LMNRenderingView view(snapshot.cardSize, snapshot.frontBackground);
        view.setResolution(150);
        const QImage expected = view.image_From_Card_Graphics({typedText, typedPicture}, 0);
        ASSERT_FALSE(pictures[record].isNull());
        ASSERT_EQ(pictures[record].size(), expected.size());
        // The picture is decoded straight at its drawn size rather than scaled from the whole
        // photo: the same stripes, each pixel within a rounding of the other's.
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                differing += !TestHelpers::near(pictures[record].pixel(x, y), QColor::fromRgba(expected.pixel(x, y)), 24);
        EXPECT_EQ(differing, 0) << "record " << record;
    }
    QStringList missing;
    QString failure;
    EXPECT_FALSE(renderer.cardImage(3, 0, 0, 72, &failure, &missing).isNull());
    EXPECT_EQ(missing, QStringList{path("none.png")});
}

// Over its budget the cache forgets the pictures used longest ago, and never keeps one larger
// than the whole budget.
TEST(PictureCache, OverItsBudgetForgetsTheLeastRecentlyUsed)
{
    QImage picture(100, 100, QImage::Format_ARGB32);   // 40,000 bytes
    PictureCache cache(3 * picture.sizeInBytes());
    QImage found;
    for (const char *key : {"a", "b", "c"})
        cache.store(key, picture.copy());
    ASSERT_TRUE(cache.find("a", &found));   // "b" is now the least recently used
    cache.store("d", picture.copy());
    EXPECT_FALSE(cache.find("b", &found));
    for (const char *key : {"a", "c", "d"})
        EXPECT_TRUE(cache.find(key, &found)) << key;
    EXPECT_EQ(cache.bytes(), 3 * picture.sizeInBytes());
    cache.store("huge", QImage(200, 200, QImage::Format_ARGB32));
    EXPECT_FALSE(cache.find("huge", &found));
    EXPECT_EQ(cache.count(), 3);
}

} // namespace
