// Pages of the print view, read back by pixels from the PDF poppler draws: which record sits
// in which cell, how many sheets a run has, and that every pass starts again at card 0.

#include "PrintTestSupport.h"
#include "barcode/linear/LinearTestSupport.h"

#include "data/DataBinding.h"
#include "data/DataSeries.h"
#include "document/DocumentGlobals.h"

#include "document/LMNText.h"
#include "output/RecordCardSource.h"
#include "output/Printing_View.h"

#include <QPdfWriter>

namespace {

// 2 x 2 cells of 120 x 80 cards (140 x 100 for both sides beside each other) on A4, no margins.
SheetLayout sheet(const QString &side = QStringLiteral("F"), const QString &algn = QStringLiteral("U"))
{
    SheetLayout l;
    l.paper = QSizeF(595, 842);
    l.W = side == QLatin1String("BOTH") && algn == QLatin1String("L") ? 240 : 120;
    l.H = side == QLatin1String("BOTH") && algn == QLatin1String("U") ? 160 : 80;
    l.gh = l.gv = 10;
    l.rows = l.cols = 2;
    l.side = side;
    l.algn = algn;
    return l;
}

struct Run
{
    QTemporaryDir dir;
    QString pdf;
    Printing_View::Pass pass;
    int pages = 0;
};

std::unique_ptr<Run> print(Printing_View &view, const QString &name = QStringLiteral("sheets.pdf"))
{
    auto run = std::make_unique<Run>();
    run->pdf = QDir(run->dir.path()).filePath(name);
    QPdfWriter writer(run->pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    run->pass = view.paint(writer);
    run->pages = view.numberOfPages();
    return run;
}

// The record (or -1 for a white cell) of side `side` in each cell of `page`, row by row.
std::vector<int> records(const QString &pdf, int page, const SheetLayout &layout, int side = 0)
{
    const QImage image = pdfPage(pdf, page);
    std::vector<int> found;
    for (int r = 1; r <= layout.rows; ++r)
        for (int c = 1; c <= layout.cols; ++c) {
            const SheetLayout::Cell cell = layout.cell(r, c, QSizeF(120, 80));
            const QRectF rect = side && layout.bothSides() ? cell.back : cell.front;
            const auto [record, drawnSide] = ColourCards::decode(image.pixel(rect.center().toPoint()));
            found.push_back(drawnSide == side || record < 0 ? record : -2);
        }
    return found;
}

} // namespace

TEST(PrintingViewTest, RecordsFillTheCellsRowByRowSheetAfterSheet)
{
    struct Case
    {
        const char *name;
        SheetLayout layout;
        int records, total;
        QSet<int> failing;
        int side;
        std::vector<std::vector<int>> pages;   // record per cell, -1 white
        int skipped;
    };
    const Case cases[] = {
        // Without records every cell shows the design's card (record 0's colour).
        {"7 cards on 2 x 2", sheet(), 0, 7, {}, 0, {{0, 0, 0, 0}, {0, 0, 0, -1}}, 0},
        {"10 records, total 12", sheet(), 10, 12, {}, 0, {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, -1, -1}}, 0},
        {"total 3", sheet(), 10, 3, {}, 0, {{0, 1, 2, -1}}, 0},
        {"back side only", sheet(QStringLiteral("B")), 10, 4, {}, 1, {{0, 1, 2, 3}}, 0},
        {"both sides beside each other, backs", sheet(QStringLiteral("BOTH"), QStringLiteral("L")), 10, 4, {}, 1,
         {{0, 1, 2, 3}}, 0},
        {"both sides above each other, fronts", sheet(QStringLiteral("BOTH"), QStringLiteral("U")), 10, 4, {}, 0,
         {{0, 1, 2, 3}}, 0},
        // A record whose card cannot be made is skipped like a used-up one, never replaced.
        {"records 1 and 2 cannot be made", sheet(), 6, 6, {1, 2}, 0, {{0, 3, 4, 5}, {-1, -1, -1, -1}}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Printing_View view(c.layout, std::make_shared<ColourCards>(c.records, QSizeF(120, 80), c.failing), c.total,
                           false);
        const auto run = print(view);
        ASSERT_TRUE(run->pass.ended);
        EXPECT_EQ(pdfPages(run->pdf), int(c.pages.size()));
        EXPECT_EQ(run->pass.recordsSkipped, c.skipped);
        EXPECT_EQ(run->pass.failures.size(), c.skipped);
        for (size_t p = 0; p < c.pages.size(); ++p)
            EXPECT_EQ(records(run->pdf, int(p) + 1, c.layout, c.side), c.pages[p]) << "page " << p + 1;
    }
}

TEST(PrintingViewTest, EveryPassStartsAtCardZero)
{
    Printing_View view(sheet(), std::make_shared<ColourCards>(9), 9, false);
    const auto first = print(view, QStringLiteral("first.pdf"));
    const auto second = print(view, QStringLiteral("second.pdf"));
    ASSERT_EQ(pdfPages(first->pdf), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(pdfPage(first->pdf, page), pdfPage(second->pdf, page)) << "page " << page;
    EXPECT_EQ(records(second->pdf, 1, sheet()), (std::vector<int>{0, 1, 2, 3}));
}

TEST(PrintingViewTest, PreviewStopsAtFiftySheetsAndPrintKeepsThemAll)
{
    const int total = 51 * 4;
    Printing_View preview(sheet(), std::make_shared<ColourCards>(0), total, true);
    int first = 1, last = 0;
    EXPECT_TRUE(preview.knowsPageRange(first, last));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, Printing_View::kPreviewSheetLimit);
    EXPECT_TRUE(preview.previewLimited());

    Printing_View printing(sheet(), std::make_shared<ColourCards>(0), total, false);
    EXPECT_EQ(printing.numberOfPages(), 51);
    EXPECT_FALSE(printing.previewLimited());
    const auto run = print(printing);
    EXPECT_EQ(pdfPages(run->pdf), 51);
    EXPECT_EQ(run->pass.cardsDrawn, total);
}

TEST(PrintingViewTest, StoppingAbortsBeforeTheNextSheet)
{
    Printing_View view(sheet(), std::make_shared<ColourCards>(0), 12, false);
    QTemporaryDir dir;
    QPdfWriter writer(QDir(dir.path()).filePath(QStringLiteral("stopped.pdf")));
    int aborted = 0;
    Printing_View::Options options;
    options.carryOn = [](int sheet) { return sheet < 1; };
    options.abort = [&aborted] { ++aborted; };
    const Printing_View::Pass pass = view.paint(writer, options);
    EXPECT_TRUE(pass.stopped);
    EXPECT_EQ(pass.sheets, 1);
    EXPECT_EQ(aborted, 1);
}

TEST(PrintingViewTest, TheDesignsOwnCardIsPrintedAsVectorsWithoutNonPrintingElements)
{
    auto text = std::make_shared<LMNText>();
    text->setText(QStringLiteral("Happy Birthday"));
    text->setBounds(QRectF(10, 10, 160, 30));
    auto hidden = std::make_shared<LMNText>();
    hidden->setText(QStringLiteral("Guide line"));
    hidden->setBounds(QRectF(10, 40, 160, 30));
    hidden->print_object = 1;
    CardSnapshot design;
    design.cardSize = QSizeF(200, 100);
    design.front = {text, hidden};
    SheetLayout layout = sheet();
    layout.W = 200;
    layout.H = 100;
    Printing_View view(layout, std::make_shared<RecordCardSource>(design), 3, false);
    const auto run = print(view);
    const QString words =
        QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdftotext"), {run->pdf, QStringLiteral("-")}));
    EXPECT_EQ(words.count(QStringLiteral("Happy Birthday")), 3);
    EXPECT_FALSE(words.contains(QStringLiteral("Guide line")));
    // No picture in the page: the cards are drawn, not pasted as bitmaps.
    const QString images =
        QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdfimages"), {QStringLiteral("-list"), run->pdf}));
    EXPECT_EQ(images.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2) << images.toStdString();
}

TEST(PrintingViewTest, SeriesBoundBarcodesSayWhichRecordSitsWhere)
{
    QTemporaryDir folder;
    Resource_Path = folder.path();
    Data_Folder_Path = QDir(folder.path()).filePath(QStringLiteral("DataSet"));
    QDir().mkpath(Data_Folder_Path);
    QStringList codes;
    for (int i = 1; i <= 6; ++i)
        codes << QStringLiteral("R%1").arg(i);
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("codes"), codes, DataSeries::WriteMode::Replace));
    const GraphicList front{seriesBarcode(QStringLiteral("codes"), QRectF(10, 10, 100, 50))};
    DataBinding::Check_Series_Or_Excel_Use_or_not(front, {}, false);
    CardSnapshot snapshot;
    snapshot.cardSize = QSizeF(120, 80);
    snapshot.front = LMNRenderingView::snapshot(front);
    DataBinding::copyBindingState(snapshot);
    const SheetLayout layout = sheet();
    Printing_View view(layout, std::make_shared<RecordCardSource>(snapshot), 7, false);
    const auto run = print(view);
    ASSERT_EQ(pdfPages(run->pdf), 2);
    for (int page = 1; page <= 2; ++page) {
        const QImage image = pdfPage(run->pdf, page, 216);
        for (int cell = 0; cell < 4; ++cell) {
            const QRectF at = layout.cell(cell / 2 + 1, cell % 2 + 1, QSizeF(120, 80)).front;
            const QImage card = image.copy(QRectF(at.topLeft() * 3, at.size() * 3).toRect());
            const int record = (page - 1) * 4 + cell;
            EXPECT_EQ(LinearTest::read(card, ZXing::BarcodeFormat::Code128),
                      record < 6 ? codes[record].toStdString() : std::string())
                << "page " << page << " cell " << cell;
        }
    }
    Resource_Path.clear();
    Data_Folder_Path.clear();
}
