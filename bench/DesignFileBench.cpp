// Saving and opening a design of 200 elements; saving a design bound to a workbook of a
// million rows, which its file cannot hold.

#include "BenchMemory.h"

#include "editor/DesignFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

CardDesign design200()
{
    CardDesign design;
    const GraphicKind kinds[] = {GraphicKind::Text, GraphicKind::Line, GraphicKind::Shape, GraphicKind::Barcode};
    for (int i = 0; i < 200; ++i) {
        GraphicPtr g = LMNGraphic::create(kinds[i % 4]);
        g->setBounds(QRectF(i % 20 * 10, i / 20 * 12, 60, 20));
        g->setText(QStringLiteral("Guest number %1").arg(i));
        (i % 2 ? design.graphics_back : design.graphics) << g;
    }
    return design;
}

void BM_SaveDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    const CardDesign design = design200();
    for (auto _ : state)
        benchmark::DoNotOptimize(DesignFile::write(path, design, nullptr));
}
BENCHMARK(BM_SaveDesign)->Unit(benchmark::kMillisecond);

void BM_OpenDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    DesignFile::write(path, design200(), nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(DesignFile::read(path, nullptr));
}
BENCHMARK(BM_OpenDesign)->Unit(benchmark::kMillisecond);

// A design bound to 1,000,000 rows of three columns: Save refuses it. Reported: the time to
// the refusal and the growth of the peak resident size above the records' own memory.
void BM_SaveRefusesMillionRowDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    CardDesign design = design200();
    design.Excel_Binding_Use = true;
    design.Excel_Column_Titles = {QStringLiteral("Row"), QStringLiteral("Name"), QStringLiteral("City"), QStringLiteral("Code")};
    const int rows = int(state.range(0));
    design.Excel_Records.reserve(rows);
    for (int i = 1; i <= rows; ++i)
        design.Excel_Records.append({{QStringLiteral("Extension"), QString::number(i)},
                                     {QStringLiteral("Column1"), QStringLiteral("Guest %1").arg(i)},
                                     {QStringLiteral("Column2"), QStringLiteral("City %1").arg(i % 977)},
                                     {QStringLiteral("Column3"), QString::number(100000 + i)}});
    long peakKiB = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        if (DesignFile::write(path, design, &error))
            state.SkipWithError("the design was saved");
        peakKiB = BenchMemory::peakGrowthKiB(before);
    }
    state.counters["peak_MB"] = double(peakKiB) / 1024;
}
BENCHMARK(BM_SaveRefusesMillionRowDesign)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
