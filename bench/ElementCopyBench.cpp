// Copying and pasting many elements as the editor's tools make them, every kind in turn (text,
// lines, every shape, pictures, barcodes, signatures): what Copy puts on the clipboard and what
// Paste reads back, with the time and the peak memory of each. A copy that is refused for its
// size says so instead of printing a time.
//
// Each element's values (as reading counts them) are printed too: MaximumValues divided by
// them is the number of elements Paste takes, LMNGraphicArchive::MaximumValuesInElements.

#include "BenchMain.h"
#include "BenchArchiveLimits.h"
#include "BenchMemory.h"

#include "document/ElementClipboard.h"
#include "document/GraphicFactory.h"
#include "document/LMNGraphicArchive.h"
#include "document/DocumentGlobals.h"

#include <QMimeData>

#include <memory>

namespace {

GraphicList madeByTheTools(int count)
{
    NewGraphicDefaults defaults;
    defaults.contentFont = CardFont(QStringLiteral("TimesNewRomanPS-BoldMT"), 14);
    // A small picture: what pictures take decoded has a budget of its own.
    defaults.placeholderPicture = QImage(16, 16, QImage::Format_ARGB32);
    defaults.placeholderPicture.fill(QColor(200, 10, 10, 128));
    GraphicList graphics;
    for (int i = 0; i < count; ++i) {
        const int tool = 1 + i % (GraphicFactory::ToolCount - 1);
        const QString value = tool == GraphicFactory::TextTool ? QStringLiteral("Guest %1").arg(i) : QString();
        GraphicPtr g = GraphicFactory::makeGraphic(GraphicFactory::kindForTool(tool), tool, value,
                                                   QStringLiteral("F_%1").arg(i), defaults);
        g->setBounds(QRectF(i % 200, i / 200, 40, 20));
        graphics << g;
    }
    return graphics;
}

// The values an element adds to an archive, as the archive checker counts them.
double valuesPerElement(const GraphicList &graphics)
{
    const auto valuesOf = [&](qsizetype count) {
        return BenchArchiveLimits::values(LMNGraphicArchive::encodeList(graphics.mid(0, count), true));
    };
    return double(valuesOf(graphics.size()) - valuesOf(1)) / double(graphics.size() - 1);
}

void BM_CopyElements(benchmark::State &state)
{
    const GraphicList graphics = madeByTheTools(int(state.range(0)));
    long growth = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const std::unique_ptr<QMimeData> data(ElementClipboard::mimeDataFor(graphics, &error));
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        if (!data) {
            state.SkipWithError(qPrintable(QStringLiteral("copy refused: ") + error));
            break;
        }
        bytes = data->data(LMNGraphicViewPasteboardType).size();
    }
    state.counters["archive_MiB"] = double(bytes) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
    state.counters["values_per_element"] = valuesPerElement(graphics.mid(0, 2 * (GraphicFactory::ToolCount - 1)));
}
BENCHMARK(BM_CopyElements)->Arg(15000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PasteElements(benchmark::State &state)
{
    const QByteArray archive = LMNGraphicArchive::encodeList(madeByTheTools(int(state.range(0))), true);
    if (const QString refusal = LMNGraphicArchive::refusalBeforeParsing(archive); !refusal.isEmpty()) {
        state.SkipWithError(qPrintable(QStringLiteral("paste refused: ") + refusal));
        return;
    }
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const auto pasted = LMNGraphicArchive::decodeList(archive, &error);
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        if (!pasted || pasted->size() != state.range(0)) {
            state.SkipWithError(qPrintable(QStringLiteral("paste refused: ") + error));
            break;
        }
    }
    state.counters["archive_MiB"] = double(archive.size()) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
}
BENCHMARK(BM_PasteElements)->Arg(15000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
