#pragma once

// What every fuzz target shares: a headless Qt application made once, a private folder for the
// files a reader must find on disk, and a way to stop on a broken promise.
//
// The private folder is the current folder, and holds a picture ("local.png") and a FIFO
// ("fifo") that picture data may name: a picture drawn from data of a kind not read breaks a
// promise (picturesAreOfKindsRead), and a reader that opened the FIFO would wait past the run's
// time limit.

#include "document/LMNGraphic.h"
#include "document/PictureReading.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <QImage>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

namespace Fuzz {

// Call from LLVMFuzzerInitialize. Temporary files of the readers go below folder().
inline void start(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir folder;
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    static QGuiApplication app(*argc, *argv);
    PictureReading::install();
    QDir::setCurrent(folder.path());
    QImage local(16, 16, QImage::Format_RGB32);
    local.fill(Qt::red);
    if (!local.save(QStringLiteral("local.png")) || ::mkfifo("fifo", 0600) != 0)
        std::abort();
    // Readers log what they skip; thousands of runs a second need no log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

inline QString folder()
{
    return QDir::tempPath();
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
}

// A promise of the reader did not hold: libFuzzer keeps the input as a crash.
[[noreturn]] inline void broken(const char *promise)
{
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

// Every picture the elements hold that was decoded from stored data was decoded from data of a
// kind read.
inline void picturesAreOfKindsRead(const GraphicList &graphics)
{
    for (const GraphicPtr &graphic : graphics) {
        const std::pair<const QImage &, const PictureBytes &> pictures[] = {
            {graphic->_image, graphic->_image_bytes}, {graphic->_barcode_image, graphic->_barcode_image_bytes}};
        for (const auto &[picture, stored] : pictures) {
            const QByteArray data = picture.isNull() ? QByteArray() : stored.bytesOf(picture);
            if (!data.isEmpty() && PictureReading::kindOf(data) == PictureReading::Kind::Unknown)
                broken("a picture is read only from data of a kind read");
        }
    }
}

} // namespace Fuzz
