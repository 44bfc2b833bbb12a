// Reading and writing a workbook of 100,000 rows x 10 columns of mixed texts and numbers.
//
// The workbook is written to $FESTILOOM_BENCH_WORKBOOK when that is set (bench/xlsx_vs_openpyxl.sh
// reads the same file with openpyxl), else to a temporary file. Peak memory of a read is
// reported as the growth of the process's peak resident size, next to the size of the
// unpacked worksheet part.

#include "BenchMemory.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "document/DocumentGlobals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;

QList<QStringList> makeTable()
{
    static const char *const first[] = {"Anna", "Ben", "Chloé", "David", "Emma", "Farid", "Greta", "Hiro", "Ines", "Jonas"};
    static const char *const last[] = {"Müller", "Smith", "Dubois", "Rossi", "Tanaka", "Nowak", "García", "Berg"};
    static const char *const city[] = {"Berlin", "Lyon", "Osaka", "Porto", "Leeds", "Graz", "Turku"};
    QList<QStringList> table;
    table.reserve(Rows);
    table.append({"Guest", "First name", "Last name", "City", "E-mail", "Number", "Amount", "Age", "Phone", "Share"});
    for (int i = 1; i < Rows; ++i) {
        table.append({QStringLiteral("Guest %1").arg(i),
                      QString::fromUtf8(first[i % 10]),
                      QString::fromUtf8(last[(i / 10) % 8]),
                      QString::fromUtf8(city[(i / 7) % 7]),
                      QStringLiteral("guest%1@example.org").arg(i),
                      QString::number(i),
                      QString::number(double(i % 99991) / 8.0, 'g', 10),
                      QString::number(18 + i % 70),
                      QStringLiteral("+49 30 %1").arg(1000000 + i * 7 % 9000000),
                      QString::number(double(i % 1000) / 1024.0, 'g', 12)});
    }
    return table;
}

struct Fixture
{
    Fixture()
    {
        Resource_Path = folder.path();
        const QByteArray wanted = qgetenv("FESTILOOM_BENCH_WORKBOOK");
        workbook = wanted.isEmpty() ? QDir(folder.path()).filePath("bench.xlsx") : QString::fromLocal8Bit(wanted);
        QString error;
        if (!SpreadsheetWriter::WriteWorkbook(QUrl::fromLocalFile(workbook), makeTable(), true, &error))
            qFatal("cannot write the benchmark workbook: %s", qPrintable(error));
    }
    QTemporaryDir folder;
    QString workbook;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void BM_ReadWorkbook(benchmark::State &state)
{
    const QString workbook = fixture().workbook;
    SpreadsheetWriter::removeTempFolder();
    long growth = 0;
    qint64 sheetBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SpreadsheetWriter::removeTempFolder();
        if (spreadsheet)
            spreadsheet->data.clear();
        const long before = BenchMemory::startStep();
        state.ResumeTiming();

        QString error;
        SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(workbook), true, &error);
        Excel_Sheet_Number = 1;
        const QList<QStringList> rows = SpreadsheetWriter::ReadWorkbook(QUrl(), false, &error);
        if (rows.size() != Rows || rows.first().size() != Columns)
            state.SkipWithError("the workbook did not read back");
        benchmark::DoNotOptimize(rows.data());

        state.PauseTiming();
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        sheetBytes = QFileInfo(QDir(spreadsheet->worksheetsFolder()).filePath("sheet1.xml")).size();
        state.ResumeTiming();
    }
    state.counters["cells_per_s"] = benchmark::Counter(double(Rows) * Columns, benchmark::Counter::kIsIterationInvariantRate);
    // The reader's worker threads, as it picks them.
    state.counters["reader_threads"] = std::clamp(QThread::idealThreadCount(), 1, 4);
    state.counters["sheet_xml_MiB"] = double(sheetBytes) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
    state.counters["peak_per_sheet_xml"] = sheetBytes > 0 ? double(growth) * 1024.0 / double(sheetBytes) : 0.0;
}
BENCHMARK(BM_ReadWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_WriteWorkbook(benchmark::State &state)
{
    const QList<QStringList> table = makeTable();
    const QString target = QDir(fixture().folder.path()).filePath("written.xlsx");
    for (auto _ : state) {
        QString error;
        if (!SpreadsheetWriter::WriteWorkbook(QUrl::fromLocalFile(target), table, true, &error))
            state.SkipWithError(qPrintable(error));
    }
    state.counters["cells_per_s"] = benchmark::Counter(double(Rows) * Columns, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WriteWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
