// Our encode-and-render of linear barcodes against libzint doing the same work to a bitmap:
// the symbol with its human-readable text, at the same pixels per module and on a bitmap of
// the same size (600 dpi for us; zint's scale, bar height and quiet zone set so that its bitmap
// comes out as wide and as high as ours, to within a module). Prints both bitmap sizes and our
// time over zint's for each symbology.
//
// zint never prints text under a Royal Mail code, whereas our pictures always do: there we
// draw a caption that zint does not.
//
// Each symbology is measured twice: cycling four values (Ours/, Zint/), as a batch meets a
// value it drew a little before, and with a new value at every iteration (OursNew/, ZintNew/),
// as the records of a batch have them; new values never repeat, not even across repetitions.
// Beside them the caption alone, a new one every iteration, at the caption's 83 pixels
// (10 points at 600 dpi): drawn by us as the picture draws it (CaptionOurs/, on an 8-bit grey
// picture) and by plain QPainter::drawText on a 32-bit picture (CaptionQt/) through the same
// scale as ours, which fills large glyphs from their outlines every time: the least exact
// pixels of text drawn once can cost. Beside it Qt drawing an 83-pixel font on an unscaled
// painter (CaptionQtUnscaled/): cheaper in Qt, but other pixels than our pictures have.

#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <zint.h>

#include "BenchRatios.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

// A value never used before in this process, valid for the symbology.
std::string newValue(const Symbology &symbology)
{
    static unsigned long long counter = 0;
    const unsigned long long n = ++counter;
    char text[64];
    const std::string name = symbology.name;
    if (name == "EAN13")
        std::snprintf(text, sizeof text, "%012llu", 100000000000ull + n * 7919ull);
    else if (name == "Code128")
        std::snprintf(text, sizeof text, "Festiloom card %06llu", n);
    else if (name == "Code39")
        std::snprintf(text, sizeof text, "CARD-%07llu", n);
    else if (name == "ITF")
        std::snprintf(text, sizeof text, "%014llu", 10000000000000ull + n * 104729ull);
    else {
        // Royal Mail: letters and digits.
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::string code = "SN";
        for (unsigned long long v = n; code.size() < 8; v /= 36)
            code += alphabet[v % 36];
        return code;
    }
    return text;
}

void oursNewValues(benchmark::State &state, const Symbology &symbology)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::string value = newValue(symbology);
        state.ResumeTiming();
        const QImage picture = oursPicture(symbology, value.c_str());
        if (picture.isNull()) {
            state.SkipWithError("refused");
            break;
        }
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void zintNewValues(benchmark::State &state, const Symbology &symbology)
{
    const ZintSize size = zintSizeLikeOurs(symbology);
    for (auto _ : state) {
        state.PauseTiming();
        const std::string value = newValue(symbology);
        state.ResumeTiming();
        zint_symbol *symbol = zintSymbol(symbology, size);
        const int error = ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char *>(value.c_str()),
                                                     int(value.size()), 0);
        if (error >= ZINT_ERROR) {
            ZBarcode_Delete(symbol);
            state.SkipWithError("zint refused");
            break;
        }
        benchmark::DoNotOptimize(symbol->bitmap);
        ZBarcode_Delete(symbol);
    }
}

// The caption of a new value, alone, on a picture as large as the barcode's: ours as the
// barcode picture draws it (an 8-bit grey picture, 10 points at 600 dpi), or Qt's drawText.
enum class CaptionBy { Ours, Qt, QtUnscaled };

void captionOnce(benchmark::State &state, const Symbology &symbology, CaptionBy by)
{
    const bool byQt = by != CaptionBy::Ours;
    const QImage sized = oursPicture(symbology, symbology.values[0]);
    const CardFont font(QStringLiteral("TimesNewRomanPSMT"), 10);
    QImage picture(sized.size(), byQt ? QImage::Format_ARGB32_Premultiplied : QImage::Format_Grayscale8);
    picture.setDotsPerMeterX(23622);
    picture.setDotsPerMeterY(23622);
    // 83 pixels: 1.2 points at 600 dots an inch scaled by 600/72 as ours, or 10 points on the
    // unscaled picture.
    const bool scaled = by == CaptionBy::Qt;
    const QFont qtFont = BarcodeText::fontFor(font, scaled ? &picture : nullptr);
    const double scale = 600.0 / 72.0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString value = QString::fromStdString(newValue(symbology));
        picture.fill(Qt::white);
        state.ResumeTiming();
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        if (byQt && scaled) {
            painter.scale(scale, scale);
            painter.setFont(qtFont);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(3.0, picture.height() / scale - 3.0), value);
        } else if (byQt) {
            painter.setFont(qtFont);
            painter.setPen(Qt::black);
            painter.drawText(QPointF(3.0 * scale, picture.height() - 3.0 * scale), value);
        } else {
            painter.scale(scale, scale);
            BarcodeText::drawAtPoint(painter, value, font, Qt::black, 0.0, QPointF(3.0, picture.height() / scale - 1.0));
        }
        painter.end();
        benchmark::DoNotOptimize(picture.constBits());
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
        benchmark::RegisterBenchmark((std::string("OursNew/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { oursNewValues(state, symbology); })
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("ZintNew/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { zintNewValues(state, symbology); })
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("CaptionOurs/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { captionOnce(state, symbology, CaptionBy::Ours); })
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("CaptionQt/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { captionOnce(state, symbology, CaptionBy::Qt); })
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("CaptionQtUnscaled/") + symbology.name).c_str(),
                                     [&symbology](benchmark::State &state) { captionOnce(state, symbology, CaptionBy::QtUnscaled); })
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
    std::printf("\nOur time over zint's, four values cycled (goal: 1.0 or less)\n");
    for (const Symbology &symbology : kSymbologies)
        reporter.printRatio(symbology.name, std::string("Ours/") + symbology.name, std::string("Zint/") + symbology.name);
    std::printf("\nOur time over zint's, a new value every time\n");
    for (const Symbology &symbology : kSymbologies)
        reporter.printRatio(symbology.name, std::string("OursNew/") + symbology.name, std::string("ZintNew/") + symbology.name);
    std::printf("\nA new caption alone: ours over plain QPainter drawing it once (goal: 1.0 or less)\n");
    for (const Symbology &symbology : kSymbologies)
        reporter.printRatio(symbology.name, std::string("CaptionOurs/") + symbology.name,
                            std::string("CaptionQt/") + symbology.name);
    std::printf("\nThe same over Qt drawing it with an 83-pixel font on an unscaled painter (other pixels)\n");
    for (const Symbology &symbology : kSymbologies)
        reporter.printRatio(symbology.name, std::string("CaptionOurs/") + symbology.name,
                            std::string("CaptionQtUnscaled/") + symbology.name);
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
