// The barcode designer's speed: one keystroke's regeneration through the real dialog (value
// typed, picture made at 600 dpi with header and footer, preview shown) for each family of
// symbologies, a keystroke while the picture is refused as too large (with the sizes to choose
// instead), and the generator's pictures per record as batch runs ask for them, on one thread
// and on four. Goals: a keystroke under 10 ms, a record under 2 ms on one core, four threads at
// least 3.5 times the records of one. For the ratio:
//   taskset -c 0-3 bench_BarcodeDesignerBench --benchmark_filter='Generator|Arithmetic'
//       --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
// which also prints what the same cores give arithmetic alone at that time (see BenchRatios.h).

#include "barcode/BarcodeElementSettings.h"
#include "barcode/generator/BarcodeGenerator.h"
#include "barcode/BarcodeLists.h"
#include "barcode/ui/Barcode_Gen.h"
#include "document/LMNBarcode.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include "BenchRatios.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Keystroke
{
    const char *name;
    const char *title;
    QString values[2];
};

QString repeated(const char *alphabet, int length, int shift)
{
    const QString letters = QString::fromLatin1(alphabet);
    QString text;
    for (int i = 0; i < length; ++i)
        text += letters.at((i * 7 + shift) % letters.size());
    return text;
}

BarcodeElementSettings settingsFor(const char *title)
{
    BarcodeElementSettings s;
    s.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QLatin1String(title)));
    s.linear_or_2d = s.isTwoDimensional() ? 1 : 0;
    s.qr_size_val = 144;
    s.pdf_wdt_val = 300;
    s.pdf_hgt_val = 100;
    s.dm_module_val = 2;
    s.dpi_val_index = 0; // 600 dpi
    return s;
}

const std::vector<Keystroke> &keystrokes()
{
    static const std::vector<Keystroke> cases{
        {"EAN13", "EAN-13", {QStringLiteral("590123412345"), QStringLiteral("400638133393")}},
        {"Code128", "Code 128", {repeated("Festiloom card 0123456789", 20, 0), repeated("Festiloom card 0123456789", 20, 3)}},
        {"QR150", "QR Code", {repeated("abcdefghij klmnopqrstuvwxyz0123456789", 150, 0), repeated("abcdefghij klmnopqrstuvwxyz0123456789", 150, 5)}},
        {"PDF417_500", "PDF417", {repeated("Party guest list, row 0123456789; ", 500, 0), repeated("Party guest list, row 0123456789; ", 500, 2)}},
        {"DataMatrix100", "DataMatrix", {repeated("ABCDEFGHIJ0123456789-", 100, 0), repeated("ABCDEFGHIJ0123456789-", 100, 4)}},
    };
    return cases;
}

// The designer, opened on an element of settings `s`.
Barcode_Gen *designerFor(const BarcodeElementSettings &s)
{
    Barcode_Gen *gen = Barcode_Gen::defaultInstance();
    LMNBarcode element;
    s.applyTo(element);
    gen->Set_Barcode_Prop_To_Control(element);
    return gen;
}

// The value typed into the designer's data field of a 2D code or of a linear one.
void type(Barcode_Gen *gen, bool twoD, const QString &value)
{
    if (twoD)
        gen->ui.dataText_2D->setPlainText(value);
    else
        gen->ui.dataText->setText(value);
}

void keystroke(benchmark::State &state, const Keystroke &k)
{
    BarcodeElementSettings s = settingsFor(k.title);
    s.linear_font_val = s.two_d_font_val = k.values[0];
    Barcode_Gen *gen = designerFor(s);
    int i = 0;
    for (auto _ : state) {
        type(gen, s.isTwoDimensional(), k.values[++i % 2]);
        if (gen->currentPicture().isNull()) {
            state.SkipWithError(gen->ui.barcode_error_label->text().toStdString().c_str());
            break;
        }
    }
}

// One keystroke while the picture would be too large to keep: the refusal, with the sizes and
// resolution to choose instead searched by the generation's own checks. Goal: under 100 ms.
struct Refusal
{
    const char *name;
    const char *title;
    QString values[2];
    void (*tooLarge)(BarcodeElementSettings &);
};

const std::vector<Refusal> &refusals()
{
    static const std::vector<Refusal> cases{
        {"Code128", "Code 128", {repeated("0123456789", 60, 0), repeated("0123456789", 60, 3)},
         [](BarcodeElementSettings &s) {
             s.linear_height_val = 20.0f;
             s.linear_width_val = 100.0f;
         }},
        {"QR2000", "QR Code", {repeated("abcdefghij klmnopqrstuvwxyz0123456789", 2000, 0), repeated("abcdefghij klmnopqrstuvwxyz0123456789", 2000, 5)},
         [](BarcodeElementSettings &s) { s.qr_size_val = 2000; }},
        {"PDF417_500", "PDF417", {repeated("Party guest list, row 0123456789; ", 500, 0), repeated("Party guest list, row 0123456789; ", 500, 2)},
         [](BarcodeElementSettings &s) {
             s.pdf_wdt_val = 4000;
             s.pdf_hgt_val = 2000;
         }},
        {"DataMatrix1000", "DataMatrix", {repeated("ABCDEFGHIJ0123456789-", 1000, 0), repeated("ABCDEFGHIJ0123456789-", 1000, 4)},
         [](BarcodeElementSettings &s) { s.dm_module_val = 50; }},
    };
    return cases;
}

void refusal(benchmark::State &state, const Refusal &r)
{
    BarcodeElementSettings s = settingsFor(r.title);
    s.linear_font_val = s.two_d_font_val = r.values[0];
    s.dpi_val_index = int(BarcodeLists::resolutions().indexOf(QStringLiteral("Custom")));
    s.dpi_custom_val = QStringLiteral("2400");
    r.tooLarge(s);
    Barcode_Gen *gen = designerFor(s);
    int i = 0;
    for (auto _ : state) {
        type(gen, s.isTwoDimensional(), r.values[++i % 2]);
        if (!gen->currentPicture().isNull() || !gen->ui.barcode_error_label->text().contains(QStringLiteral("Choose "))) {
            state.SkipWithError("the picture was not refused with advice");
            break;
        }
    }
}

// Elements as the designer starts them (a 60-point QR Code), at 600 dpi.
const BarcodeElementSettings &generatorQr()
{
    static const BarcodeElementSettings qr = [] {
        BarcodeElementSettings s;
        s.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QStringLiteral("QR Code")));
        s.linear_or_2d = 1;
        return s;
    }();
    return qr;
}

const BarcodeElementSettings &generatorCode128()
{
    static const BarcodeElementSettings code128 = [] {
        BarcodeElementSettings s;
        s.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QStringLiteral("Code 128")));
        return s;
    }();
    return code128;
}

// Records as batch runs ask for them, a QR Code and a Code 128 per record, each with header and
// footer: every worker takes the next record number and makes its pictures, with no wait between
// records, until the run ends (batch export, printing and mail hand out records so; see
// BatchExportRun). One iteration is one record; Google Benchmark starts the workers once for a
// run and divides the run's wall time by the records of all of them, so the time column is the
// wall time per record and the CPU column the CPU time per record. Each run starts on fresh
// threads, whose first records also fill their font and glyph caches, as a batch run's do.
std::atomic<int> nextRecord{0};

void generator(benchmark::State &state)
{
    const BarcodeElementSettings &qr = generatorQr();
    const BarcodeElementSettings &code128 = generatorCode128();
    for (auto _ : state) {
        const int record = nextRecord.fetch_add(1, std::memory_order_relaxed);
        const QImage picture = BarcodeGenerator::picture(record % 2 ? qr : code128, QStringLiteral("guest %1").arg(record),
                                                         QStringLiteral("HEADER"), QStringLiteral("FOOTER"));
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const Keystroke &k : keystrokes())
        benchmark::RegisterBenchmark((std::string("Keystroke/") + k.name).c_str(),
                                     [&k](benchmark::State &state) { keystroke(state, k); })
            ->Unit(benchmark::kMillisecond);
    for (const Refusal &r : refusals())
        benchmark::RegisterBenchmark((std::string("Refusal/") + r.name).c_str(),
                                     [&r](benchmark::State &state) { refusal(state, r); })
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Generator", generator)->Threads(1)->Threads(4)->UseRealTime()->Unit(benchmark::kMicrosecond);
    BenchRatios::registerArithmeticAlone();
    benchmark::Initialize(&argc, argv);
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nGenerator pictures of a record (bytes each picture holds):\n");
    for (const BarcodeElementSettings *settings : {&generatorQr(), &generatorCode128()}) {
        const QImage picture = BarcodeGenerator::picture(*settings, QStringLiteral("guest 0"), QStringLiteral("HEADER"),
                                                         QStringLiteral("FOOTER"));
        std::printf("  %-10s %d x %d pixels, %d bits a pixel, %lld bytes\n",
                    qPrintable(settings->title()), picture.width(), picture.height(), picture.depth(),
                    static_cast<long long>(picture.sizeInBytes()));
    }
    std::printf("\nGenerator records, wall time a record on one thread over that on four (goal: 3.5 or more)\n");
    reporter.printRatio("four threads over one", "Generator", "Generator/threads:4", "1 and 4 threads");
    reporter.printArithmeticRatio();
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
