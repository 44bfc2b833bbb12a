// Renders one two-sided card of 20 mixed elements (text, shapes, lines, two pictures with
// effects, a barcode picture) at 300 dpi into QImage: on one thread, and on two and four
// threads at once to see how rendering scales (the speed-ups are printed at the end).
//
//   bash scripts/build.sh bench && QT_QPA_PLATFORM=offscreen build/bench/bench/bench_RenderBench

#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNLine.h"
#include "document/LMNRenderingView.h"
#include "document/LMNText.h"
#include "document/Shape_Control.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "BenchPictures.h"
#include "BenchRatios.h"

#include <cmath>

#include <sys/resource.h>

namespace {

constexpr double kDpi = 300.0;
const QSizeF kCardSize(243, 154); // the default card

struct Card
{
    QTemporaryDir folder;
    GraphicList front;
    GraphicList back;
};

using BenchPictures::photo;

std::shared_ptr<LMNText> text(const QString &value, const QRectF &bounds, const QString &font, double size, int align)
{
    auto t = std::make_shared<LMNText>();
    t->setText(value);
    t->setBounds(bounds);
    t->text_ctrl_font = CardFont(font, size);
    t->text_alignmnet = align;
    t->_isDrawingStroke = false;
    return t;
}

std::shared_ptr<Shape_Control> shape(const QString &code, const QRectF &bounds, const QString &fill)
{
    auto s = std::make_shared<Shape_Control>();
    s->_shape_type = code;
    s->setBounds(bounds);
    s->_isDrawingFill = true;
    s->_fill_type = fill;
    s->_fillColor = QColor(250, 200, 80);
    s->_fill_Grad_clr1 = QColor(255, 120, 160);
    s->_fill_Grad_clr2 = QColor(120, 160, 255);
    s->_fill_grad_angle = 35;
    s->_fill_htch_clr = QColor(230, 250, 230);
    s->_fill_hatch_type = QStringLiteral("Diagonal");
    s->_strokeColor = QColor(60, 60, 120);
    s->_strokeWidth = 1.5;
    s->_stroke_border_type = QStringLiteral("DA");
    s->alpha_val = 0.85f;
    return s;
}

std::shared_ptr<LMNLine> line(const QRectF &bounds, int orientation, const QString &dash)
{
    auto l = std::make_shared<LMNLine>();
    l->setBounds(bounds);
    l->_line_ori = orientation;
    l->_stroke_border_type = dash;
    l->_strokeWidth = 2;
    l->_line_cap_style = 1;
    return l;
}

Card *makeCard()
{
    auto *card = new Card;
    const QDir dir(card->folder.path());
    dir.mkpath(QStringLiteral("Fill_Style_Image"));
    QImage hatch(8, 8, QImage::Format_ARGB32);
    hatch.fill(Qt::transparent);
    for (int i = 0; i < 8; ++i)
        hatch.setPixel(i, 7 - i, qRgb(40, 120, 40));
    hatch.save(dir.filePath(QStringLiteral("Fill_Style_Image/Diagonal.png")));
    photo(1600, 1200, 1).save(dir.filePath(QStringLiteral("photo1.jpg")));
    photo(1200, 1200, 2).save(dir.filePath(QStringLiteral("photo2.jpg")));

    auto picture1 = std::make_shared<LMNImage>();
    picture1->setFilePath(dir.filePath(QStringLiteral("photo1.jpg")));
    picture1->setBounds(QRectF(140, 20, 90, 68));
    picture1->Sepia = true;
    picture1->con_val = 1.2f;
    picture1->blr_val = 0.5f;
    picture1->_strokeWidth = 2;

    auto picture2 = std::make_shared<LMNImage>();
    picture2->setFilePath(dir.filePath(QStringLiteral("photo2.jpg")));
    picture2->setBounds(QRectF(15, 40, 80, 80));
    picture2->hue_val = 30;
    picture2->sat_val = 1.3f;
    picture2->srp_val = 0.5f;
    picture2->ev_val = 0.3f;
    picture2->rotate_image = 12;
    picture2->img_trnsp_val = 85;
    picture2->_isFlippedHorizontally = true;
    picture2->_isDrawingStroke = false;

    // A 600 dpi barcode picture of 1.8 x 0.6 inches.
    QImage bars(1080, 360, QImage::Format_ARGB32_Premultiplied);
    bars.fill(Qt::white);
    QRandomGenerator random(7);
    for (int x = 40; x < 1040; x += 6)
        if (random.bounded(2))
            for (int y = 20; y < 300; ++y)
                for (int w = 0; w < 6; ++w)
                    bars.setPixel(x + w, y, qRgb(0, 0, 0));
    bars.setDotsPerMeterX(23622);
    bars.setDotsPerMeterY(23622);
    auto barcode = std::make_shared<LMNBarcode>();
    barcode->setBounds(QRectF(100, 100, 130, 43));
    barcode->Set_Barcode_image(bars);

    const QString times = QStringLiteral("TimesNewRomanPS-ItalicMT");
    const QString timesBold = QStringLiteral("TimesNewRomanPS-BoldItalicMT");
    const QString arial = QStringLiteral("ArialMT");

    card->front = {
        text(QStringLiteral("Happy Birthday!"), QRectF(10, 5, 223, 30), timesBold, 22, 2),
        text(QStringLiteral("Join us for cake, games and a lot of laughter"), QRectF(10, 92, 125, 40), times, 11, 3),
        text(QStringLiteral("Saturday 14 June, 3 pm"), QRectF(100, 140, 140, 14), arial, 9, 1),
        picture1,
        picture2,
        shape(QStringLiteral("S"), QRectF(200, 100, 35, 35), QStringLiteral("G")),
        shape(QStringLiteral("RR"), QRectF(5, 135, 90, 16), QStringLiteral("H")),
        shape(QStringLiteral("C"), QRectF(100, 40, 30, 30), QStringLiteral("S")),
        line(QRectF(10, 36, 223, 0), 0, QStringLiteral("DD")),
        shape(QStringLiteral("R"), QRectF(2, 2, 239, 150), QStringLiteral("S")),
    };
    card->front.last()->_isDrawingFill = false; // a dotted frame round the card
    card->back = {
        text(QStringLiteral("With love from all of us"), QRectF(20, 10, 200, 24), timesBold, 16, 2),
        text(QStringLiteral("Please reply by 1 June.\nCall 555 0123 or write to party@example.org"),
             QRectF(20, 40, 200, 40), arial, 10, 0),
        barcode,
        shape(QStringLiteral("DS"), QRectF(20, 95, 40, 40), QStringLiteral("G")),
        shape(QStringLiteral("P"), QRectF(62, 95, 34, 34), QStringLiteral("H")),
        shape(QStringLiteral("T"), QRectF(20, 135, 16, 14), QStringLiteral("S")),
        shape(QStringLiteral("D"), QRectF(40, 135, 16, 14), QStringLiteral("S")),
        line(QRectF(20, 85, 200, 0), 0, QStringLiteral("DA")),
        line(QRectF(225, 20, 10, 120), 1, QStringLiteral("DO")),
        text(QStringLiteral("Festiloom"), QRectF(160, 140, 80, 12), arial, 7, 1),
    };
    return card;
}

Card &card()
{
    static Card *instance = makeCard();
    return *instance;
}

// CPU time of the whole process (Qt's own helper threads included), in milliseconds.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Reports the process CPU time per side rendered. It stays flat from one to four threads
// when rendering has no hidden serial part, whatever else the machine is running, so it
// tells scaling apart from a busy machine.
class CpuPerSide
{
public:
    explicit CpuPerSide(benchmark::State &state) : m_state(state), m_start(processCpuMs()) {}
    void finish(int sidesPerIteration)
    {
        if (m_state.thread_index() != 0) {
            m_state.counters["cpu_ms_per_side"] = 0;
            return;
        }
        const double sides = double(m_state.iterations()) * sidesPerIteration * m_state.threads();
        m_state.counters["cpu_ms_per_side"] = sides > 0 ? (processCpuMs() - m_start) / sides : 0.0;
    }

private:
    benchmark::State &m_state;
    double m_start;
};

LMNRenderingView rendererFor(const Card &c)
{
    DrawContext context;
    context.resourcePath = c.folder.path();
    LMNRenderingView view(kCardSize, {}, context);
    view.setResolution(kDpi);
    return view;
}

// Both sides of the card per iteration; the elements remember their processed pictures, and
// the drawing thread the coverage of the lines, outlines and plain fills it drew, as they do
// from one record to the next in a batch run.
void BM_RenderCardBothSides300dpi(benchmark::State &state)
{
    const Card &c = card();
    const LMNRenderingView view = rendererFor(c);
    CpuPerSide cpu(state);
    for (auto _ : state) {
        QImage front = view.image_From_Card_Graphics(c.front);
        QImage back = view.image_From_Card_Graphics(c.back);
        benchmark::DoNotOptimize(front.constBits());
        benchmark::DoNotOptimize(back.constBits());
    }
    cpu.finish(2);
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["sides_per_s"] = benchmark::Counter(double(state.iterations() * 2), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderCardBothSides300dpi)->Unit(benchmark::kMillisecond)->Threads(1)->Threads(2)->Threads(4)->UseRealTime();

// The same with fresh copies of the elements each time (copying is a few small
// allocations): the picture effects are worked out anew on every rendering, as for the first
// card of a batch or after an effect changed.
void BM_RenderCardBothSides300dpiFreshEffects(benchmark::State &state)
{
    const Card &c = card();
    const LMNRenderingView view = rendererFor(c);
    CpuPerSide cpu(state);
    for (auto _ : state) {
        QImage frontImage = view.image_From_Card_Graphics(LMNRenderingView::snapshot(c.front));
        QImage backImage = view.image_From_Card_Graphics(LMNRenderingView::snapshot(c.back));
        benchmark::DoNotOptimize(frontImage.constBits());
        benchmark::DoNotOptimize(backImage.constBits());
    }
    cpu.finish(2);
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_RenderCardBothSides300dpiFreshEffects)->Unit(benchmark::kMillisecond)->Threads(1)->Threads(2)->Threads(4)->UseRealTime();

// One side as a PDF page.
void BM_RenderFrontPdf(benchmark::State &state)
{
    const Card &c = card();
    const LMNRenderingView view = rendererFor(c);
    for (auto _ : state) {
        QByteArray pdf = view.pdfData(c.front);
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_RenderFrontPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

// One text element holding a single unbroken value of `range(0)` characters (up to 1 MB), as
// a card of a batch run draws it at 300 dpi and as the canvas draws it at screen size.
// Goal: under 50 ms per card for 1 MB.
void BM_RenderLongUnbrokenText(benchmark::State &state)
{
    const QString value(state.range(0), QLatin1Char('w'));
    const GraphicList front = {text(value, QRectF(10, 10, 200, 100), QStringLiteral("DejaVu Sans"), 14, 0)};
    const double dpi = double(state.range(1));
    LMNRenderingView view(kCardSize, {}, DrawContext());
    view.setResolution(dpi);
    for (auto _ : state) {
        // A fresh copy each time, as every record of a batch run gets.
        QImage side = view.image_From_Card_Graphics(LMNRenderingView::snapshot(front));
        benchmark::DoNotOptimize(side.constBits());
    }
}
BENCHMARK(BM_RenderLongUnbrokenText)
    ->Args({100000, 300})->Args({1 << 20, 300})->Args({1 << 20, 96})->Unit(benchmark::kMillisecond)->UseRealTime();

// A dashed frame round the card at 300 dpi, drawn again: put down from its stroke mask by the
// blend loops of CoverageMaskCache (argument 0), and the same pixels put down by
// QPainter::drawImage from a premultiplied picture of the frame's bounds (argument 1).
void BM_PutDownFrame(benchmark::State &state)
{
    const bool byDrawImage = state.range(0) == 1;
    auto frame = shape(QStringLiteral("R"), QRectF(6.5, 6.5, kCardSize.width() - 13, kCardSize.height() - 13),
                       QStringLiteral("S"));
    frame->_isDrawingFill = false;
    frame->_strokeWidth = 2.5;
    const double scale = kDpi / 72.0;
    QImage side(int(std::ceil(kCardSize.width() * scale)), int(std::ceil(kCardSize.height() * scale)),
                QImage::Format_ARGB32_Premultiplied);
    side.fill(Qt::white);
    QImage alone(side.size(), QImage::Format_ARGB32_Premultiplied);
    alone.fill(Qt::transparent);
    const auto drawFrame = [&](QImage &image) {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        painter.scale(scale, scale);
        frame->draw(painter, DrawContext());
    };
    drawFrame(alone);
    const QRect bounds = BenchPictures::inkBounds(alone);
    const QImage picture = alone.copy(bounds);
    drawFrame(side); // the mask is made
    for (auto _ : state) {
        if (byDrawImage) {
            QPainter painter(&side);
            painter.drawImage(bounds.topLeft(), picture);
        } else {
            drawFrame(side);
        }
    }
    benchmark::DoNotOptimize(side.constBits());
}
BENCHMARK(BM_PutDownFrame)->ArgName("draw_image")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    card(); // build the pictures before any timing
    BenchRatios::registerArithmeticAlone();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nBoth sides at 300 dpi: one thread's time per card over the time per card on more threads\n");
    for (const char *name : {"BM_RenderCardBothSides300dpi", "BM_RenderCardBothSides300dpiFreshEffects"})
        for (const int threads : {2, 4})
            reporter.printRatio(std::string(name).substr(3) + ", " + std::to_string(threads) + " over 1", name,
                                std::string(name) + "/threads:" + std::to_string(threads));
    reporter.printArithmeticRatio();
    std::printf("\nA dashed frame round the card at 300 dpi put down from its mask\n");
    reporter.printRatio("QPainter::drawImage over the blend loops", "BM_PutDownFrame/draw_image:1",
                        "BM_PutDownFrame/draw_image:0", "one thread");
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
