// Printing: 1,000 records of a card with a background picture, a bound text and a bound
// Code 128 on 2 x 5 A4 sheets to QPrinter's PDF output, with barcodes drawn for the printer
// (bars as vectors; argument 1) and, for comparison, as the pictures the cards hold (argument
// 0, how every output drew them before). Goals: the vector run under half the time of the
// picture run, at most 1 KB of PDF per card beyond the first sheet, the background picture
// embedded once (counter "images": pictures in the file). And one refresh of the sheet preview
// of a 10 x 10 sheet (goal: under 10 ms).
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
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchRatios.h"

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

// The PDF of `records` records printed from `snapshot`.
QByteArray printRecords(const std::shared_ptr<RecordCardSource> &cards, int records, const QString &path)
{
    SheetLayout layout;
    layout.paper = QSizeF(595, 842);
    layout.W = 243;
    layout.H = 154;
    layout.rows = 5;
    layout.cols = 2;
    layout.autoCenter = true;
    layout = layout.fitted();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    Printing_View view(layout, cards, records, false);
    if (view.paint(printer).cardsDrawn != records)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_PrintThousandRecordsToPdf(benchmark::State &state)
{
    CardSnapshot snapshot = boundCard();
    if (state.range(0) == 0)
        snapshot.drawContext.drawBarcode = [](QPainter &, const LMNGraphic &, const QRectF &) { return false; };
    auto cards = std::make_shared<RecordCardSource>(snapshot);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cards.pdf"));
    QByteArray pdf;
    for (auto _ : state) {
        pdf = printRecords(cards, kRecords, path);
        if (pdf.isEmpty())
            state.SkipWithError("not every card was drawn");
    }
    const qsizetype firstSheet = printRecords(cards, 10, path).size();
    state.counters["pdf_kb_per_card"] = double(pdf.size()) / 1024.0 / kRecords;
    state.counters["kb_per_card_beyond_first_sheet"] = double(pdf.size() - firstSheet) / 1024.0 / (kRecords - 10);
    state.counters["images"] = double(pdf.count("/Subtype /Image"));
}
BENCHMARK(BM_PrintThousandRecordsToPdf)->ArgName("vectors")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

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
BENCHMARK(BM_SheetPreviewRefresh10x10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n1,000 records printed, bars as vectors over bars as pictures (goal: under 0.5)\n");
    reporter.printRatio("vectors over pictures", "BM_PrintThousandRecordsToPdf/vectors:1",
                        "BM_PrintThousandRecordsToPdf/vectors:0");
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
