// The data dialogs on large inputs: the data table built from a 100,000 x 10 workbook (read
// and build), 100,000 values put into the manager's shown value list, the first paint of the
// data table on 100,000 records, and 1,000,000 zero-filled values generated and written.

#include "BenchMain.h"
#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "data/SeriesGenerator.h"
#include "data/SheetImport.h"
#include "data/SpreadsheetTable.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/SeriesListModel.h"
#include "document/DocumentGlobals.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;

QList<QStringList> makeTable()
{
    QList<QStringList> table;
    table.reserve(Rows);
    QStringList header;
    for (int c = 0; c < Columns; ++c)
        header << QStringLiteral("Column %1").arg(c + 1);
    table.append(header);
    for (int r = 1; r < Rows; ++r) {
        QStringList row;
        for (int c = 0; c < Columns; ++c)
            row << (c % 2 ? QString::number(r * 10 + c) : QStringLiteral("Guest %1 %2").arg(r).arg(c));
        table.append(row);
    }
    return table;
}

struct Fixture
{
    Fixture()
    {
        Resource_Path = folder.path();
        Data_Folder_Path = QDir(folder.path()).filePath("DataSet");
        QDir().mkpath(Data_Folder_Path);
        workbook = QDir(folder.path()).filePath("guests.xlsx");
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

// What the chooser's OK does once the workbook is open: every row of the sheet read, the
// table of ten ticked columns built aside and swapped in.
void BM_TableBuildFromWorkbook(benchmark::State &state)
{
    SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(fixture().workbook), true);
    QList<int> ticked;
    for (int c = 0; c < Columns; ++c)
        ticked << c;
    for (auto _ : state) {
        Excel_Sheet_Number = 1;
        const QList<QStringList> rows = SpreadsheetWriter::ReadWorkbook(QUrl(), false);
        SpreadsheetTable::live() = SheetImport::buildTable(rows, ticked, true, QStringLiteral("No."));
        if (SpreadsheetTable::live().rowCount() != Rows - 1)
            state.SkipWithError("the table was not built");
    }
}
BENCHMARK(BM_TableBuildFromWorkbook)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The build alone, from rows already read.
void BM_TableBuildFromRows(benchmark::State &state)
{
    const QList<QStringList> rows = makeTable();
    QList<int> ticked;
    for (int c = 0; c < Columns; ++c)
        ticked << c;
    for (auto _ : state)
        benchmark::DoNotOptimize(SheetImport::buildTable(rows, ticked, true, QStringLiteral("No.")));
}
BENCHMARK(BM_TableBuildFromRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HeaderRead(benchmark::State &state)
{
    SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(fixture().workbook), true);
    for (auto _ : state) {
        Excel_Sheet_Number = 1;
        benchmark::DoNotOptimize(SpreadsheetWriter::ReadData_only_column());
    }
}
BENCHMARK(BM_HeaderRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ValuesIntoTheShownValueList(benchmark::State &state)
{
    fixture();
    QStringList values;
    values.reserve(Rows);
    for (int i = 0; i < Rows; ++i)
        values << QStringLiteral(" value %1 ").arg(i);
    BatchWizard *manager = BatchWizard::defaultInstance();
    manager->AddNew_Btn_Clicked();
    manager->show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        manager->ListData_value->setValues({});
        QCoreApplication::processEvents();
        state.ResumeTiming();
        manager->addValues(values);
        QCoreApplication::processEvents();
    }
    manager->hide();
}
BENCHMARK(BM_ValuesIntoTheShownValueList)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DataTableFirstPaint(benchmark::State &state)
{
    fixture();
    QList<int> ticked;
    for (int c = 0; c < Columns; ++c)
        ticked << c;
    SpreadsheetTable::live() = SheetImport::buildTable(makeTable(), ticked, true, QStringLiteral("No."));
    Data_From_Excel *table = Data_From_Excel::defaultInstance();
    for (auto _ : state) {
        table->reload();
        benchmark::DoNotOptimize(table->grab());
    }
}
BENCHMARK(BM_DataTableFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_MillionZeroFilledValuesWritten(benchmark::State &state)
{
    fixture();
    SeriesGenerator::Request request;
    request.from = QStringLiteral("1");
    request.to = QStringLiteral("1000000");
    request.zeroFill = true;
    request.prefix = QStringLiteral("T-");
    for (auto _ : state) {
        const QStringList values = SeriesGenerator::generate(request);
        if (!DataSeries::writeValues(QStringLiteral("Tickets"), values, DataSeries::WriteMode::Replace))
            state.SkipWithError("the series was not written");
    }
}
BENCHMARK(BM_MillionZeroFilledValuesWritten)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
