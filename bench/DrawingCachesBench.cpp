// What the per-thread drawing caches (DrawingCaches: stroke and text masks, kept barcode
// pictures) save or cost, measured with the caches on and off in one run (DrawingCaches::
// setEnabled; FESTILOOM_DRAWING_CACHES=off turns them off for a whole program):
//
//  - distinct designs: a seeded set of 220 random designs of every element kind (text, shapes,
//    lines, pictures, barcodes, signatures; solid, dashed and dotted strokes, fills, letter
//    spacing) rendered at 300 dpi as an export renders them, each side once, on a thread that
//    has drawn nothing (BM_DistinctDesignsExported), and the same designs drawn again, their
//    elements keeping their processed pictures (BM_DistinctDesignsDrawnAgain);
//  - 20 of those designs 15 times each (BM_FewDesignsManyCopies), at 300 and 600 dpi;
//  - one design drawn for 1,000 records, a name changing on every card (BM_OneDesignForRecords).
//
// Every iteration runs on a new thread, whose caches hold nothing. At the end the ratios caches on
// over caches off are printed beside the goals: at most 1.02 on distinct designs, at most 0.5
// for the records.
//
//   bash scripts/build.sh bench
//   taskset -c 2 build/bench/bench/bench_DrawingCachesBench --benchmark_repetitions=3
//       --benchmark_enable_random_interleaving=true

#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNRenderingView.h"
#include "document/LMNSignature.h"
#include "document/LMNText.h"
#include "document/Shape_Control.h"

#include <QDir>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchPictures.h"
#include "BenchRatios.h"

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

// The program also builds against a tree without the switch (to measure that tree's caches,
// which are always on, in the same sitting): there the caches-off rows are skipped.
#if __has_include("document/DrawingCaches.h")
#include "document/DrawingCaches.h"
constexpr bool kHasSwitch = true;
#else
namespace DrawingCaches {
inline void setEnabled(bool) {}
} // namespace DrawingCaches
constexpr bool kHasSwitch = false;
#endif

namespace {

const QSizeF kCardSize(243, 154);
constexpr int kDesigns = 220;
constexpr int kRecords = 1000;

struct Design
{
    GraphicList front;
    GraphicList back; // empty for a one-sided card
};

struct Corpus
{
    QTemporaryDir folder;
    std::vector<Design> designs;
    QString resources;
};

QColor randomColour(QRandomGenerator &random, bool translucent)
{
    return QColor(int(random.bounded(256)), int(random.bounded(256)), int(random.bounded(256)),
                  translucent && random.bounded(3) == 0 ? 60 + int(random.bounded(180)) : 255);
}

QRectF randomBounds(QRandomGenerator &random, double least, double most)
{
    const double width = least + random.bounded(most - least);
    const double height = least * 0.6 + random.bounded((most - least) * 0.6);
    return QRectF(random.bounded(std::max(1.0, kCardSize.width() - width)),
                  random.bounded(std::max(1.0, kCardSize.height() - height)), width, height);
}

void randomStroke(LMNGraphic &element, QRandomGenerator &random)
{
    static const QStringList borders{QStringLiteral("S"), QStringLiteral("DA"), QStringLiteral("DO"), QStringLiteral("DD")};
    element._isDrawingStroke = random.bounded(4) != 0;
    element._strokeColor = randomColour(random, true);
    element._strokeWidth = 0.5 + random.bounded(4.0);
    element._stroke_border_type = borders.at(int(random.bounded(borders.size())));
    element._line_cap_style = int(random.bounded(3));
    element.alpha_val_stroke = random.bounded(5) == 0 ? 40.0f + float(random.bounded(60.0)) : 100.0f;
}

std::shared_ptr<LMNGraphic> randomElement(QRandomGenerator &random, const Corpus &corpus)
{
    static const QStringList fonts{QStringLiteral("LiberationSans"),        QStringLiteral("LiberationSerif-Italic"),
                                   QStringLiteral("LiberationSans-Bold"),   QStringLiteral("TimesNewRomanPS-BoldItalicMT"),
                                   QStringLiteral("ArialMT"),               QStringLiteral("LiberationMono")};
    static const QStringList words{QStringLiteral("Happy Birthday"), QStringLiteral("Anna & Tom"),
                                   QStringLiteral("Join us for cake, games and laughter"),
                                   QStringLiteral("Saturday 14 June, 3 pm"), QStringLiteral("\u03a7\u03c1\u03cc\u03bd\u03b9\u03b1 \u03c0\u03bf\u03bb\u03bb\u03ac"),
                                   QStringLiteral("Welcome!"), QStringLiteral("RSVP by 1 June")};
    static const QStringList shapes{QStringLiteral("R"), QStringLiteral("C"), QStringLiteral("RR"), QStringLiteral("T"),
                                    QStringLiteral("D"), QStringLiteral("S"), QStringLiteral("DS"), QStringLiteral("P")};
    static const QStringList fills{QStringLiteral("S"), QStringLiteral("G"), QStringLiteral("H")};
    const int kind = int(random.bounded(12));
    if (kind < 4) {
        auto t = std::make_shared<LMNText>();
        t->setText(words.at(int(random.bounded(words.size()))) + QStringLiteral(" %1").arg(random.bounded(1000)));
        t->setBounds(randomBounds(random, 40, 220));
        t->text_ctrl_font = CardFont(fonts.at(int(random.bounded(fonts.size()))), 6 + random.bounded(30.0));
        t->text_alignmnet = int(random.bounded(4));
        t->text_kerning = random.bounded(4) == 0 ? float(random.bounded(3.0) - 1.0) : 0.0f;
        t->txt_clr = randomColour(random, true);
        randomStroke(*t, random);
        t->_isDrawingStroke = random.bounded(5) == 0;
        t->_isDrawingFill = random.bounded(6) == 0;
        t->_fillColor = randomColour(random, true);
        return t;
    }
    if (kind < 8) {
        auto s = std::make_shared<Shape_Control>();
        s->_shape_type = shapes.at(int(random.bounded(shapes.size())));
        s->setBounds(randomBounds(random, 10, 120));
        s->_isDrawingFill = random.bounded(3) != 0;
        s->_fill_type = fills.at(int(random.bounded(fills.size())));
        s->_fillColor = randomColour(random, true);
        s->_fill_Grad_clr1 = randomColour(random, false);
        s->_fill_Grad_clr2 = randomColour(random, false);
        s->_fill_grad_angle = random.bounded(360.0);
        s->_fill_htch_clr = randomColour(random, false);
        s->_fill_hatch_type = QStringLiteral("Diagonal");
        s->cor_rad_val_val = float(2 + random.bounded(20.0));
        s->double_star_type = 5 + int(random.bounded(8));
        s->polygon_type = 3 + int(random.bounded(8));
        s->alpha_val = random.bounded(4) == 0 ? 30.0f + float(random.bounded(70.0)) : 100.0f;
        randomStroke(*s, random);
        return s;
    }
    if (kind < 10) {
        auto l = std::make_shared<LMNLine>();
        l->_line_ori = int(random.bounded(4));
        const QRectF bounds = randomBounds(random, 20, 200);
        l->setBounds(l->_line_ori == 0 ? QRectF(bounds.topLeft(), QSizeF(bounds.width(), 0))
                     : l->_line_ori == 1 ? QRectF(bounds.topLeft(), QSizeF(0, bounds.height()))
                                         : bounds);
        randomStroke(*l, random);
        l->_isDrawingStroke = true;
        return l;
    }
    if (kind == 10) {
        const bool signature = random.bounded(3) == 0;
        const QString file = QDir(corpus.folder.path()).filePath(QStringLiteral("picture%1.png").arg(random.bounded(4)));
        if (signature) {
            auto s = std::make_shared<LMNSignature>();
            s->setFilePath(file);
            s->setBounds(randomBounds(random, 30, 90));
            randomStroke(*s, random);
            return s;
        }
        auto i = std::make_shared<LMNImage>();
        i->setFilePath(file);
        i->setBounds(randomBounds(random, 30, 110));
        i->rotate_image = random.bounded(4) == 0 ? float(random.bounded(40.0) - 20.0) : 0.0f;
        i->gray_Scale = random.bounded(5) == 0;
        i->img_trnsp_val = random.bounded(4) == 0 ? 60.0f : 100.0f;
        randomStroke(*i, random);
        return i;
    }
    // A grey barcode picture of 600 dpi, its own bars for every design.
    QImage bars(960, 300, QImage::Format_Grayscale8);
    bars.fill(255);
    for (int x = 30; x < 930; x += 5)
        if (random.bounded(2))
            for (int y = 10; y < 260; ++y)
                std::fill_n(bars.scanLine(y) + x, 5, uchar(0));
    bars.setDotsPerMeterX(23622);
    bars.setDotsPerMeterY(23622);
    auto barcode = std::make_shared<LMNBarcode>();
    barcode->setBounds(QRectF(random.bounded(100.0), random.bounded(100.0), 115, 36));
    barcode->Set_Barcode_image(bars);
    randomStroke(*barcode, random);
    barcode->_isDrawingStroke = random.bounded(4) == 0;
    return barcode;
}

Corpus &corpus()
{
    static Corpus *instance = [] {
        auto *c = new Corpus;
        const QDir dir(c->folder.path());
        for (int i = 0; i < 4; ++i)
            BenchPictures::photo(400 + 100 * i, 300 + 80 * i, i + 1).save(dir.filePath(QStringLiteral("picture%1.png").arg(i)));
        dir.mkpath(QStringLiteral("Fill_Style_Image"));
        QImage hatch(8, 8, QImage::Format_ARGB32);
        hatch.fill(Qt::transparent);
        for (int i = 0; i < 8; ++i)
            hatch.setPixel(i, 7 - i, qRgb(40, 120, 40));
        hatch.save(dir.filePath(QStringLiteral("Fill_Style_Image/Diagonal.png")));
        c->resources = c->folder.path();
        QRandomGenerator random(20261207);
        for (int d = 0; d < kDesigns; ++d) {
            Design design;
            const int elements = 6 + int(random.bounded(14));
            for (int e = 0; e < elements; ++e)
                design.front.append(randomElement(random, *c));
            if (random.bounded(3) == 0)
                for (int e = 0; e < 4 + int(random.bounded(8)); ++e)
                    design.back.append(randomElement(random, *c));
            c->designs.push_back(std::move(design));
        }
        return c;
    }();
    return *instance;
}

LMNRenderingView viewAt(double dpi)
{
    DrawContext context;
    context.resourcePath = corpus().resources;
    LMNRenderingView view(kCardSize, {}, context);
    view.setResolution(dpi);
    return view;
}

// Renders every side of the designs `copies` times each, from one fresh copy of each design (as
// an export of a design just opened; a batch draws the same elements for every record, which
// keep their processed pictures from one card to the next), or from the designs' own elements
// (as a design drawn again).
int renderDesigns(const LMNRenderingView &view, int first, int count, int copies, bool fresh = true)
{
    int sides = 0;
    const std::vector<Design> &designs = corpus().designs;
    for (int d = first; d < first + count; ++d) {
        for (const GraphicList *side : {&designs[std::size_t(d)].front, &designs[std::size_t(d)].back}) {
            if (side->isEmpty())
                continue;
            const GraphicList elements = fresh ? LMNRenderingView::snapshot(*side) : *side;
            for (int copy = 0; copy < copies; ++copy) {
                QImage picture = view.image_From_Card_Graphics(elements);
                benchmark::DoNotOptimize(picture.constBits());
                ++sides;
            }
        }
    }
    return sides;
}

// Runs `untimed` and then `timed` on a new thread, whose caches hold nothing, with the caches as
// the benchmark's first argument says; the iteration's time is that of `timed`.
template<typename Untimed, typename Timed>
void onFreshThread(benchmark::State &state, Untimed untimed, Timed timed)
{
    const bool on = state.range(0) != 0;
    if (!on && !kHasSwitch) {
        state.SkipWithError("no switch in this tree");
        return;
    }
    for (auto _ : state) {
        DrawingCaches::setEnabled(on);
        double seconds = 0.0;
        std::thread([&] {
            untimed();
            const auto start = std::chrono::steady_clock::now();
            timed();
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }).join();
        DrawingCaches::setEnabled(true);
        state.SetIterationTime(seconds);
    }
}

void BM_DistinctDesignsExported(benchmark::State &state)
{
    const LMNRenderingView view = viewAt(300);
    int sides = 0;
    onFreshThread(state, [] {}, [&] { sides = renderDesigns(view, 0, kDesigns, 1); });
    state.counters["sides"] = sides;
}
BENCHMARK(BM_DistinctDesignsExported)->ArgName("caches")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_DistinctDesignsDrawnAgain(benchmark::State &state)
{
    const LMNRenderingView view = viewAt(300);
    const auto all = [&] { renderDesigns(view, 0, kDesigns, 1, false); };
    onFreshThread(state, all, all);
}
BENCHMARK(BM_DistinctDesignsDrawnAgain)->ArgName("caches")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// 20 designs, 15 copies of each in turn, as 20 batches of 15 cards; at 300 and 600 dpi.
void BM_FewDesignsManyCopies(benchmark::State &state)
{
    const LMNRenderingView view = viewAt(double(state.range(1)));
    onFreshThread(state, [] {}, [&] { renderDesigns(view, 0, 20, 15); });
}
BENCHMARK(BM_FewDesignsManyCopies)
    ->ArgNames({"caches", "dpi"})
    ->Args({1, 300})->Args({0, 300})->Args({1, 600})->Args({0, 600})
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// One design for 1,000 records: every card the same but for a guest's name, of 14 points (58
// pixels at 300 dpi, inside Qt's own glyph cache) or of 24 points (100 pixels: Qt fills every
// new name from its outlines, caches on or off).
void BM_OneDesignForRecords(benchmark::State &state)
{
    const LMNRenderingView view = viewAt(300);
    const Design &design = corpus().designs[3];
    auto name = std::make_shared<LMNText>();
    name->setBounds(QRectF(20, 60, 200, 40));
    name->text_ctrl_font = CardFont(QStringLiteral("LiberationSerif-Italic"), double(state.range(1)));
    name->_isDrawingStroke = false;
    onFreshThread(state, [] {}, [&] {
        const GraphicList elements = LMNRenderingView::snapshot(design.front);
        for (int record = 0; record < kRecords; ++record) {
            GraphicList card = elements;
            auto named = std::make_shared<LMNText>(*name);
            named->setText(QStringLiteral("Dear guest no. %1").arg(record + 1));
            card.append(named);
            QImage picture = view.image_From_Card_Graphics(card);
            benchmark::DoNotOptimize(picture.constBits());
        }
    });
}
BENCHMARK(BM_OneDesignForRecords)
    ->ArgNames({"caches", "name_pt"})
    ->Args({1, 14})->Args({0, 14})->Args({1, 24})->Args({0, 24})
    ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    corpus(); // the designs and pictures before any timing
    // Qt's fonts and its own caches of them are loaded once per process: by a drawing of every
    // design, on a thread of its own, before the first timing, so that whichever row runs first
    // does not pay for them.
    std::thread([] { renderDesigns(viewAt(300), 0, kDesigns, 1); }).join();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nCaches on over caches off (goals: at most 1.02 for distinct designs, at most 0.5 for the records)\n");
    reporter.printRatio("220 distinct designs exported", "BM_DistinctDesignsExported/caches:1", "BM_DistinctDesignsExported/caches:0");
    reporter.printRatio("the same drawn again", "BM_DistinctDesignsDrawnAgain/caches:1", "BM_DistinctDesignsDrawnAgain/caches:0");
    reporter.printRatio("20 designs x 15 copies, 300 dpi", "BM_FewDesignsManyCopies/caches:1/dpi:300",
                        "BM_FewDesignsManyCopies/caches:0/dpi:300");
    reporter.printRatio("20 designs x 15 copies, 600 dpi", "BM_FewDesignsManyCopies/caches:1/dpi:600",
                        "BM_FewDesignsManyCopies/caches:0/dpi:600");
    reporter.printRatio("one design for 1,000 records, 14 pt name", "BM_OneDesignForRecords/caches:1/name_pt:14",
                        "BM_OneDesignForRecords/caches:0/name_pt:14");
    reporter.printRatio("one design for 1,000 records, 24 pt name", "BM_OneDesignForRecords/caches:1/name_pt:24",
                        "BM_OneDesignForRecords/caches:0/name_pt:24");
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
