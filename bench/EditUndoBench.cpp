// What undo recording adds to the settings panel's write-back: one slider step on ten selected
// camera-size pictures with and without recording, and the memory 1,000 recorded steps keep.
//
//   bash scripts/build.sh bench && build/bench/bench/bench_EditUndoBench
//
// Aims: recording adds < 2 ms to a step; 1,000 recorded steps keep < 50 MB (the steps hold
// changed settings, never pictures).

#include "BenchMain.h"
#include "BenchMemory.h"
#include "document/LMNDocument.h"
#include "document/LMNImage.h"
#include "document/SetPropertiesCommand.h"
#include "panels/ElementTabValues.h"

#include <QImage>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

// Ten 4000 x 3000 pictures, each its own pixels, selected in a document.
struct TenPictures
{
    LMNDocument document;
    GraphicList pictures;

    TenPictures()
    {
        for (int i = 0; i < 10; ++i) {
            auto picture = std::make_shared<LMNImage>();
            QImage pixels(4000, 3000, QImage::Format_RGB32);
            pixels.fill(QColor(20 * i, 100, 200));
            picture->_image = pixels;
            picture->_file_path = QStringLiteral("/pictures/photo-%1.jpg").arg(i);
            picture->setBounds(QRectF(10 + i * 30, 10, 100, 75));
            document.graphics.append(picture);
            pictures.append(picture);
        }
    }

    // One step of the brightness slider written into every picture.
    void step(int n, bool record)
    {
        ImageTabValues values;
        values.brightness = float(n % 100) / 100.0f;
        auto writeBack = [&] {
            for (const GraphicPtr &g : pictures) {
                values.path = g->_file_path;
                values.apply(*g);
            }
        };
        // Every step its own command (no run): the dearest way to record.
        if (record)
            SetPropertiesCommand::record(&document, &document.graphics, pictures, writeBack);
        else
            writeBack();
    }
};

void BM_SliderStepOnTenPictures(benchmark::State &state)
{
    TenPictures ten;
    const bool record = state.range(0) != 0;
    int n = 0;
    for (auto _ : state) {
        ten.step(++n, record);
        // Keep the history at a user's length.
        if (ten.document.undoManager()->count() > 1000) {
            state.PauseTiming();
            ten.document.undoManager()->clear();
            state.ResumeTiming();
        }
    }
    state.SetLabel(record ? "write-back recorded for undo" : "write-back alone");
}
BENCHMARK(BM_SliderStepOnTenPictures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MemoryOf1000RecordedSteps(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        TenPictures ten;
        const long before = BenchMemory::startStep();
        state.ResumeTiming();
        for (int n = 1; n <= 1000; ++n)
            ten.step(n, true);
        state.PauseTiming();
        state.counters["MiB"] = double(BenchMemory::peakGrowthKiB(before)) / 1024.0;
        state.counters["steps"] = ten.document.undoManager()->count();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoryOf1000RecordedSteps)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
