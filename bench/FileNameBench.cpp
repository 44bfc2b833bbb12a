// Cleaning typed names for file names (series, workbook columns, mail attachments, saved
// designs) as they grow: a name wrapped in layers of reserved characters and white space that
// alternate, the hardest input for the cleaning. The time per character must stay flat from
// 10,000 to 1,000,000 characters (linear growth).

#include "document/StringUtilities.h"

#include <QString>

#include <algorithm>

#include <benchmark/benchmark.h>

namespace {

// `length` characters: "? " layers, the name, then " *" layers.
QString layeredName(qsizetype length)
{
    const QString name = QStringLiteral("Guests 2026");
    const qsizetype layers = std::max<qsizetype>(0, (length - name.size()) / 4);
    return QStringLiteral("? ").repeated(layers) + name + QStringLiteral(" *").repeated(layers);
}

void BM_CleanLayeredName(benchmark::State &state)
{
    const QString text = layeredName(state.range(0));
    for (auto _ : state) {
        const QString cleaned = Remove_Reserve_Char_In_File_Name(text);
        if (cleaned != QLatin1String("Guests 2026"))
            state.SkipWithError("the name was not cleaned to its core");
        benchmark::DoNotOptimize(cleaned);
    }
    state.SetComplexityN(text.size());
    // Nanoseconds per character: the inverse of a rate of a billionth of the characters a second.
    state.counters["ns_per_char"] = benchmark::Counter(double(text.size()) / 1e9,
                                                       benchmark::Counter::kIsIterationInvariantRate
                                                           | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CleanLayeredName)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Arg(300000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
