// What hostile files cost the readers: decoding binary element archives of growing size up to
// the most the reader takes, as Copy writes them and with integers the reader rewrites (the time
// must grow linearly), reading XML lists dense in
// references or keys on Paste and Open (the time per MiB must stay flat), refusing archives
// that would expand without bound, saving a design
// of elements with few keys (the file must not grow), refusing crafted XML archives of the
// largest size, and refusing workbooks at each cap
// (time and peak memory of the refusal).

#include "BenchArchiveLimits.h"
#include "BenchMemory.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "document/LMNGraphicArchive.h"
#include "editor/DesignFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

QByteArray binaryArchive(int elements)
{
    GraphicList list;
    for (int i = 0; i < elements; ++i) {
        GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
        text->setText(QStringLiteral("Guest %1").arg(i));
        list << text;
    }
    return LMNGraphicArchive::encodeList(list, true);
}

// A binary archive of `elements` text elements, each also holding, under a key no field reads,
// a 16-byte integer beyond 64 bits, every one different: each is rewritten as the nearest
// 64-bit number and the rewritten list is checked again before libplist reads it.
QByteArray wideIntegerArchive(int elements)
{
    QByteArray out("bplist00");
    std::vector<quint64> offsets;
    const auto add = [&](const QByteArray &object) {
        offsets.push_back(quint64(out.size()));
        out += object;
        return quint32(offsets.size() - 1);
    };
    const auto bigEndian = [](auto value) {
        QByteArray bytes(int(sizeof(value)), '\0');
        qToBigEndian(value, bytes.data());
        return bytes;
    };
    const quint32 classKey = add(QByteArray("\x55" "class", 6));
    const quint32 className = add(QByteArray("\x57" "LMNText", 8));
    const quint32 wideKey = add(QByteArray("\x54" "wide", 5));
    QByteArray items;
    for (int i = 0; i < elements; ++i) {
        const quint32 wide = add(QByteArray("\x14", 1) + QByteArray(8, '\0') + bigEndian(quint64(1) << 63 | quint64(i)));
        items += bigEndian(add(QByteArray("\xD2", 1) + bigEndian(classKey) + bigEndian(wideKey) + bigEndian(className)
                               + bigEndian(wide)));
    }
    const quint32 top = add(QByteArray("\xAF\x12", 2) + bigEndian(quint32(elements)) + items);
    const quint64 table = quint64(out.size());
    for (const quint64 offset : offsets)
        out += bigEndian(offset);
    QByteArray trailer(6, '\0');
    trailer += char(8);   // offset size
    trailer += char(4);   // reference size
    return out + trailer + bigEndian(quint64(offsets.size())) + bigEndian(quint64(top)) + bigEndian(table);
}

void BM_DecodeBinaryArchive(benchmark::State &state, const std::function<QByteArray(int)> &archiveOf)
{
    const QByteArray data = archiveOf(int(state.range(0)));
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        const auto list = LMNGraphicArchive::decodeList(data, &error);
        if (!list || list->size() != state.range(0)) {
            state.SkipWithError(qPrintable(QStringLiteral("refused, not read: ") + error));
            break;
        }
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
    }
    state.SetComplexityN(state.range(0));
    state.counters["archive_MiB"] = double(data.size()) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
}

// A binary list of `levels` arrays each holding the next twice, ending in one element.
QByteArray doublingArchive(int levels)
{
    QByteArray out("bplist00");
    QList<qint64> offsets;
    offsets << out.size();
    out += QByteArray("\x55" "class", 6);
    offsets << out.size();
    out += QByteArray("\x57" "LMNText", 8);
    offsets << out.size();
    out += QByteArray("\xD1\x00\x01", 3);   // {object 0: object 1}
    for (int i = 0; i < levels; ++i) {
        offsets << out.size();
        out += char(0xA2);
        out += char(2 + i);
        out += char(2 + i);
    }
    const qint64 table = out.size();
    for (qint64 offset : offsets)
        out += char(offset);
    QByteArray trailer(32, '\0');
    trailer[6] = 1;   // offset size
    trailer[7] = 1;   // reference size
    trailer[15] = char(offsets.size());
    trailer[23] = char(offsets.size() - 1);
    trailer[31] = char(table);
    return out + trailer;
}

void BM_RefuseDoublingArchive(benchmark::State &state)
{
    const QByteArray data = doublingArchive(30);
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        if (LMNGraphicArchive::decodeList(data, nullptr))
            state.SkipWithError("the archive was read");
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
    }
    state.counters["archive_bytes"] = double(data.size());
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
}
BENCHMARK(BM_RefuseDoublingArchive)->Unit(benchmark::kMillisecond);

// Crafted XML archives of the largest size the reader takes (96 MB, 14.4 million "<dict/>"
// elements): a quoted '[' in the document type, the list inside a <plist> of its own (both
// refused at the element past the limit), or all of them inside one item (refused at the value
// past the limit). Each is refused by the count before any tree is built.
QByteArray craftedXmlArchive(int kind)
{
    const qsizetype room = LMNGraphicArchive::MaximumSize - 100;
    const char *const heads[] = {"<!DOCTYPE plist SYSTEM \"x[y\"><plist><array>", "<plist><plist><array>",
                                 "<plist><array><array>"};
    const char *const tails[] = {"</array></plist>", "</array></plist></plist>", "</array></array></plist>"};
    const QByteArray head = heads[kind], tail = tails[kind];
    return head + QByteArray("<dict/>").repeated((room - head.size() - tail.size()) / 7) + tail;
}

void BM_RefuseCraftedXmlArchive(benchmark::State &state)
{
    const QByteArray data = craftedXmlArchive(int(state.range(0)));
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        if (LMNGraphicArchive::decodeList(data, &error))
            state.SkipWithError("the archive was read");
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
    }
    state.counters["archive_MiB"] = double(data.size()) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
}
BENCHMARK(BM_RefuseCraftedXmlArchive)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

// XML lists of the shapes libplist's XML reader took time growing with the square of: one text
// of "&amp;" and nothing else, and one dictionary of distinct keys, each as an element pasted
// (an element archive) and as an element of a design opened. Arguments: the shape (0 text,
// 1 keys), the road (0 Paste, 1 Open) and the size in MiB. The time per MiB must stay flat.
QByteArray denseElement(int shape, qsizetype bytes)
{
    QByteArray element = "<dict><key>class</key><string>LMNText</string>";
    if (shape == 0) {
        element += "<key>Text_Value</key><string>" + QByteArray("&amp;").repeated(bytes / 5) + "</string>";
    } else {
        element.reserve(bytes + 100);
        for (qsizetype i = 0; element.size() < bytes; ++i)
            element += "<key>k" + QByteArray::number(i) + "</key><true/>";
    }
    return element + "</dict>";
}

void BM_ReadDenseXml(benchmark::State &state)
{
    const int shape = int(state.range(0));
    const bool open = state.range(1) == 1;
    const QByteArray element = denseElement(shape, state.range(2) << 20);
    QByteArray data;
    if (open) {
        data = DesignFile::toXml(CardDesign());
        data.replace(data.lastIndexOf("<array/>", data.lastIndexOf("<array/>") - 1), 8, "<array>" + element + "</array>");
    } else {
        data = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>" + element + "</array></plist>";
    }
    const auto readOnce = [&](QString *error) {
        return open ? DesignFile::fromXml(data, error).has_value() : LMNGraphicArchive::decodeList(data, error).has_value();
    };
    readOnce(nullptr);   // once untimed, so that the first size is not timed with a cold heap
    for (auto _ : state) {
        QString error;
        const bool read = readOnce(&error);
        if (!read) {
            state.SkipWithError(qPrintable(QStringLiteral("refused, not read: ") + error));
            break;
        }
    }
    state.counters["MiB"] = double(data.size()) / (1 << 20);
    // Seconds per thousandth of a MiB: milliseconds per MiB.
    state.counters["ms_per_MiB"] = benchmark::Counter(double(data.size()) / (1 << 20) / 1e3,
                                                      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadDenseXml)
    ->ArgsProduct({{0, 1}, {0, 1}, {1, 4, 16, 64}})
    ->ArgNames({"keys", "open", "MiB"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_SaveSparseDesign(benchmark::State &state)
{
    // 110,000 elements holding only their kind, as a file made elsewhere may have them.
    QByteArray xml = DesignFile::toXml(CardDesign());
    QByteArray elements = "<array>";
    for (int i = 0; i < 110000; ++i)
        elements += "<dict><key>class</key><string>LMNText</string></dict>";
    elements += "</array>";
    xml.replace(xml.lastIndexOf("<array/>", xml.lastIndexOf("<array/>") - 1), 8, elements);
    const std::optional<CardDesign> design = DesignFile::fromXml(xml, nullptr);
    if (!design) {
        state.SkipWithError("the design did not open");
        return;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sparse.dcard"));
    long growth = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        if (!DesignFile::write(path, *design, nullptr))
            state.SkipWithError("the design was not saved");
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
    }
    state.counters["read_MiB"] = double(xml.size()) / (1 << 20);
    state.counters["saved_MiB"] = double(QFile(path).size()) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
}
BENCHMARK(BM_SaveSparseDesign)->Unit(benchmark::kMillisecond)->Iterations(2);

// Workbooks past the caps: 0 a part unpacking far past 128 MiB, 1 five million shared strings,
// 2 a comment never closed, 3 one row of 100 MB.
void BM_RefuseWorkbookAtCap(benchmark::State &state)
{
    QTemporaryDir dir;
    const QDir parts(dir.filePath(QStringLiteral("parts")));
    parts.mkpath(QStringLiteral("xl/worksheets"));
    QByteArray sheet = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>";
    QByteArray sharedStrings = "<sst><si><t>x</t></si></sst>";
    switch (state.range(0)) {
    case 0: sheet += QByteArray(300 << 20, ' '); break;
    case 1: sharedStrings = "<sst>" + QByteArray("<si><t>a</t></si>").repeated(5'000'000) + "</sst>"; break;
    case 2: sheet += "<!--" + QByteArray(100 << 20, ' '); break;
    default: sheet += "<row r=\"2\">" + QByteArray(100 << 20, ' ') + "</row>"; break;
    }
    sheet += "</sheetData></worksheet>";
    for (const auto &[name, bytes] : {std::pair{"xl/worksheets/sheet1.xml", sheet}, std::pair{"xl/sharedStrings.xml", sharedStrings}}) {
        QFile file(parts.filePath(QLatin1String(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    sheet.clear();
    sharedStrings.clear();
    const QString book = dir.filePath(QStringLiteral("cap.xlsx"));
    SSZipArchive::createZipFileAtPath(book, {parts.filePath(QStringLiteral("xl"))});
    QDir(parts).removeRecursively();

    long growth = 0;
    QString error;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(book), true, &error);
        if (error.isEmpty()) {
            Excel_Sheet_Number = 1;
            SpreadsheetWriter::ReadWorkbook(QUrl(), false, &error);
        }
        if (!error.contains(QLatin1String("too large")))
            state.SkipWithError(qPrintable(QStringLiteral("not refused as too large: ") + error));
        growth = std::max(growth, BenchMemory::peakGrowthKiB(before));
        SpreadsheetWriter::removeTempFolder();
    }
    state.counters["packed_MiB"] = double(QFile(book).size()) / (1 << 20);
    state.counters["peak_growth_MiB"] = double(growth) / 1024.0;
}
BENCHMARK(BM_RefuseWorkbookAtCap)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // An eighth, a quarter, a half and all of the most text elements the reader takes, as Copy
    // writes them and each with a 16-byte integer beyond 64 bits.
    const std::pair<const char *, std::function<QByteArray(int)>> archives[] = {
        {"BM_DecodeBinaryArchive", binaryArchive}, {"BM_DecodeBinaryArchiveOfWideIntegers", wideIntegerArchive}};
    for (const auto &[name, archiveOf] : archives) {
        const int most = BenchArchiveLimits::mostElements(archiveOf);
        std::printf("The element archive reader takes at most %llu values and %lld bytes: %d text elements (%s)\n",
                    static_cast<unsigned long long>(LMNGraphicArchive::MaximumValues),
                    static_cast<long long>(LMNGraphicArchive::MaximumSize), most, name);
        benchmark::RegisterBenchmark(name, BM_DecodeBinaryArchive, archiveOf)
            ->Arg(most / 8)
            ->Arg(most / 4)
            ->Arg(most / 2)
            ->Arg(most)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
