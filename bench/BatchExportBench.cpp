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
#include <QFile>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchMemory.h"
#include "BenchPictures.h"
#include "BenchRatios.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <condition_variable>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

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

// The whole export, the PNG encoding alone of as many pictures with the same encoder on as
// many threads, and their ratio (goal: at most 1.25, the export under 8 s).
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
// is zlib level 1) and by the export's own encoder (libdeflate level 1).
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
BENCHMARK(BM_EncodeSideQt)->Args({0, -1})->Args({1, -1})->Args({1, 80})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeSideExport(benchmark::State &state)
{
    Design design;
    const QImage side = design.renderer->cardImage(0, 0, 0, 300);
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = CardExport::pngData(side).size();
    state.counters["kB"] = bytes / 1024.0;
}
BENCHMARK(BM_EncodeSideExport)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both sides of one record at 300 dpi, without encoding, on 1, 2 and 4 threads at once (each
// thread its own records): the time per card and, printed at the end, the speed-ups.
void BM_RenderBothSides(benchmark::State &state)
{
    static Design design;
    const int threads = int(state.range(0));
    constexpr int kCards = 200;
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state) {
        std::atomic<int> next{0};
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&] {
                for (int record = next++; record < kCards; record = next++) {
                    benchmark::DoNotOptimize(design.renderer->cardImage(record, 0, 0, 300));
                    benchmark::DoNotOptimize(design.renderer->cardImage(record, 1, 0, 300));
                }
            });
        }
        for (std::thread &worker : workers)
            worker.join();
    }
    state.counters["ms_per_card"] = timer.nsecsElapsed() / 1e6 / (double(state.iterations()) * kCards);
}
BENCHMARK(BM_RenderBothSides)->ArgName("threads")->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1,000 records each bound to a 12-megapixel photo file of its own (hard links of one JPEG,
// so each path is read and decoded afresh), exported front side as PNG on four workers: the
// peak resident memory of the process during the run.
void BM_DistinctPhotos(benchmark::State &state)
{
    QTemporaryDir folder;
    Data_Folder_Path = folder.path();   // series names are looked up against it
    const QString original = QDir(folder.path()).filePath("photo.jpg");
    photo(4000, 3000, 7).save(original, "JPEG", 90);
    QStringList paths;
    for (int i = 0; i < kRecords; ++i) {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("photo-%1.jpg").arg(i));
        if (::link(QFile::encodeName(original).constData(), QFile::encodeName(path).constData()) != 0) {
            state.SkipWithError("cannot link the photos");
            return;
        }
        paths << path;
    }
    CardSnapshot snapshot;
    snapshot.cardSize = QSizeF(243, 154);
    snapshot.front = {bound(GraphicKind::Image, "photos", QRectF(10, 10, 223, 134))};
    snapshot.seriesNames = {"photos"};
    snapshot.seriesValues = {paths};
    snapshot.useSeries = true;
    snapshot.seriesRows = kRecords;
    const auto renderer = std::make_shared<const CardRecordRenderer>(snapshot);
    for (auto _ : state) {
        QTemporaryDir out;
        BatchExportRun::Options options;
        options.folder = out.path();
        options.extension = "PNG";
        options.side = "F";
        options.dpi = 300;
        options.workers = kWorkers;
        const long before = BenchMemory::startStep();
        BatchExportRun run(renderer, options, kRecords);
        run.start({});
        run.join();
        if (run.result().written != kRecords || !run.result().lackingPicture.isEmpty())
            state.SkipWithError("not every card was written with its photo");
        state.counters["peak_growth_MB"] = BenchMemory::peakGrowthKiB(before) / 1024.0;
        state.counters["peak_MB"] = BenchMemory::statusKiB("VmHWM:") / 1024.0;
    }
}
BENCHMARK(BM_DistinctPhotos)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Rendering one record of one side, without encoding.
void BM_RenderSide(benchmark::State &state)
{
    Design design;
    int record = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(design.renderer->cardImage(record++ % kRecords, 0, 0, 300));
}
BENCHMARK(BM_RenderSide)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchRatios::registerArithmeticAlone();
    benchmark::Initialize(&argc, argv);
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nBoth sides at 300 dpi, time on one thread over time on more (goal: 3.5 or more on four)\n");
    reporter.printRatio("two threads over one", "BM_RenderBothSides/threads:1", "BM_RenderBothSides/threads:2", "1 and 2 threads");
    reporter.printRatio("four threads over one", "BM_RenderBothSides/threads:1", "BM_RenderBothSides/threads:4", "1 and 4 threads");
    reporter.printArithmeticRatio();
    const double exportSeconds = reporter.medianCounter("BM_BatchExport", "export_s");
    const double encodeSeconds = reporter.medianCounter("BM_BatchExport", "encode_only_s");
    if (encodeSeconds > 0)
        std::printf("  %-40s %6.2f   (medians of %lld runs: %.3f s / %.3f s; %d workers each)\n",
                    "export over PNG encoding alone", exportSeconds / encodeSeconds,
                    static_cast<long long>(reporter.samples("BM_BatchExport")->runs), exportSeconds, encodeSeconds,
                    kWorkers);
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
