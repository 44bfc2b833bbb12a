// Our encode-and-render of linear barcodes against libzint doing the same work to a bitmap:
// the symbol with its human-readable text, at the same pixels per module and on a bitmap of
// the same size (600 dpi for us; zint's scale, bar height and quiet zone set so that its bitmap
// comes out as wide and as high as ours, to within a module). Prints both bitmap sizes and our
// time over zint's for each symbology.
//
// zint never prints text under a Royal Mail code, whereas our pictures always do: there we
// draw a caption that zint does not.

#include "barcode/BarcodeSizes.h"
#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <zint.h>

#include "BenchRatios.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

struct Symbology
{
    const char *name;
    const char *title;
    int zintSymbology;
    const char *values[4];
};

constexpr Symbology kSymbologies[] = {
    {"EAN13", "EAN-13", BARCODE_EANX, {"590123412345", "400638133393", "978014300723", "123456789012"}},
    {"Code128", "Code 128", BARCODE_CODE128,
     {"Festiloom card 00001", "Party invite #000042", "HAPPY-BIRTHDAY-2024!", "guest list row 12345"}},
    {"Code39", "Code 39", BARCODE_CODE39, {"CARD-0042", "INVITE 2024", "GUEST-12345", "TABLE.7/$+%"}},
    {"ITF", "Interleaved 2 of 5", BARCODE_C25INTER, {"12345678", "00420042", "98765432101234", "1357924680"}},
    {"RoyalMail", "Royal Mail Barcode (RM4SCC / CBC)", BARCODE_RM4SCC, {"SN34RD1A", "LS14BA", "EC1A1BB", "W1A0AX"}},
};

QImage oursPicture(const Symbology &symbology, const char *value, NKDBarcode **made = nullptr)
{
    static thread_local std::unique_ptr<NKDBarcode> barcode;
    barcode = LinearBarcodes::create(QString::fromLatin1(symbology.title), QString::fromLatin1(value), true);
    if (!barcode || !barcode->isContentValid())
        return {};
    barcode->setCaptionFontSize(10);
    BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
    barcode->setWidth(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, BarcodeSizeFields{}));
    if (made)
        *made = barcode.get();
    return NKDBarcodeOffscreenView::imageFromBarcode(barcode.get());
}

// zint's scale, bar height (in modules) and quiet zone (modules each side) for bitmaps like ours.
struct ZintSize
{
    float scale = 4.0f;
    float height = 50.0f;
    int whitespace = 0;
};

zint_symbol *zintSymbol(const Symbology &symbology, const ZintSize &size)
{
    zint_symbol *symbol = ZBarcode_Create();
    symbol->symbology = symbology.zintSymbology;
    symbol->scale = size.scale;
    symbol->height = size.height;
    symbol->whitespace_width = size.whitespace;
    symbol->show_hrt = 1;
    return symbol;
}

// zint's bitmap of the first value: width and height in pixels.
QSize zintBitmapSize(const Symbology &symbology, const ZintSize &size)
{
    zint_symbol *symbol = zintSymbol(symbology, size);
    const int error = ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char *>(symbology.values[0]),
                                                 int(std::char_traits<char>::length(symbology.values[0])), 0);
    const QSize bitmap = error >= ZINT_ERROR ? QSize() : QSize(symbol->bitmap_width, symbol->bitmap_height);
    ZBarcode_Delete(symbol);
    return bitmap;
}

ZintSize zintSizeLikeOurs(const Symbology &symbology)
{
    NKDBarcode *barcode = nullptr;
    const QImage picture = oursPicture(symbology, symbology.values[0], &barcode);
    ZintSize size;
    if (!barcode)
        return size;
    const double modulePixels = barcode->barWidth() * 600.0 / 72.0;
    size.scale = float(modulePixels / 2.0);  // zint draws two pixels a module at scale 1
    size.height = float(picture.height() / modulePixels);
    // zint adds its text band, guard bars and quiet zones of its own choosing to what it is
    // given: close in on our size from its answers.
    for (int pass = 0; pass < 4; ++pass) {
        const QSize bitmap = zintBitmapSize(symbology, size);
        if (bitmap.isEmpty())
            break;
        size.whitespace = std::max(0, size.whitespace + int(std::lround((picture.width() - bitmap.width()) / (2.0 * modulePixels))));
        size.height = std::max(1.0f, size.height + float((picture.height() - bitmap.height()) / modulePixels));
    }
    return size;
}

void oursEncodeAndRender(benchmark::State &state, const Symbology &symbology)
{
    int i = 0;
    for (auto _ : state) {
        const QImage picture = oursPicture(symbology, symbology.values[i++ % 4]);
        if (picture.isNull()) {
            state.SkipWithError("refused");
            break;
        }
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void zintEncodeAndRender(benchmark::State &state, const Symbology &symbology)
{
    const ZintSize size = zintSizeLikeOurs(symbology);
    int i = 0;
    for (auto _ : state) {
        const char *value = symbology.values[i++ % 4];
        zint_symbol *symbol = zintSymbol(symbology, size);
        const int error = ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char *>(value),
                                                     int(std::char_traits<char>::length(value)), 0);
        if (error >= ZINT_ERROR) {
            ZBarcode_Delete(symbol);
            state.SkipWithError("zint refused");
            break;
        }
        benchmark::DoNotOptimize(symbol->bitmap);
        ZBarcode_Delete(symbol);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (const Symbology &symbology : kSymbologies) {
        benchmark::RegisterBenchmark((std::string("Ours/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { oursEncodeAndRender(state, symbology); })
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("Zint/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { zintEncodeAndRender(state, symbology); })
            ->UseRealTime();
    }
    for (const Symbology &symbology : kSymbologies) {
        const QImage ours = oursPicture(symbology, symbology.values[0]);
        const QSize zint = zintBitmapSize(symbology, zintSizeLikeOurs(symbology));
        std::printf("%-10s ours %d x %d pixels of %d bits, zint %d x %d pixels\n", symbology.name, ours.width(),
                    ours.height(), ours.depth(), zint.width(), zint.height());
    }
    benchmark::Initialize(&argc, argv);
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nOur time over zint's (goal: 1.0 or less)\n");
    for (const Symbology &symbology : kSymbologies)
        reporter.printRatio(symbology.name, std::string("Ours/") + symbology.name, std::string("Zint/") + symbology.name);
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
