// The print setup window through its real controls, every modal step answered by the seam.
// No CUPS here: the printer writes PDF files into the test's folder (the queue is tested in
// CupsPrintTest).
// Runs worker threads: also run under ThreadSanitizer (scripts/build.sh tsan).

#include "PrintTestSupport.h"

#include "document/DocumentGlobals.h"
#include "editor/EditorWindowFixture.h"
#include "output/PrintGlobals.h"
#include "output/ui/PrintCommands.h"
#include "output/ui/Print_Wnd.h"

#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace {

class PrintWndTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // A CUPS server that is not there: the printer list comes back empty at once.
        static QTemporaryDir nowhere;
        qputenv("CUPS_SERVER", QDir(nowhere.path()).filePath(QStringLiteral("no.sock")).toUtf8());
    }

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
    EXPECT_TRUE(seam.messageTexts()[0].contains("1 record(s) could not be made into cards and were not printed"));
    EXPECT_TRUE(seam.messageTexts()[0].contains("Record 3: the barcode cannot hold this value"));
    ASSERT_EQ(pdfPages(pdf()), 2);
    const QImage page = pdfPage(pdf(), 1);
    const SheetLayout layout = Print_Wnd::defaultInstance()->sheetLayout(QSizeF(595, 842));
    std::vector<int> found;
    for (int c = 1; c <= 2; ++c)
        found.push_back(ColourCards::decode(page.pixel(layout.cell(1, c, QSizeF(120, 80)).front.center().toPoint())).first);
    EXPECT_EQ(found, (std::vector<int>{0, 1}));
    EXPECT_EQ(ColourCards::decode(page.pixel(layout.cell(2, 1, QSizeF(120, 80)).front.center().toPoint())).first, 3);
}

class PrintCommandTest : public EditorWindowFixture
{
};

TEST_F(PrintCommandTest, WithoutPrintersTheCommandSaysSo)
{
    QTemporaryDir nowhere;
    const QByteArray previous = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", QDir(nowhere.path()).filePath(QStringLiteral("no.sock")).toUtf8());
    startWithCard();
    m_window->Print_Button();
    qputenv("CUPS_SERVER", previous);
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
            auto *setup = qobject_cast<QPageSetupDialog *>(dialog);
            EXPECT_NE(setup, nullptr);
            if (setup)
                setup->printer()->setPageSize(QPageSize(QPageSize::A6));
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(w->ui.page_setup_btn, Qt::LeftButton);
        EXPECT_EQ(w->ui.Paper_id->text(), "A6");
        EXPECT_EQ(w->ui.Col_Text->value(), 2);   // 298 points hold two 120-point cards
    });
}

TEST(PrintingViewInvalidTest, WithoutACardEveryCellSaysInvalidData)
{
    SheetLayout layout;
    layout.paper = QSizeF(595, 842);
    layout.W = 120;
    layout.H = 80;
    layout.rows = layout.cols = 2;
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
