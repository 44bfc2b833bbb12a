// The largest inputs the readers accept, each opened on one core: a design of many elements,
// an element archive of many elements and a data series of many lines. Goal: each under 10 s
// and under 1 GB of peak memory growth.

#include "BenchMemory.h"

#include "document/DocumentGlobals.h"
#include "data/DataSeries.h"
#include "document/LMNGraphicArchive.h"
#include "editor/DesignFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

GraphicList elements(int count)
{
    const GraphicKind kinds[] = {GraphicKind::Text, GraphicKind::Line, GraphicKind::Shape, GraphicKind::Barcode};
    GraphicList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphic::create(kinds[i % 4]);
        g->setBounds(QRectF(i % 20 * 10, i / 20 % 12 * 12, 60, 20));
        g->setText(QStringLiteral("Guest number %1").arg(i));
        list << g;
    }
    return list;
}

void report(benchmark::State &state, long growthKiB, qint64 bytes)
{
    state.counters["file_MB"] = double(bytes) / (1 << 20);
    state.counters["peak_growth_MB"] = double(growthKiB) / 1024.0;
}

void BM_OpenLargeDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.dcard"));
    {
        CardDesign design;
        design.graphics = elements(int(state.range(0)));
        QString error;
        if (!DesignFile::write(path, design, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const auto design = DesignFile::read(path, &error);
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        state.counters["opened"] = design ? 1 : 0;
        if (!design)
            state.SetLabel(error.left(120).toStdString());
    }
    report(state, growth, QFileInfo(path).size());
}
BENCHMARK(BM_OpenLargeDesign)->Arg(20000)->Arg(80000)->Unit(benchmark::kSecond)->Iterations(1);

void BM_DecodeLargeArchive(benchmark::State &state)
{
    const QByteArray data = LMNGraphicArchive::encodeList(elements(int(state.range(0))), state.range(1) != 0);
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const auto list = LMNGraphicArchive::decodeList(data, &error);
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        state.counters["opened"] = list ? 1 : 0;
        if (!list)
            state.SetLabel(error.left(120).toStdString());
    }
    report(state, growth, data.size());
}
BENCHMARK(BM_DecodeLargeArchive)->Args({100000, 1})->Args({100000, 0})->Unit(benchmark::kSecond)->Iterations(1);

void BM_ReadLargeSeries(benchmark::State &state)
{
    QTemporaryDir dir;
    Data_Folder_Path = dir.path();
    {
        QFile file(DataSeries::filePath(QStringLiteral("lines")));
        file.open(QIODevice::WriteOnly);
        QByteArray chunk;
        for (int i = 0; i < state.range(0); ++i) {
            chunk += QByteArray::number(i % 100000);
            chunk += '\n';
            if (chunk.size() > (1 << 20)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
    }
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        const QStringList values = DataSeries::readAllValues(QStringLiteral("lines"));
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        state.counters["values"] = double(values.size());
    }
    report(state, growth, QFileInfo(DataSeries::filePath(QStringLiteral("lines"))).size());
}
BENCHMARK(BM_ReadLargeSeries)->Arg(10000000)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
