// Printing: the sheet arithmetic against worked examples (the fit rule, where cells and cards
// lie, in Qt's top-left coordinates of an A4 sheet of 595 x 842 points); pages of the print
// view read back by pixels from the PDF poppler draws (which record sits in which cell, how
// many sheets a run has, every pass starting again at card 0); and the print setup window
// through its real controls, every modal step answered by the seam. No CUPS here: the printer
// writes PDF files into the test's folder (the queue is tested in CupsPrintTest).
// Runs worker threads: also run under ThreadSanitizer (scripts/build.sh tsan).

#include "PrintTestSupport.h"

#include "data/DataBinding.h"
#include "data/DataSeries.h"
#include "document/DocumentGlobals.h"
#include "document/LMNText.h"
#include "editor/EditorWindowFixture.h"
#include "output/Printing_View.h"
#include "output/RecordCardSource.h"
#include "output/ui/PrintCommands.h"
#include "output/ui/PageSetupWindow.h"
#include "output/ui/Print_Wnd.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace {

SheetLayout a4(float margin, float W, float H, int rows, int cols)
{
    SheetLayout l;
    l.paper = QSizeF(595, 842);
    l.L = l.R = l.T = l.B = margin;
    l.W = W;
    l.H = H;
    l.rows = rows;
    l.cols = cols;
    return l;
}

// 2 x 2 cells of 120 x 80 cards (140 x 100 for both sides beside each other) on A4, no margins.
SheetLayout sheet(const QString &side = QStringLiteral("F"), const QString &algn = QStringLiteral("U"))
{
    const bool both = side == QLatin1String("BOTH");
    SheetLayout l = a4(0, both && algn == QLatin1String("L") ? 240 : 120, both && algn == QLatin1String("U") ? 160 : 80, 2, 2);
    l.gh = l.gv = 10;
    l.side = side;
    l.algn = algn;
    return l;
}

struct Run
{
    QTemporaryDir dir;
    QString pdf;
    Printing_View::Pass pass;
};

std::unique_ptr<Run> print(Printing_View &view, const QString &name = QStringLiteral("sheets.pdf"))
{
    auto run = std::make_unique<Run>();
    run->pdf = QDir(run->dir.path()).filePath(name);
    QPdfWriter writer(run->pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    run->pass = view.paint(writer);
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

TEST(SheetLayoutTest, FitRuleWorkedExamples)
{
    struct FitCase
    {
        const char *name;
        SheetLayout request;
        int cols, rows;
        float W, H, gh;
    };
    auto with = [](SheetLayout l, auto change) { change(l); return l; };
    const SheetLayout card = a4(0, 243, 154, 1, 2);
    const FitCase cases[] = {
        {"five columns fall to floor(595 / 243)", with(card, [](SheetLayout &l) { l.cols = 5; }), 2, 1, 243, 154, 0},
        {"two columns fit", card, 2, 1, 243, 154, 0},
        {"auto-centre shares the free width", with(card, [](SheetLayout &l) { l.autoCenter = true; }), 2, 1, 243, 154,
         (595.0f - 486.0f) / 3},
        {"auto-centre: three fall to two, gap 0",
         with(card, [](SheetLayout &l) { l.autoCenter = true; l.cols = 3; }), 2, 1, 243, 154, 0},
        {"free width exactly 0 is recomputed and kept",
         with(card, [](SheetLayout &l) { l.paper = QSizeF(486, 842); }), 2, 1, 243, 154, 0},
        {"both sides above each other double the height",
         with(card, [](SheetLayout &l) { l.side = "BOTH"; l.algn = "U"; l.cols = 1; }), 1, 1, 243, 308, 0},
        {"both sides beside each other double the width",
         with(card, [](SheetLayout &l) { l.side = "BOTH"; l.algn = "L"; l.cols = 3; }), 1, 1, 486, 154, 0},
        {"a card of width 0 leaves one column",
         with(card, [](SheetLayout &l) { l.W = 0; l.L = l.R = 300; l.cols = 4; }), 1, 1, 0, 154, 0},
        // A typed gap counts: 3 x 190 + 2 x 20 runs past 595, and (595 + 20) / 210 leaves two; the same
        // down the sheet with 270-point cards and 20-point gaps. A gap that fits keeps the count.
        {"typed gaps take a column and a row away",
         with(card, [](SheetLayout &l) { l.W = 190; l.H = 270; l.cols = l.rows = 3; l.gh = l.gv = 20; }), 2, 2, 190,
         270, 20},
        {"a typed gap that fits keeps the columns",
         with(card, [](SheetLayout &l) { l.W = 190; l.cols = 3; l.gh = 5; }), 3, 1, 190, 154, 5},
        {"auto-centre with width 0 and no room leaves one column",
         with(card, [](SheetLayout &l) { l.W = 0; l.L = l.R = 300; l.cols = 4; l.autoCenter = true; }), 1, 1, 0,
         154, 0},
    };
    for (const FitCase &c : cases) {
        SCOPED_TRACE(c.name);
        const SheetLayout fit = c.request.fitted();
        EXPECT_EQ(fit.cols, c.cols);
        EXPECT_EQ(fit.rows, c.rows);
        EXPECT_FLOAT_EQ(fit.W, c.W);
        EXPECT_FLOAT_EQ(fit.H, c.H);
        EXPECT_NEAR(fit.gh, c.gh, 1e-3);
    }
}

TEST(SheetLayoutTest, CellsAndCardsOfTheWorkedExamples)
{
    struct Case
    {
        const char *name;
        SheetLayout layout;
        QSizeF card;
        int row, column;
        QRectF cell, front, back;
    };
    SheetLayout position1 = a4(18, 243, 154, 2, 2);
    SheetLayout position5 = position1;
    position5.align = 5;
    SheetLayout centred = position1;
    centred.autoCenter = true;
    centred = centred.fitted();
    const float gh = (559.0f - 486.0f) / 3, gv = (806.0f - 308.0f) / 3;
    SheetLayout bothU = a4(18, 243, 154, 2, 2);
    bothU.side = "BOTH";
    SheetLayout bothUTall = bothU;
    bothUTall.H = 200;
    SheetLayout bothL = a4(0, 300, 100, 1, 1);
    bothL.side = "BOTH";
    bothL.algn = "L";

    const Case cases[] = {
        // Bottom-left row 1 at y 670 and row 2 at 516: top edges 18 and 172.
        {"position 1, first cell", position1, {243, 154}, 1, 1, {18, 18, 243, 154}, {18, 18, 243, 154}, {}},
        {"position 1, row 2 column 2", position1, {243, 154}, 2, 2, {261, 172, 243, 154}, {261, 172, 243, 154}, {}},
        // Column 1 at 18 + 36.5, row 1 at y 421 (top 267).
        {"position 5", position5, {243, 154}, 1, 1, {54.5, 267, 243, 154}, {54.5, 267, 243, 154}, {}},
        // Column 1 at 18 + gh, row 1 at y = 18 + 2 gv + 154.
        {"auto-centre", centred, {243, 154}, 1, 1, {18 + gh, 842 - (18 + 2 * gv + 154) - 154, 243, 154},
         {18 + gh, 842 - (18 + 2 * gv + 154) - 154, 243, 154}, {}},
        {"auto-centre, column 2", centred, {243, 154}, 1, 2, {18 + 2 * gh + 243, 842 - (18 + 2 * gv + 154) - 154, 243, 154},
         {18 + 2 * gh + 243, 842 - (18 + 2 * gv + 154) - 154, 243, 154}, {}},
        // Both sides "U", the cell exactly two cards high: front upper half, back lower half.
        {"both sides U", bothU, {243, 77}, 1, 1, {18, 18, 243, 154}, {18, 18, 243, 77}, {18, 95, 243, 77}},
        // A taller cell: the pair stays at the top, the spare height below the back.
        {"both sides U, taller cell", bothUTall, {243, 77}, 1, 1, {18, 18, 243, 200}, {18, 18, 243, 77},
         {18, 95, 243, 77}},
        // Both sides "L": the pair centred in the cell, the back right of the front.
        {"both sides L", bothL, {120, 80}, 1, 1, {0, 0, 300, 100}, {30, 10, 120, 80}, {150, 10, 120, 80}},
    };
    auto near = [](const QRectF &a, const QRectF &b) {
        return std::abs(a.x() - b.x()) < 1e-3 && std::abs(a.y() - b.y()) < 1e-3
               && std::abs(a.width() - b.width()) < 1e-3 && std::abs(a.height() - b.height()) < 1e-3;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const SheetLayout::Cell cell = c.layout.cell(c.row, c.column, c.card);
        EXPECT_TRUE(near(cell.cell, c.cell)) << cell.cell.x() << "," << cell.cell.y();
        EXPECT_TRUE(near(cell.front, c.front)) << cell.front.x() << "," << cell.front.y();
        EXPECT_TRUE(near(cell.back, c.back)) << cell.back.x() << "," << cell.back.y();
        EXPECT_EQ(cell.number, (c.row - 1) * c.layout.cols + c.column);
    }
}

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

// The preview's limit of 50 sheets is checked through the print window's preview.
TEST(PrintingViewTest, PrintingKeepsEverySheetPastThePreviewLimit)
{
    Printing_View printing(sheet(), std::make_shared<ColourCards>(0), 51 * 4, false);
    const auto run = print(printing);
    EXPECT_EQ(pdfPages(run->pdf), 51);
    EXPECT_EQ(run->pass.cardsDrawn, 51 * 4);
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
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("codes"), {"R1", "R2", "R3", "R4", "R5", "R6"},
                                        DataSeries::WriteMode::Replace));
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
    EXPECT_EQ(cellCodes(run->pdf, 1, layout, QSizeF(120, 80)), (std::vector<std::string>{"R1", "R2", "R3", "R4"}));
    EXPECT_EQ(cellCodes(run->pdf, 2, layout, QSizeF(120, 80)), (std::vector<std::string>{"R5", "R6", "", ""}));
    Resource_Path.clear();
    Data_Folder_Path.clear();
}

TEST(PrintingViewTest, WithoutACardEveryCellSaysInvalidData)
{
    const SheetLayout layout = a4(0, 120, 80, 2, 2);
    Printing_View view(layout, std::make_shared<ColourCards>(0, QSizeF()), 4, false);
    QImage page(595, 842, QImage::Format_RGB32);
    QPainter painter(&page);
    Printing_View::Cursor cursor;
    Printing_View::Pass pass;
    view.drawPage(painter, cursor, pass);
    painter.end();
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c) {
            const QRect cell = layout.cell(r, c, QSizeF()).part.toRect();
            int red = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                for (int x = cell.left(); x <= cell.right(); ++x)
                    red += qRed(page.pixel(x, y)) > 200 && qGreen(page.pixel(x, y)) < 100;
            EXPECT_GT(red, 10) << r << "," << c;
        }
    EXPECT_EQ(cursor.consumed, 4);
}

namespace {

// A CUPS server that is not there: the printer list comes back empty at once.
const bool kNoCups = qputenv("CUPS_SERVER", "/nonexistent/festiloom-no-cups.sock");

class PrintWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wnd = Print_Wnd::defaultInstance();
        wnd->printInfo()->setOutputFormat(QPrinter::PdfFormat);
        wnd->printInfo()->setOutputFileName(pdf());
        wnd->printInfo()->setPageSize(QPageSize(QPageSize::A4));
        wnd->printInfo()->setPageOrientation(QPageLayout::Portrait);
    }

    QString pdf() const { return QDir(dir.path()).filePath(QStringLiteral("sheets.pdf")); }

    // Opens the window on `design` and runs `work` while it is up.
    void open(const std::function<void(Print_Wnd *)> &work)
    {
        seam.onDialog([work](QDialog *dialog) {
            auto *w = qobject_cast<Print_Wnd *>(dialog);
            EXPECT_NE(w, nullptr);
            if (w)
                work(w);
            return 0;
        });
        Print_Wnd::defaultInstance()->Open_Print_Wnd(design);
    }

    static bool shown(const ScriptedModalSeam &seam, const QString &text)
    {
        for (const QString &m : seam.messageTexts())
            if (m.trimmed() == text)
                return true;
        return false;
    }

    QTemporaryDir dir;
    ScriptedModalSeam seam;
    FakePrintDesign design;
    Print_Wnd *wnd = nullptr;
};

} // namespace

TEST_F(PrintWndTest, ReopeningResetsEverythingButPrinterPaperAndOrientation)
{
    open([](Print_Wnd *w) {
        w->ui.side_both_rb->click();
        w->ui.print_alignment->setCurrentIndex(1);
        w->ui.Row_Text->setValue(3);
        w->ui.Auto_Center_chk_bx->click();
        w->ui.Show_Margins->click();
        w->ui.Orient_ComboBox->setCurrentIndex(1);
        EXPECT_EQ(w->printInfo()->pageLayout().orientation(), QPageLayout::Landscape);
    });
    open([](Print_Wnd *w) {
        EXPECT_TRUE(w->ui.side_front_rb->isChecked());
        EXPECT_EQ(w->sheet().side, "F");
        EXPECT_EQ(w->sheet().algn, "U");
        EXPECT_FALSE(w->ui.print_alignment->isEnabled());
        EXPECT_EQ(w->ui.Row_Text->value(), 1);
        EXPECT_EQ(w->ui.Col_Text->value(), 1);
        EXPECT_FALSE(w->ui.Auto_Center_chk_bx->isChecked());
        EXPECT_TRUE(w->ui.horz_mar_Text->isEnabled());
        EXPECT_TRUE(w->ui.align_Gp_Bx->isEnabled());
        EXPECT_TRUE(w->ui.top_left_btn->isChecked());
        EXPECT_TRUE(w->ui.Show_Margins->isChecked());
        EXPECT_NEAR(w->ui.width_Text->value(), 120 * 0.3527777777778, 0.01);
        // The print info survives: landscape A4.
        EXPECT_EQ(w->ui.Orient_ComboBox->currentIndex(), 1);
        EXPECT_EQ(w->ui.Size_id->text(), "297.04 x 209.90");
    });
}

TEST_F(PrintWndTest, ControlsFollowTheLayoutRules)
{
    open([](Print_Wnd *w) {
        // Auto-centre greys the gaps and the placement.
        w->ui.Auto_Center_chk_bx->click();
        EXPECT_FALSE(w->ui.horz_mar_Text->isEnabled());
        EXPECT_FALSE(w->ui.vert_mar_Text->isEnabled());
        EXPECT_FALSE(w->ui.align_Gp_Bx->isEnabled());
        w->ui.Auto_Center_chk_bx->click();
        EXPECT_TRUE(w->ui.align_Gp_Bx->isEnabled());

        // The arrangement list only for both sides; both sides double the cell.
        w->ui.side_both_rb->click();
        EXPECT_TRUE(w->ui.print_alignment->isEnabled());
        EXPECT_NEAR(w->sheet().H, 160, 0.05);
        w->ui.side_back_rb->click();
        EXPECT_FALSE(w->ui.print_alignment->isEnabled());
        EXPECT_EQ(w->sheet().side, "B");

        // Without records the total follows rows x columns; more columns than fit are cut.
        w->ui.Row_Text->setValue(3);
        w->ui.Col_Text->setValue(9);
        EXPECT_EQ(w->ui.Col_Text->value(), 4);   // floor(595 / 120 ...) with no gaps
        EXPECT_EQ(w->ui.Total_Text->value(), 12);

        // A width of 0 typed is held by the range.
        w->ui.width_Text->clear();
        QTest::keyClicks(w->ui.width_Text, "0");
        QTest::keyClick(w->ui.width_Text, Qt::Key_Return);
        EXPECT_GE(w->ui.width_Text->value(), 1.0);

        // The placement buttons: one selected at a time.
        QTest::mouseClick(w->ui.mid_center_btn, Qt::LeftButton);
        EXPECT_EQ(w->sheet().align, 5);
        EXPECT_TRUE(w->ui.mid_center_btn->isChecked());
        EXPECT_FALSE(w->ui.top_left_btn->isChecked());
    });
}

TEST_F(PrintWndTest, WithRecordsTheTotalIsTheRecordCount)
{
    design.sources.series = true;
    design.sources.seriesRows = 10;
    open([](Print_Wnd *w) {
        EXPECT_TRUE(w->ui.print_with_batch_chk->isChecked());
        EXPECT_FALSE(w->ui.print_with_excel_chk->isEnabled());
        EXPECT_EQ(w->ui.Total_Text->value(), 10);
        w->ui.Row_Text->setValue(2);
        w->ui.Col_Text->setValue(2);
        EXPECT_EQ(w->ui.Total_Text->value(), 10);
        w->ui.Total_Text->setValue(12);   // more cards than records: the surplus stays empty
        EXPECT_EQ(w->ui.Total_Text->value(), 12);
        // Unticking the only data box prints the plain card once.
        QTest::mouseClick(w->ui.print_with_batch_chk, Qt::LeftButton);
        EXPECT_EQ(w->ui.Total_Text->value(), 1);
    });
}

TEST_F(PrintWndTest, SizeQuestionAndEmptyTotalStopThePrint)
{
    seam.answerMessages({"No", "Yes"});
    open([this](Print_Wnd *w) {
        w->ui.width_Text->setValue(250);   // wider than A4
        QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton);
        EXPECT_FALSE(QFile::exists(pdf()));
        QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton);
        EXPECT_TRUE(QFile::exists(pdf()));

        w->ui.width_Text->setValue(50);
        w->ui.Total_Text->setValue(0);
        QTest::mouseClick(w->ui.Preview_btn, Qt::LeftButton);
    });
    const QStringList texts = seam.messageTexts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0], "'Card Size' is bigger than selected 'Paper Size' or drawn label may be out of margin "
                        "area.\n\nDo you want to continue?");
    EXPECT_EQ(texts[1], texts[0]);
    EXPECT_TRUE(shown(seam, "There is no barcode to print."));
    EXPECT_EQ(seam.dialogsRun.size(), 1);   // no preview opened
}

TEST_F(PrintWndTest, PreviewShowsFiftySheetsAndPaintsTheSameOnEveryPass)
{
    int pages = 0, pagesAgain = 0;
    open([&](Print_Wnd *w) {
        w->ui.Row_Text->setValue(2);
        w->ui.Col_Text->setValue(2);
        w->ui.Total_Text->setValue(51 * 4);
        seam.onDialog([&](QDialog *dialog) {
            auto *preview = dialog->findChild<QPrintPreviewWidget *>();
            EXPECT_NE(preview, nullptr);
            if (!preview)
                return 0;
            for (QAction *action : dialog->findChildren<QAction *>())
                EXPECT_FALSE(action->isVisible() && action->text().remove('&') == "Print");
            preview->updatePreview();
            pages = preview->pageCount();
            preview->updatePreview();
            pagesAgain = preview->pageCount();
            return 0;
        });
        QTest::mouseClick(w->ui.Preview_btn, Qt::LeftButton);
        EXPECT_EQ(w->lastPass().cardsDrawn, 50 * 4);
    });
    EXPECT_TRUE(shown(seam, "For Qualitative and Performance reason, previewer shows print previews of only first 50 "
                            "sheets. However, printing has no such restriction."));
    EXPECT_EQ(pages, 50);
    EXPECT_EQ(pagesAgain, 50);
}

TEST_F(PrintWndTest, SheetPreviewNumbersEveryCell)
{
    open([](Print_Wnd *w) {
        w->ui.Row_Text->setValue(2);
        w->ui.Col_Text->setValue(2);
        w->ui.Total_Text->setValue(1);   // a smaller total still shows every cell
        const QImage sheet = w->ui.PrintView->imageRepresentation();
        ASSERT_FALSE(sheet.isNull());
        EXPECT_FALSE(w->ui.test_image_view->pixmap().isNull());
        const SheetLayout layout = w->sheetLayout();
        QList<QImage> labels;
        for (int r = 1; r <= 2; ++r)
            for (int c = 1; c <= 2; ++c) {
                const QRect cell = layout.cell(r, c, w->cardSizePoints()).part.toRect().adjusted(2, 2, -2, -2);
                EXPECT_GT(TestHelpers::countPixelsDifferent(sheet, Qt::white, cell), 20) << r << "," << c;
                labels.append(sheet.copy(cell));
            }
        // "Card 1" ... "Card 4": no two labels alike.
        for (int i = 0; i < labels.size(); ++i)
            for (int j = i + 1; j < labels.size(); ++j)
                EXPECT_NE(labels[i], labels[j]);
        // Outlines off: only the labels remain.
        const QRect border = layout.cell(1, 1, w->cardSizePoints()).part.toRect();
        const QRect edge(border.left(), border.top() + border.height() / 4, 1, border.height() / 2);
        EXPECT_GT(TestHelpers::countPixelsDifferent(sheet, Qt::white, edge), 0);
        QTest::mouseClick(w->ui.Show_Margins, Qt::LeftButton);
        EXPECT_EQ(TestHelpers::countPixelsDifferent(w->ui.PrintView->imageRepresentation(), Qt::white, edge), 0);
    });
}

TEST_F(PrintWndTest, BatchPrintSkipsBrokenRecordsAndRestoresRecordZero)
{
    design.sources.spreadsheet = true;
    design.sources.spreadsheetRows = 6;
    design.failing = {2};
    Card_Front_Or_Back = 1;
    open([](Print_Wnd *w) {
        w->ui.Row_Text->setValue(2);
        w->ui.Col_Text->setValue(2);
        QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton);
    });
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);
    Card_Front_Or_Back = 0;
    EXPECT_EQ(design.restored, 1);
    EXPECT_TRUE(design.restoredOnMainThread);
    ASSERT_EQ(seam.messageTexts().size(), 1);
    EXPECT_TRUE(seam.messageTexts()[0].contains("No cards were printed for 1 record, which could not be made into cards:"));
    EXPECT_TRUE(seam.messageTexts()[0].contains("Record 3: the barcode cannot hold this value"));
    ASSERT_EQ(pdfPages(pdf()), 2);
    EXPECT_EQ(records(pdf(), 1, Print_Wnd::defaultInstance()->sheetLayout(QSizeF(595, 842))), (std::vector<int>{0, 1, 3, 4}));
}

class PrintCommandTest : public EditorWindowFixture
{
};

TEST_F(PrintCommandTest, WithoutPrintersTheCommandSaysSo)
{
    startWithCard();
    m_window->Print_Button();
    ASSERT_FALSE(m_seam.messageTexts().isEmpty());
    EXPECT_EQ(m_seam.messageTexts().last().trimmed(), "No printer found.");
}

TEST_F(PrintWndTest, BoundSourcesWithoutRecordsSayTheListIsEmpty)
{
    design.sources.bound = true;
    design.sources.series = true;
    PrintCommands::openPrintWindow(design);
    ASSERT_EQ(seam.messageTexts().size(), 1);
    EXPECT_EQ(seam.messageTexts()[0].trimmed(), "List is empty.");
    EXPECT_TRUE(seam.dialogsRun.isEmpty());
}

TEST_F(PrintWndTest, PageSetupChangesThePaperAndTheFit)
{
    open([this](Print_Wnd *w) {
        w->ui.Col_Text->setValue(4);
        EXPECT_EQ(w->ui.Col_Text->value(), 4);
        seam.onDialog([](QDialog *dialog) {
            auto *setup = qobject_cast<PageSetupWindow *>(dialog);
            EXPECT_NE(setup, nullptr);
            if (!setup)
                return int(QDialog::Rejected);
            setup->paperList->setCurrentText(QStringLiteral("A6"));
            QTest::mouseClick(setup->buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
            return setup->result();
        });
        QTest::mouseClick(w->ui.page_setup_btn, Qt::LeftButton);
        EXPECT_EQ(w->ui.Paper_id->text(), "A6");
        EXPECT_EQ(w->ui.Col_Text->value(), 2);   // 298 points hold two 120-point cards
    });
}
