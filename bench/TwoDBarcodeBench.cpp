// Our QR Code, PDF417 and DataMatrix encoders against libzint on the same contents: the module
// grid alone, and the grid turned into a bitmap of the same pixel size as zint's.
// After the runs the ratios ours / zint are printed (goal: 1.0 or less).

#include "barcode/datamatrix/DataMatrixEncoder.h"
#include "barcode/datamatrix/DataMatrixPicture.h"
#include "barcode/pdf417/PDF417Encoder.h"
#include "barcode/qr/QREncoder.h"
#include "barcode/pdf417/pdf417View.h"

#include <benchmark/benchmark.h>
#include <zint.h>

#include "BenchRatios.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

QByteArray textOf(int length, unsigned seed)
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 .,;:!?-";
    std::mt19937 random(seed);
    QByteArray text(length, ' ');
    for (auto &c : text)
        c = alphabet[std::uniform_int_distribution<int>(0, int(sizeof(alphabet)) - 2)(random)];
    return text;
}

struct ZintSymbol {
    std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol{ZBarcode_Create(), ZBarcode_Delete};
};

// One zint encoding; `buffer` also renders the bitmap. Returns the bitmap size.
std::pair<int, int> zintEncode(int symbology, int option1, int option2, const QByteArray &data, bool buffer)
{
    ZintSymbol z;
    z.symbol->symbology = symbology;
    z.symbol->option_1 = option1;
    z.symbol->option_2 = option2;
    z.symbol->input_mode = DATA_MODE;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const int result = buffer ? ZBarcode_Encode_and_Buffer(z.symbol.get(), bytes, int(data.size()), 0)
                              : ZBarcode_Encode(z.symbol.get(), bytes, int(data.size()));
    if (result >= ZINT_ERROR)
        std::fprintf(stderr, "zint: %s\n", z.symbol->errtxt);
    return {z.symbol->bitmap_width, z.symbol->bitmap_height};
}

struct Case {
    const char *name;
    int symbology;
    int option1;
    int option2;
    QByteArray data;
};

void zintGrid(benchmark::State &state, const Case &c)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zintEncode(c.symbology, c.option1, c.option2, c.data, false));
}

void zintPicture(benchmark::State &state, const Case &c)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zintEncode(c.symbology, c.option1, c.option2, c.data, true));
}

void ourQrGrid(benchmark::State &state, const Case &c)
{
    const int level = c.option1 - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(QREncoder::encodeCStringWithECLevel(level, c.option2, c.data));
}

void ourQrPicture(benchmark::State &state, const Case &c)
{
    const int level = c.option1 - 1;
    const int side = zintEncode(c.symbology, c.option1, c.option2, c.data, true).first;
    for (auto _ : state) {
        const ModuleGrid grid = QREncoder::encodeCStringWithECLevel(level, c.option2, c.data);
        benchmark::DoNotOptimize(QREncoder::renderDataMatrix(grid, side, 72.0));
    }
}

PDF417::pdf417param pdfEncode(const Case &c)
{
    PDF417::pdf417param p;
    PDF417::pdf417init(p);
    p.text = c.data;
    p.options = PDF417::UseErrorLevel;
    p.errorLevel = c.option1;
    p.aspectRatio = 1.0f;
    PDF417::paintCode(p);
    return p;
}

void ourPdfGrid(benchmark::State &state, const Case &c)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(pdfEncode(c).outBits.width());
}

void ourPdfPicture(benchmark::State &state, const Case &c)
{
    const auto size = zintEncode(c.symbology, c.option1, c.option2, c.data, true);
    for (auto _ : state) {
        const PDF417::pdf417param p = pdfEncode(c);
        benchmark::DoNotOptimize(pdf417View::makePicture(p.outBits, QSizeF(size.first, size.second), 72.0));
    }
}

ModuleGrid dmEncode(const Case &c)
{
    int W = 0;
    int H = 0;
    std::optional<QByteArray> encoding;
    return DataMatrixEncoder::iec16022ecc200(W, H, encoding, c.data);
}

void ourDmGrid(benchmark::State &state, const Case &c)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(dmEncode(c));
}

void ourDmPicture(benchmark::State &state, const Case &c)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(DataMatrixPicture::makeImage(dmEncode(c), 2, 72.0));
}

} // namespace

int main(int argc, char **argv)
{
    // QImage painting wants a Gui application; without a display, a headless one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Zint's options: QR level 1-4 (L-H) and version; PDF417 error correction level.
    static const Case all[] = {
        {"QR_10M_150", BARCODE_QRCODE, 2, 10, textOf(150, 1)},
        {"QR_40L_2900", BARCODE_QRCODE, 1, 40, textOf(2900, 2)},
        {"PDF417_500_L5", BARCODE_PDF417, 5, 0, textOf(500, 3)},
        {"DataMatrix_100", BARCODE_DATAMATRIX, 0, 0, textOf(100, 4)},
        {"DataMatrix_1500", BARCODE_DATAMATRIX, 0, 0, textOf(1500, 5)},
    };
    const Case *cases[] = {&all[0], &all[1], &all[2], &all[3], &all[4]};
    for (const Case *c : cases) {
        const std::string name = c->name;
        auto grid = c->symbology == BARCODE_QRCODE ? ourQrGrid : (c->symbology == BARCODE_PDF417 ? ourPdfGrid : ourDmGrid);
        auto picture = c->symbology == BARCODE_QRCODE ? ourQrPicture
                                                      : (c->symbology == BARCODE_PDF417 ? ourPdfPicture : ourDmPicture);
        benchmark::RegisterBenchmark((name + "/grid/ours").c_str(), grid, *c)->UseRealTime();
        benchmark::RegisterBenchmark((name + "/grid/zint").c_str(), zintGrid, *c)->UseRealTime();
        benchmark::RegisterBenchmark((name + "/picture/ours").c_str(), picture, *c)->UseRealTime();
        benchmark::RegisterBenchmark((name + "/picture/zint").c_str(), zintPicture, *c)->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nours / zint (goal <= 1.0)\n");
    for (const Case *c : cases) {
        for (const char *stage : {"grid", "picture"}) {
            const std::string base = std::string(c->name) + "/" + stage + "/";
            reporter.printRatio(std::string(c->name) + " " + stage, base + "ours", base + "zint");
        }
    }
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
