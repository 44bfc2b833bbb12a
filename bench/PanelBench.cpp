// The property panels' costs that a user feels: listing a picture folder, reading thumbnails
// of camera-size JPEGs on worker threads, and one step of a picture effect slider (the
// write-back into the selected pictures and the canvas repaint at 100 %).
//
//   bash scripts/build.sh bench && build/bench/bench/bench_PanelBench
//
// Aims: listing 500 files < 30 ms; 200 thumbnails of 4000 x 3000 JPEGs on 4 threads < 1 s;
// a slider step <= 16 ms with one selected picture and <= 60 ms with ten.

#include "BenchMain.h"
#include "document/LMNDocument.h"
#include "document/LMNImage.h"
#include "document/ui/LMNGraphicView.h"
#include "panels/ElementTabValues.h"
#include "panels/PictureFolders.h"
#include "panels/ThumbnailCache.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <unistd.h>

namespace {

// A camera-size photograph-like JPEG: smooth colour fields.
QString cameraJpeg(const QDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("camera.jpg"));
    if (QFile::exists(path))
        return path;
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x * 255 / 4000, y * 255 / 3000, int(128 + 100 * std::sin((x + y) / 200.0)));
    }
    image.save(path, "JPG", 85);
    return path;
}

void BM_ListPictureFolder(benchmark::State &state)
{
    QTemporaryDir dir;
    for (int i = 0; i < 500; ++i) {
        QFile file(dir.filePath(QStringLiteral("picture-%1.%2").arg(i).arg(i % 3 ? QStringLiteral("jpg") : QStringLiteral("PNG"))));
        file.open(QIODevice::WriteOnly);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(PictureFolders::pictures(dir.path()));
}
BENCHMARK(BM_ListPictureFolder)->Unit(benchmark::kMillisecond);

void BM_Thumbnails200CameraJpegsOn4Threads(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString source = cameraJpeg(QDir(dir.path()));
    QStringList paths;
    for (int i = 0; i < 200; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo-%1.jpg").arg(i));
        if (::link(QFile::encodeName(source).constData(), QFile::encodeName(path).constData()) != 0)
            QFile::copy(source, path);
        paths << path;
    }
    for (auto _ : state) {
        ThumbnailCache cache(QSize(160, 160), 4);
        for (const QString &path : paths)
            cache.thumbnail(path);
        cache.waitForDone();
        QCoreApplication::processEvents();
        if (!cache.isReady(paths.last()))
            state.SkipWithError("a thumbnail did not arrive");
    }
}
BENCHMARK(BM_Thumbnails200CameraJpegsOn4Threads)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_EffectSliderStep(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString source = cameraJpeg(QDir(dir.path()));
    LMNDocument document;
    LMNGraphicView canvas(&document, &document.graphics);
    canvas.setCanvasSize(QSizeF(600, 400));
    canvas.setZoom(1.0);
    canvas.resize(600, 400);
    const int count = int(state.range(0));
    GraphicList pictures;
    for (int i = 0; i < count; ++i) {
        auto picture = std::make_shared<LMNImage>();
        picture->setBounds(QRectF(10 + (i % 5) * 110, 10 + (i / 5) * 150, 100, 75));
        picture->setFilePath(source);
        document.graphics.append(picture);
        pictures.append(picture);
    }
    canvas.selectGraphics(pictures);
    QImage target(600, 400, QImage::Format_ARGB32_Premultiplied);
    ImageTabValues values;
    values.path = source;
    int step = 0;
    for (auto _ : state) {
        values.saturation = 1.0f + float(++step % 50) / 100.0f;
        for (const GraphicPtr &g : canvas.selectedGraphics())
            values.apply(*g);
        QPainter painter(&target);
        canvas.render(&painter);
    }
}
BENCHMARK(BM_EffectSliderStep)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
