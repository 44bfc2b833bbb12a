#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>

#include <condition_variable>
#include <mutex>

// Thumbnails of picture files, read already scaled under the one rule for pictures
// (PictureReading) on a pool of worker threads and kept once read. Asking never waits: until
// a file's thumbnail is ready the answer is the placeholder, and thumbnailReady() tells when it
// is. A file that cannot be read, or whose picture is too large to decode, keeps the
// placeholder.
// Used from the main thread; the workers only read files.
class ThumbnailCache : public QObject
{
    Q_OBJECT

public:
    explicit ThumbnailCache(const QSize &maximumSize = QSize(192, 192), int threads = 0, QObject *parent = nullptr);
    ~ThumbnailCache() override;

    // The thumbnail of `path`, or the placeholder while it is being read (a read is started
    // the first time a path is asked for).
    QImage thumbnail(const QString &path);
    bool isReady(const QString &path) const { return m_ready.contains(path); }
    QImage placeholder() const { return m_placeholder; }
    // Waits until every read that was started has finished (tests and benchmarks). The
    // pool's threads stay for the next reads (QThreadPool::waitForDone would end them).
    void waitForDone();

    // Reads one thumbnail the way the workers do; a null picture when the file cannot be read.
    static QImage readScaled(const QString &path, const QSize &maximumSize);

signals:
    void thumbnailReady(const QString &path);

private:
    void store(const QString &path, const QImage &image);

    QSize m_maximumSize;
    QThreadPool m_pool;
    // Reads started and not yet finished, guarded by m_readsMutex.
    std::mutex m_readsMutex;
    std::condition_variable m_readsDone;
    int m_reads = 0;
    QImage m_placeholder;
    QHash<QString, QImage> m_ready;
    QSet<QString> m_pending;
};
