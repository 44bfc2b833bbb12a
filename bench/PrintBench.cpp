// Printing: 1,000 records of a card with a background picture, a bound text and a bound
// barcode on 2 x 5 A4 sheets to QPrinter's PDF output (goal: under 5 s, the shared picture
// embedded once, under 20 KB of PDF per card), and one refresh of the sheet preview of a
// 10 x 10 sheet (goal: under 10 ms).
//
//   bash scripts/build.sh bench && QT_QPA_PLATFORM=offscreen build/bench/bench/bench_PrintBench

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "data/CardRecordRenderer.h"
#include "document/LMNText.h"
#include "output/PrintGlobals.h"
#include "output/Printing_View.h"
#include "output/RecordCardSource.h"
#include "output/ui/Print_Wnd.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kRecords = 1000;

QImage backgroundPicture()
{
    QImage image(900, 600, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x * 255 / 900, y * 255 / 600, int(128 + 100 * std::sin((x + y) / 40.0)));
    }
    return image;
}

CardSnapshot boundCard()
{
    CardSnapshot s;
    s.cardSize = QSizeF(243, 154);
    const QImage picture = backgroundPicture();
    s.frontBackground = [picture](QPainter &painter, const QRectF &card, const QRectF &) {
        painter.drawImage(card, picture);
    };
    auto name = std::make_shared<LMNText>();
    name->setBounds(QRectF(10, 10, 220, 30));
    name->data_source_type = 2;
    name->excel_col_indx = 1;
    GraphicPtr code = LMNGraphic::create(GraphicKind::Barcode);
    code->setBounds(QRectF(10, 60, 200, 80));
    code->data_source_type = 2;
    code->excel_col_indx = 2;
    BarcodeElementSettings settings;
    settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QStringLiteral("Code 128")));
    settings.applyTo(*code);
    s.front = {name, code};
    s.table.titles = {"#", "Name", "Ticket"};
    for (int r = 0; r < kRecords; ++r)
        s.table.appendRecord({QStringLiteral("Guest number %1").arg(r + 1), QStringLiteral("T-%1").arg(r + 1, 5, 10, QLatin1Char('0'))}, 2);
    s.useSpreadsheet = true;
    s.spreadsheetRows = kRecords;
    return s;
}

void BM_PrintThousandRecordsToPdf(benchmark::State &state)
{
    auto cards = std::make_shared<RecordCardSource>(boundCard());
    SheetLayout layout;
    layout.paper = QSizeF(595, 842);
    layout.W = 243;
    layout.H = 154;
    layout.rows = 5;
    layout.cols = 2;
    layout.autoCenter = true;
    layout = layout.fitted();
    QTemporaryDir dir;
    qint64 bytes = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("cards.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
        Printing_View view(layout, cards, kRecords, false);
        const Printing_View::Pass pass = view.paint(printer);
        if (pass.cardsDrawn != kRecords)
            state.SkipWithError("not every card was drawn");
        bytes = QFileInfo(dir.filePath(QStringLiteral("cards.pdf"))).size();
    }
    state.counters["pdf_kb_per_card"] = double(bytes) / 1024.0 / kRecords;
}
BENCHMARK(BM_PrintThousandRecordsToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SheetPreviewRefresh10x10(benchmark::State &state)
{
    Print_Wnd *wnd = Print_Wnd::defaultInstance();
    wnd->printInfo()->setOutputFormat(QPrinter::PdfFormat);
    wnd->printInfo()->setPageSize(QPageSize(QPageSize::A4));
    wnd->Set_values_From_Printer();
    wnd->front_image = QImage(50, 70, QImage::Format_ARGB32_Premultiplied);
    SheetLayout &sheet = wnd->sheet();
    sheet.W = 50;
    sheet.H = 70;
    sheet.rows = sheet.cols = 10;
    sheet.side = QStringLiteral("BOTH");
    for (auto _ : state)
        wnd->Refresh_Preview();
}
BENCHMARK(BM_SheetPreviewRefresh10x10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
