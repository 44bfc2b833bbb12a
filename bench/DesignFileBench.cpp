// Saving and opening a design of 200 elements.

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
