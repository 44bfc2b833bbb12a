// Saving and opening a design of 200 elements; saving a design bound to a workbook of a
// million rows, which its file cannot hold; saving a design of two photographs with and
// without spreadsheet records (the records should cost what they take, not a second
// encoding of the pictures); phone photos (one of 50 megapixels, six of 12) inserted, saved and
// opened, with the time and peak memory of each step; a design of 40 pictures opened and pasted,
// stored as JPEG, PNG or SVG.

#include "BenchMemory.h"
#include "BenchPictures.h"
#include "BenchRatios.h"

#include "document/LMNGraphicArchive.h"
#include "document/LMNImage.h"
#include "document/PaintStyles.h"
#include "document/PictureReading.h"
#include "editor/DesignFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

CardDesign design200()
{
    CardDesign design;
    const GraphicKind kinds[] = {GraphicKind::Text, GraphicKind::Line, GraphicKind::Shape, GraphicKind::Barcode};
    for (int i = 0; i < 200; ++i) {
        GraphicPtr g = LMNGraphic::create(kinds[i % 4]);
        g->setBounds(QRectF(i % 20 * 10, i / 20 * 12, 60, 20));
        g->setText(QStringLiteral("Guest number %1").arg(i));
        (i % 2 ? design.graphics_back : design.graphics) << g;
    }
    return design;
}

void BM_SaveDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    const CardDesign design = design200();
    for (auto _ : state)
        benchmark::DoNotOptimize(DesignFile::write(path, design, nullptr));
}
BENCHMARK(BM_SaveDesign)->Unit(benchmark::kMillisecond);

void BM_OpenDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    DesignFile::write(path, design200(), nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(DesignFile::read(path, nullptr));
}
BENCHMARK(BM_OpenDesign)->Unit(benchmark::kMillisecond);

// A design bound to 1,000,000 rows of three columns: Save refuses it. Reported: the time to
// the refusal and the growth of the peak resident size above the records' own memory.
void BM_SaveRefusesMillionRowDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    CardDesign design = design200();
    design.Excel_Binding_Use = true;
    design.Excel_Column_Titles = {QStringLiteral("Row"), QStringLiteral("Name"), QStringLiteral("City"), QStringLiteral("Code")};
    const int rows = int(state.range(0));
    design.Excel_Records.reserve(rows);
    for (int i = 1; i <= rows; ++i)
        design.Excel_Records.append({{QStringLiteral("Extension"), QString::number(i)},
                                     {QStringLiteral("Column1"), QStringLiteral("Guest %1").arg(i)},
                                     {QStringLiteral("Column2"), QStringLiteral("City %1").arg(i % 977)},
                                     {QStringLiteral("Column3"), QString::number(100000 + i)}});
    long peakKiB = 0;
    for (auto _ : state) {
        const long before = BenchMemory::startStep();
        QString error;
        if (DesignFile::write(path, design, &error))
            state.SkipWithError("the design was saved");
        peakKiB = BenchMemory::peakGrowthKiB(before);
    }
    state.counters["peak_MB"] = double(peakKiB) / 1024;
}
BENCHMARK(BM_SaveRefusesMillionRowDesign)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Two 2400 x 1800 photographs on the front, with no record or with one.
void BM_SavePhotoDesign(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.dcard"));
    CardDesign design;
    for (int i = 0; i < 2; ++i) {
        GraphicPtr g = LMNGraphic::create(GraphicKind::Image);
        g->setBounds(QRectF(10 + i * 100, 10, 90, 60));
        g->_image = BenchPictures::photo(2400, 1800, i + 1);
        design.graphics << g;
    }
    if (state.range(0)) {
        design.Excel_Binding_Use = true;
        design.Excel_Column_Titles = {QStringLiteral("Row"), QStringLiteral("Name")};
        design.Excel_Records.append({{QStringLiteral("Extension"), QStringLiteral("1")},
                                     {QStringLiteral("Column1"), QStringLiteral("Guest 1")}});
    }
    for (auto _ : state) {
        QString error;
        if (!DesignFile::write(path, design, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
}
BENCHMARK(BM_SavePhotoDesign)->ArgName("records")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Phone photos as a phone's camera writes them: one of 8160 x 6120 pixels (50 megapixels, some
// 14.7 MB of JPEG) or six of 4032 x 3024 (12 megapixels, some 3.6 MB each), each inserted (the
// chooser's check and the element taking the picture), the design saved, and opened again.
// Each step reports its time and the growth of the peak resident size, the design file's size
// and the photos' own; a 50-megapixel picture takes 200 MB decoded, and a design may take 768
// MB. Grain sets how much noise the photos carry: at 14 their JPEG files are as large as a
// phone's (14.7 MB and 3.6 MB), at 24 they are grainier still. Every photo differs.
void BM_PhonePhoto50Mp(benchmark::State &state)
{
    const int step = int(state.range(0));
    const int count = int(state.range(1));
    const QSize size = count == 1 ? QSize(8160, 6120) : QSize(4032, 3024);
    QTemporaryDir dir;
    QStringList photos;
    qint64 photoBytes = 0;
    for (int i = 0; i < count; ++i) {
        photos << dir.filePath(QStringLiteral("IMG_%1.jpg").arg(1001 + i));
        QImageWriter writer(photos.last(), "jpg");
        writer.setQuality(92);
        if (!writer.write(BenchPictures::photo(size.width(), size.height(), 7 + i, int(state.range(2))))) {
            state.SkipWithError("the photo could not be written");
            return;
        }
        photoBytes += QFileInfo(photos.last()).size();
    }
    const auto designOfPhotos = [&] {
        CardDesign design;
        for (int i = 0; i < count; ++i) {
            auto image = std::make_shared<LMNImage>();
            image->setBounds(QRectF(10 + 30 * i, 10, 200, 150));
            image->setFilePath(photos.at(i));
            design.graphics << image;
        }
        return design;
    };
    const QString path = dir.filePath(QStringLiteral("photo.dcard"));
    if (step == 2) {   // for opening: the design holding the photos, saved once
        QString error;
        if (!DesignFile::write(path, designOfPhotos(), &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    }
    long peakKiB = 0;
    qint64 fileBytes = 0;
    bool refused = false;
    for (auto _ : state) {
        state.PauseTiming();
        CardDesign design;
        if (step == 1)
            design = designOfPhotos();
        const long before = BenchMemory::startStep();
        state.ResumeTiming();
        QString error;
        if (step == 0) {
            for (const QString &photo : photos) {
                QString message;
                auto image = std::make_shared<LMNImage>();
                if (PaintStyles::checkPicture(photo, &message))
                    image->setFilePath(photo);
                if (image->_image.size() != size)
                    error = message.isEmpty() ? QStringLiteral("the photo was not taken whole") : message;
                benchmark::DoNotOptimize(image);
            }
        } else if (step == 1) {
            // A refused save is timed too: it costs what encoding the pictures costs.
            refused = !DesignFile::write(path, design, &error);
            error.clear();
        } else {
            const std::optional<CardDesign> opened = DesignFile::read(path, &error);
            if (opened && (opened->graphics.size() != count || opened->graphics.value(0)->_image.size() != size))
                error = QStringLiteral("the photos did not come back");
        }
        if (!error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        state.PauseTiming();
        peakKiB = std::max(peakKiB, BenchMemory::peakGrowthKiB(before));
        fileBytes = QFileInfo(path).size();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = double(peakKiB) / 1024;
    state.counters["photos_MB"] = double(photoBytes) / (1 << 20);
    if (step > 0)
        state.counters["file_MB"] = double(fileBytes) / (1 << 20);
    if (step == 1)
        state.counters["refused"] = refused;
}
BENCHMARK(BM_PhonePhoto50Mp)
    ->ArgNames({"insert0_save1_open2", "photos", "grain"})
    ->ArgsProduct({{0, 1, 2}, {1, 6}, {14, 24}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// A design of 40 pictures of 640 x 480 pixels, each a different photo, opened (Open) and its
// elements pasted (Paste), the pictures stored as JPEG, as PNG, or as SVG naming a picture file
// of this disk. Pictures are read only as PNG, JPEG, GIF, BMP or TIFF, their kind told from
// their first bytes, so an SVG is refused before any reader sees it. Reported: the time of one
// Open or Paste, and how many pictures it read.
void BM_OpenPictures(benchmark::State &state)
{
    const int kind = int(state.range(0));
    const bool paste = state.range(1) == 1;
    constexpr int count = 40;
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("local.png"));
    BenchPictures::photo(640, 480, 1).save(local);
    CardDesign design;
    QList<QByteArray> stored;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes;
        if (kind == 2) {
            bytes = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                                   "width=\"640\" height=\"480\"><image width=\"640\" height=\"480\" "
                                   "xlink:href=\"%1\"/></svg>")
                        .arg(local)
                        .toUtf8();
        } else {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            BenchPictures::photo(640, 480, 100 + i).save(&buffer, kind == 0 ? "JPEG" : "PNG", kind == 0 ? 90 : -1);
        }
        stored << bytes;
        auto image = std::make_shared<LMNImage>();
        image->setBounds(QRectF(10 + 5 * i, 10, 64, 48));
        QImage placeholder(1, 1, QImage::Format_RGB32);
        placeholder.fill(qRgb(i, 0, 0));
        image->_image = placeholder;
        design.graphics << image;
    }
    // The stored data of each picture, in place of its placeholder's.
    const auto withStored = [&stored](QByteArray xml) {
        qsizetype at = 0;
        for (const QByteArray &bytes : stored) {
            at = xml.indexOf("<key>_image</key>", at);
            const qsizetype start = xml.indexOf("<data>", at) + 6;
            const qsizetype end = xml.indexOf("</data>", start);
            xml.replace(start, end - start, bytes.toBase64());
            at = start;
        }
        return xml;
    };
    const QByteArray data = withStored(paste ? LMNGraphicArchive::encodeList(design.graphics, false) : DesignFile::toXml(design));
    // Refused pictures are named in the log; not 40 lines an iteration.
    const QtMessageHandler before = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    int read = 0;
    for (auto _ : state) {
        QString error;
        std::optional<GraphicList> graphics;
        if (paste) {
            graphics = LMNGraphicArchive::decodeList(data, &error);
        } else if (std::optional<CardDesign> opened = DesignFile::fromXml(data, &error)) {
            graphics = opened->graphics;
        }
        if (!graphics || graphics->size() != count) {
            state.SkipWithError(error.isEmpty() ? "the pictures did not come back" : error.toStdString().c_str());
            break;
        }
        read = int(std::count_if(graphics->cbegin(), graphics->cend(), [](const GraphicPtr &g) { return !g->_image.isNull(); }));
    }
    qInstallMessageHandler(before);
    state.counters["pictures_read"] = read;
}
BENCHMARK(BM_OpenPictures)
    ->ArgNames({"jpeg0_png1_svg2", "paste"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PictureReading::install();
    benchmark::Initialize(&argc, argv);
    BenchRatios::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nSaving with one record over saving without (goal: close to 1)\n");
    reporter.printRatio("two 2400 x 1800 photographs", "BM_SavePhotoDesign/records:1", "BM_SavePhotoDesign/records:0");
    BenchRatios::MedianReporter::printMachine();
    benchmark::Shutdown();
    return 0;
}
