#include "panels/ThumbnailCache.h"

#include "document/PictureReading.h"

#include <QPainter>
#include <QPointer>

namespace {

QImage makePlaceholder(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(230, 232, 238));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(160, 165, 175), 2));
    painter.drawRect(image.rect().adjusted(1, 1, -2, -2));
    painter.drawLine(image.rect().topLeft(), image.rect().bottomRight());
    painter.drawLine(image.rect().topRight(), image.rect().bottomLeft());
    return image;
}

} // namespace

ThumbnailCache::ThumbnailCache(const QSize &maximumSize, int threads, QObject *parent)
    : QObject(parent)
    , m_maximumSize(maximumSize)
    , m_placeholder(makePlaceholder(maximumSize))
{
    if (threads > 0)
        m_pool.setMaxThreadCount(threads);
}

ThumbnailCache::~ThumbnailCache()
{
    m_pool.clear();
    m_pool.waitForDone();
}

QImage ThumbnailCache::readScaled(const QString &path, const QSize &maximumSize)
{
    return PictureReading::readFile(path, PictureReading::within(maximumSize)).picture;
}

QImage ThumbnailCache::thumbnail(const QString &path)
{
    const auto ready = m_ready.constFind(path);
    if (ready != m_ready.constEnd())
        return ready->isNull() ? m_placeholder : *ready;
    if (!m_pending.contains(path)) {
        m_pending.insert(path);
        QPointer<ThumbnailCache> self(this);
        const QSize maximumSize = m_maximumSize;
        {
            std::lock_guard lock(m_readsMutex);
            ++m_reads;
        }
        m_pool.start([this, self, path, maximumSize] {
            const QImage image = readScaled(path, maximumSize);
            // Hand the picture to the main thread; nothing arrives once the cache is gone.
            if (self)
                QMetaObject::invokeMethod(self, [self, path, image] {
                    if (self)
                        self->store(path, image);
                }, Qt::QueuedConnection);
            // The cache waits for its reads before it goes, so `this` is still there.
            std::lock_guard lock(m_readsMutex);
            if (--m_reads == 0)
                m_readsDone.notify_all();
        });
    }
    return m_placeholder;
}

void ThumbnailCache::store(const QString &path, const QImage &image)
{
    m_pending.remove(path);
    m_ready.insert(path, image);
    emit thumbnailReady(path);
}

void ThumbnailCache::waitForDone()
{
    std::unique_lock lock(m_readsMutex);
    m_readsDone.wait(lock, [this] { return m_reads == 0; });
}
