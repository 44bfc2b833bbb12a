// The largest inputs the readers accept, each opened on one core: a design of many elements,
// an element archive of many elements (decoded, and pasted onto a card) and a data series of
// many lines. Goal: each under 10 s and under 1 GB of peak memory growth.

#include "BenchArchiveLimits.h"
#include "BenchRatios.h"
#include "BenchMemory.h"

#include "document/DocumentGlobals.h"
#include "data/DataSeries.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNDocument.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/ModalSeam.h"
#include "editor/DesignFile.h"
#include "editor/ui/DesignFileCommands.h"
#include "editor/ui/LMNWindowController.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QElapsedTimer>
#include <QUndoStack>
#include <QFile>
#include <QTemporaryDir>

#include <plist/plist.h>

#include <benchmark/benchmark.h>

namespace {

GraphicList elements(int count)
{
    const GraphicKind kinds[] = {GraphicKind::Text, GraphicKind::Line, GraphicKind::Shape, GraphicKind::Barcode};
    GraphicList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphic::create(kinds[i % 4]);
        g->setBounds(QRectF(i % 20 * 10, i / 20 % 12 * 12, 60, 20));
        g->setText(QStringLiteral("Guest number %1").arg(i));
        list << g;
    }
    return list;
}

// The archive a copy of `count` boxes gives when each holds only its kind and bounds (every
// other field at its zero value): nine values a box, so 200,000 pass the archive reader.
QByteArray boxArchive(int count)
{
    plist_t root = plist_new_array();
    for (int i = 0; i < count; ++i) {
        plist_t dict = plist_new_dict();
        plist_dict_set_item(dict, LMNGraphicArchive::ClassKey, plist_new_string("Shape_Control"));
        plist_t bounds = plist_new_array();
        for (double v : {double(i % 20 * 10), double(i / 20 % 12 * 12), 60.0, 20.0})
            plist_array_append_item(bounds, plist_new_real(v));
        plist_dict_set_item(dict, "_bounds", bounds);
        plist_array_append_item(root, dict);
    }
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    const QByteArray data(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    plist_free(root);
    return data;
}

// Answers every modal run with "no" and keeps the last message shown.
class Answering : public ModalSeam
{
public:
    QString lastMessage;
    int showMessage(QWidget *, const Message &message) override
    {
        lastMessage = message.text;
        return 0;
    }
    int execDialog(QDialog *) override { return 1; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
    bool openUrl(const QUrl &) override { return true; }
};

// An editor window on an empty resource folder, started without a card.
struct Editor
{
    Editor()
    {
        qputenv("FESTILOOM_RESOURCE_DIR", resources.path().toUtf8());
        previous = ModalSeam::install(&seam);
        window = std::make_unique<LMNWindowController>(&document);
        window->windowDidLoad();
    }
    ~Editor()
    {
        window.reset();
        ModalSeam::install(previous);
    }

    QTemporaryDir resources;
    Answering seam;
    ModalSeam *previous = nullptr;
    LMNDocument document;
    std::unique_ptr<LMNWindowController> window;
};

void report(benchmark::State &state, long growthKiB, qint64 bytes)
{
    state.counters["file_MB"] = double(bytes) / (1 << 20);
    state.counters["peak_growth_MB"] = double(growthKiB) / 1024.0;
}

// A design file of `count` elements of `keys` keys each, every value as short as a value
// gets: a box's kind and bounds, then flags of a newer version (read past, as they are), the
// whole written without indentation. The most values a design file of its size can hold.
QByteArray denseDesign(int count, int keys)
{
    QByteArray element = "<dict/>"; // one key: an element of every field at its zero value
    if (keys > 1) {
        element = "<dict><key>class</key><string>Shape_Control</string>"
                  "<key>_bounds</key><array><real>10</real><real>10</real><real>60</real><real>20</real></array>";
        for (int k = 2; k < keys; ++k)
            element += "<key>n" + QByteArray::number(k) + "</key><true/>";
        element += "</dict>";
    }
    QByteArray elements = "<array>";
    elements.reserve(qsizetype(count) * element.size() + 100);
    for (int i = 0; i < count; ++i)
        elements += element;
    elements += "</array>";
    // The front side's elements are the second-to-last item of an empty design.
    QByteArray xml = DesignFile::toXml(CardDesign());
    const qsizetype back = xml.lastIndexOf("<array/>");
    const qsizetype front = xml.lastIndexOf("<array/>", back - 1);
    return xml.replace(front, 8, elements);
}

// A design of range(0) elements, mixed kinds with texts (range(1) = 0) or dense ones of
// range(1) keys each, read by the design reader (range(2) = 0) or opened in the editor.
void BM_OpenLargeDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.dcard"));
    {
        const int count = int(state.range(0));
        CardDesign design;
        if (!state.range(1))
            design.graphics = elements(count);
        const QByteArray xml = state.range(1) ? denseDesign(count, int(state.range(1))) : DesignFile::toXml(design);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size()) {
            state.SkipWithError("the design could not be written");
            return;
        }
    }
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        state.counters["estimate_MB"] = double(DesignFile::openingCost(file.readAll())) / (1 << 20);
    }
    const bool inEditor = state.range(2) != 0;
    std::unique_ptr<Editor> editor;
    if (inEditor)
        editor = std::make_unique<Editor>();
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        bool opened = false;
        if (inEditor) {
            opened = editor->window->files()->read(path, true);
            error = editor->seam.lastMessage;
        } else {
            const auto design = DesignFile::read(path, &error);
            opened = bool(design);
        }
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        if (!opened) {
            state.SkipWithError(qPrintable(QStringLiteral("refused, not opened: ") + error.left(160)));
            break;
        }
    }
    report(state, growth, QFileInfo(path).size());
}
BENCHMARK(BM_OpenLargeDesign)
    ->Args({20000, 0, 0})
    ->Args({20000, 0, 1})
    ->Args({80000, 52, 0})
    ->Args({80000, 52, 1})
    ->Args({40000, 52, 0})
    ->Args({40000, 52, 1})
    ->Args({1000000, 1, 0})
    ->Args({600000, 1, 0})
    ->Args({600000, 1, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// A design of range(0) picture elements, each holding a one-colour picture of 5500 x 5500
// pixels: some 130 KB stored, 115 MB decoded (Qt reads no picture past 128 MB).
void BM_OpenDesignWithLargePictures(benchmark::State &state)
{
    QByteArray png;
    {
        QImage picture(5500, 5500, QImage::Format_ARGB32);
        picture.fill(QColor(250, 240, 200));
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    const QByteArray element = "<dict><key>class</key><string>LMNImage</string><key>_bounds</key><array><real>0</real>"
                               "<real>0</real><real>60</real><real>40</real></array><key>_image</key><data>"
                               + png.toBase64() + "</data></dict>";
    QByteArray xml = DesignFile::toXml(CardDesign());
    const qsizetype back = xml.lastIndexOf("<array/>");
    const qsizetype front = xml.lastIndexOf("<array/>", back - 1);
    xml.replace(front, 8, "<array>" + element.repeated(int(state.range(0))) + "</array>");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pictures.dcard"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(xml);
    }
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const auto design = DesignFile::read(path, &error);
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        if (!design) {
            state.SkipWithError(qPrintable(QStringLiteral("refused, not opened: ") + error.left(200)));
            break;
        }
    }
    state.counters["estimate_MB"] = double(DesignFile::openingCost(xml)) / (1 << 20);
    report(state, growth, xml.size());
}
BENCHMARK(BM_OpenDesignWithLargePictures)->Arg(3)->Arg(6)->Arg(12)->Unit(benchmark::kSecond)->Iterations(1);

void BM_DecodeLargeArchive(benchmark::State &state)
{
    const QByteArray data = LMNGraphicArchive::encodeList(elements(int(state.range(0))), state.range(1) != 0);
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const auto list = LMNGraphicArchive::decodeList(data, &error);
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        if (!list) {
            state.SkipWithError(qPrintable(QStringLiteral("refused, not read: ") + error.left(120)));
            break;
        }
    }
    report(state, growth, data.size());
}

// Texts and barcodes as a card holds them: a font, a colour and a text each.
GraphicList textsAndBarcodes(int count)
{
    GraphicList list = elements(count);
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphic::create(i % 2 ? GraphicKind::Barcode : GraphicKind::Text);
        g->setBounds(list[i]->_bounds);
        g->setText(i % 2 ? QStringLiteral("%1").arg(4006381333931LL + i) : QStringLiteral("Gu\u00e9st number %1").arg(i));
        g->text_ctrl_font = CardFont("TimesNewRomanPS-BoldItalicMT", 12 + i % 7);
        g->_strokeColor = QColor(i % 256, 40, 90);
        list[i] = g;
    }
    return list;
}

// Copying range(0) texts and barcodes: building their property-list tree only (range(1) = 0)
// or the whole binary archive the clipboard gets (range(1) = 1).
void BM_EncodeLargeArchive(benchmark::State &state)
{
    const GraphicList graphics = textsAndBarcodes(int(state.range(0)));
    const bool whole = state.range(1) != 0;
    qsizetype bytes = 0;
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        if (whole) {
            bytes = LMNGraphicArchive::encodeList(graphics, true).size();
        } else {
            plist_t array = plist_new_array();
            for (const GraphicPtr &g : graphics)
                plist_array_append_item(array, LMNGraphicArchive::encode(*g));
            plist_free(array);
        }
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
    }
    report(state, growth, bytes);
}
BENCHMARK(BM_EncodeLargeArchive)
    ->Args({1000, 0})
    ->Args({5000, 0})
    ->Args({20000, 0})
    ->Args({1000, 1})
    ->Args({5000, 1})
    ->Args({20000, 1})
    ->Args({100000, 1})
    ->Args({200000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

// Pasting an archive of range(0) elements onto an empty card, or (range(1) = 1) onto a card
// holding the copied elements themselves, where the paste first looks for a free place.
void BM_PasteLargeArchive(benchmark::State &state)
{
    const QByteArray data = boxArchive(int(state.range(0)));
    const bool ontoOriginals = state.range(1) != 0;
    const GraphicList originals = ontoOriginals ? *LMNGraphicArchive::decodeList(data, nullptr) : GraphicList();
    long growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LMNDocument document;
        if (ontoOriginals)
            document.graphics = originals;
        LMNGraphicView view(&document, &document.graphics);
        auto *mime = new QMimeData;
        mime->setData(LMNGraphicViewPasteboardType, data);
        QGuiApplication::clipboard()->setMimeData(mime);
        const long before = BenchMemory::startStep();
        state.ResumeTiming();
        view.paste();
        state.PauseTiming();
        if (document.graphics.size() == (ontoOriginals ? originals.size() : 0))
            state.SkipWithError("nothing was pasted");
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        state.counters["pasted"] = double(document.graphics.size() - (ontoOriginals ? originals.size() : 0));
        // Taking the paste back and putting it again, each one step of the history.
        QElapsedTimer history;
        history.start();
        document.undoManager()->undo();
        document.undoManager()->redo();
        state.counters["undo_redo_s"] = double(history.nsecsElapsed()) / 1e9;
        state.ResumeTiming();
    }
    report(state, growth, data.size());
}
BENCHMARK(BM_PasteLargeArchive)
    ->Args({25000, 0})
    ->Args({50000, 0})
    ->Args({100000, 0})
    ->Args({200000, 0})
    ->Args({20000, 1})
    ->Args({200000, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(3);

// A series of range(0) lines of up to five digits each: the most values the series reader takes,
// and half of them.
void BM_ReadLargeSeries(benchmark::State &state)
{
    QTemporaryDir dir;
    Data_Folder_Path = dir.path();
    {
        QFile file(DataSeries::filePath(QStringLiteral("lines")));
        file.open(QIODevice::WriteOnly);
        QByteArray chunk;
        for (int i = 0; i < state.range(0); ++i) {
            chunk += QByteArray::number(i % 100000);
            chunk += '\n';
            if (chunk.size() > (1 << 20)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
    }
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString refusal;
        const QStringList values = DataSeries::readAllValues(QStringLiteral("lines"), &refusal);
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        if (!refusal.isEmpty() || values.size() != state.range(0)) {
            state.SkipWithError(qPrintable(QStringLiteral("refused, not read: ") + refusal));
            break;
        }
        state.counters["values"] = double(values.size());
    }
    report(state, growth, QFileInfo(DataSeries::filePath(QStringLiteral("lines"))).size());
}
BENCHMARK(BM_ReadLargeSeries)
    ->Arg(DataSeries::MaximumValues / 2)
    ->Arg(std::min<qint64>(DataSeries::MaximumValues, DataSeries::MaximumFileSize / 6))
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The most elements of mixed kinds the archive reader takes, binary (1) and XML (0).
    const auto archiveOf = [](bool binary) {
        return [binary](int count) { return LMNGraphicArchive::encodeList(elements(count), binary); };
    };
    const int mostBinary = BenchArchiveLimits::mostElements(archiveOf(true));
    const int mostXml = BenchArchiveLimits::mostElements(archiveOf(true), archiveOf(false));
    std::printf("The element archive reader takes at most %d elements of mixed kinds, %d as XML\n", mostBinary,
                mostXml);
    benchmark::RegisterBenchmark("BM_DecodeLargeArchive", BM_DecodeLargeArchive)
        ->Args({mostBinary, 1})
        ->Args({mostXml, 0})
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nPasting twice the elements (linear: about 2; goal: 200,000 under 2 s)\n");
    reporter.printRatio("200,000 over 100,000", "BM_PasteLargeArchive/200000/0", "BM_PasteLargeArchive/100000/0");
    reporter.printRatio("100,000 over 50,000", "BM_PasteLargeArchive/100000/0", "BM_PasteLargeArchive/50000/0");
    reporter.printRatio("200,000 over 20,000 onto their originals", "BM_PasteLargeArchive/200000/1",
                        "BM_PasteLargeArchive/20000/1");
    std::printf("\nCopying more elements (linear: 5 and 4, then 2; goal: 100,000 under 10 s)\n");
    for (const char *part : {"0", "1"}) {
        const std::string p = part;
        reporter.printRatio(p == "0" ? "building, 5,000 over 1,000" : "binary archive, 5,000 over 1,000",
                            "BM_EncodeLargeArchive/5000/" + p, "BM_EncodeLargeArchive/1000/" + p);
        reporter.printRatio(p == "0" ? "building, 20,000 over 5,000" : "binary archive, 20,000 over 5,000",
                            "BM_EncodeLargeArchive/20000/" + p, "BM_EncodeLargeArchive/5000/" + p);
    }
    reporter.printRatio("binary archive, 200,000 over 100,000", "BM_EncodeLargeArchive/200000/1",
                        "BM_EncodeLargeArchive/100000/1");
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
