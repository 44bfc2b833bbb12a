#pragma once

// What every fuzz target shares: a headless Qt application made once, a private folder for the
// files a reader must find on disk, and a way to stop on a broken promise.

#include "document/PictureReading.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// Call from LLVMFuzzerInitialize. Temporary files of the readers go below folder().
inline void start(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir folder;
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    static QGuiApplication app(*argc, *argv);
    PictureReading::install();
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

} // namespace Fuzz
