// A batch export of 1,000 records of a two-sided card at 300 dpi (background picture, bound
// text, picture and barcode on the front, bound text on the back) to PNG on four workers,
// beside the time of PNG-encoding the same number of card pictures alone on four threads.
// The ratio of the two says how much of the run rendering, binding and writing add.
//
//   bash scripts/build.sh bench && QT_QPA_PLATFORM=offscreen build/bench/bench/bench_BatchExportBench

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "output/BatchExportRun.h"
#include "output/CardExport.h"
#include "data/CardRecordRenderer.h"
#include "data/DataSeries.h"
#include "document/DocumentGlobals.h"
#include "document/LMNRenderingView.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchPictures.h"

#include <cmath>
#include <condition_variable>
#include <thread>

#include <sys/resource.h>

namespace {

constexpr int kRecords = 1000;
constexpr int kWorkers = 4;

using BenchPictures::photo;

GraphicPtr bound(GraphicKind kind, const QString &series, const QRectF &bounds)
{
    GraphicPtr graphic = LMNGraphic::create(kind);
    graphic->setBounds(bounds);
    graphic->data_source_type = 1;
    graphic->batch_list_name = series;
    return graphic;
}

struct Design
{
    QTemporaryDir folder;
    std::shared_ptr<const CardRecordRenderer> renderer;

    Design()
    {
        Data_Folder_Path = QDir(folder.path()).filePath("DataSet");
        QDir().mkpath(Data_Folder_Path);
        const QString pictureA = QDir(folder.path()).filePath("a.jpg");
        const QString pictureB = QDir(folder.path()).filePath("b.jpg");
        photo(400, 300, 1).save(pictureA);
        photo(400, 300, 2).save(pictureB);
        QStringList names, pictures, codes;
        for (int i = 1; i <= kRecords; ++i) {
            names << QStringLiteral("Guest number %1").arg(i);
            pictures << (i % 2 ? pictureA : pictureB);
            codes << QStringLiteral("FEST-%1").arg(i, 5, 10, QLatin1Char('0'));
        }
        DataSeries::writeValues("names", names, DataSeries::WriteMode::Replace);
        DataSeries::writeValues("pictures", pictures, DataSeries::WriteMode::Replace);
        DataSeries::writeValues("codes", codes, DataSeries::WriteMode::Replace);

        CardSnapshot snapshot;
        snapshot.cardSize = QSizeF(243, 154);
        snapshot.cardSides = "2";
        snapshot.front = {bound(GraphicKind::Text, "names", QRectF(10, 10, 200, 30)),
                          bound(GraphicKind::Image, "pictures", QRectF(150, 60, 80, 60)),
                          bound(GraphicKind::Barcode, "codes", QRectF(10, 80, 120, 60))};
        BarcodeElementSettings code;
        code.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf("Code 128"));
        code.applyTo(*snapshot.front[2]);
        snapshot.back = {bound(GraphicKind::Text, "names", QRectF(20, 60, 200, 30))};
        const QImage background = photo(1013, 642, 3);
        snapshot.frontBackground = [background](QPainter &painter, const QRectF &card, const QRectF &) {
            painter.drawImage(card, background);
        };
        snapshot.backBackground = [](QPainter &painter, const QRectF &card, const QRectF &) {
            painter.fillRect(card, QColor(250, 240, 220));
        };
        snapshot.seriesNames = DataSeries::Get_datasheet_File_Name_Array();
        for (const QString &name : std::as_const(snapshot.seriesNames))
            snapshot.seriesValues << DataSeries::readAllValues(name);
        snapshot.useSeries = true;
        snapshot.seriesRows = kRecords;
        renderer = std::make_shared<const CardRecordRenderer>(snapshot);
    }
};

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The whole export, the PNG encoding alone of as many pictures, and their ratio.
void BM_BatchExport(benchmark::State &state)
{
    Design design;
    const QImage front = design.renderer->cardImage(0, 0, 0, 300);
    const QImage back = design.renderer->cardImage(0, 1, 0, 300);
    for (auto _ : state) {
        QTemporaryDir out;
        BatchExportRun::Options options;
        options.folder = out.path();
        options.extension = "PNG";
        options.side = "BOTH";
        options.dpi = 300;
        options.workers = kWorkers;
        QElapsedTimer exportTimer;
        exportTimer.start();
        {
            BatchExportRun run(design.renderer, options, kRecords);
            run.start({});
            run.join();
            if (run.result().written != kRecords)
                state.SkipWithError("not every card was written");
        }
        const double exportSeconds = exportTimer.nsecsElapsed() / 1e9;

        // The same number of pictures, encoded as the export encodes them, to memory.
        QElapsedTimer encodeTimer;
        encodeTimer.start();
        std::atomic<int> next{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kWorkers; ++t) {
            threads.emplace_back([&] {
                while (next.fetch_add(1) < kRecords) {
                    for (const QImage &side : {back, front})
                        benchmark::DoNotOptimize(CardExport::pngData(side));
                }
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        const double encodeSeconds = encodeTimer.nsecsElapsed() / 1e9;
        state.counters["export_s"] = exportSeconds;
        state.counters["encode_only_s"] = encodeSeconds;
        state.counters["ratio"] = exportSeconds / encodeSeconds;
        state.counters["peak_MB"] = peakKilobytes() / 1024.0;
    }
}
BENCHMARK(BM_BatchExport)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// One side at 300 dpi encoded as PNG by Qt (ARGB or RGB, default level or quality 80, which
// is zlib level 1) and by libspng as the export writes it.
void BM_EncodeSideQt(benchmark::State &state)
{
    Design design;
    const QImage side = design.renderer->cardImage(0, 0, 0, 300);
    const QImage::Format format = state.range(0) ? QImage::Format_RGB888 : QImage::Format_ARGB32_Premultiplied;
    const int quality = int(state.range(1));
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(quality);
        writer.write(side.convertToFormat(format));
        bytes = buffer.size();
    }
    state.counters["kB"] = bytes / 1024.0;
}
BENCHMARK(BM_EncodeSideQt)->Args({0, -1})->Args({1, -1})->Args({1, 80})->Unit(benchmark::kMillisecond);

void BM_EncodeSideSpng(benchmark::State &state)
{
    Design design;
    const QImage side = design.renderer->cardImage(0, 0, 0, 300);
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = CardExport::pngData(side).size();
    state.counters["kB"] = bytes / 1024.0;
}
BENCHMARK(BM_EncodeSideSpng)->Unit(benchmark::kMillisecond);

// Rendering one record of one side, without encoding.
void BM_RenderSide(benchmark::State &state)
{
    Design design;
    int record = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(design.renderer->cardImage(record++ % kRecords, 0, 0, 300));
}
BENCHMARK(BM_RenderSide)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
