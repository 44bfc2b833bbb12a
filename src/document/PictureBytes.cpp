#include "document/PictureBytes.h"

PictureBytes::PictureBytes(const QByteArray &bytes, const QImage &picture)
{
    const bool bound = !picture.isNull() && !bytes.isEmpty();
    m_bytes = bound ? bytes : QByteArray();
    m_key = bound ? picture.cacheKey() : 0;
    m_read = bound;
}

PictureBytes::PictureBytes(const PictureBytes &other)
{
    std::lock_guard<std::mutex> lock(other.m_mutex);
    m_bytes = other.m_bytes;
    m_key = other.m_key;
    m_read = other.m_read;
}

PictureBytes &PictureBytes::operator=(const PictureBytes &other)
{
    if (this == &other)
        return *this;
    QByteArray bytes;
    qint64 key = 0;
    bool read = false;
    {
        std::lock_guard<std::mutex> lock(other.m_mutex);
        bytes = other.m_bytes;
        key = other.m_key;
        read = other.m_read;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bytes = std::move(bytes);
    m_key = key;
    m_read = read;
    return *this;
}

QByteArray PictureBytes::bytesOf(const QImage &picture) const
{
    if (picture.isNull())
        return {};
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_key == picture.cacheKey() ? m_bytes : QByteArray();
}

bool PictureBytes::decodesTo(const QImage &picture) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !picture.isNull() && m_read && m_key == picture.cacheKey();
}

void PictureBytes::rememberEncoding(const QByteArray &encoding, const QImage &picture) const
{
    const bool bound = !picture.isNull() && !encoding.isEmpty();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bytes = bound ? encoding : QByteArray();
    m_key = bound ? picture.cacheKey() : 0;
    m_read = false;
}

bool PictureBytes::operator==(const PictureBytes &other) const
{
    if (this == &other)
        return true;
    QByteArray bytes;
    qint64 key = 0;
    bool read = false;
    {
        std::lock_guard<std::mutex> lock(other.m_mutex);
        bytes = other.m_bytes;
        key = other.m_key;
        read = other.m_read;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    // Shared bytes compare by their data pointer first: no 15 MB comparison for a copy.
    return m_key == key && m_read == read && (m_bytes.constData() == bytes.constData() || m_bytes == bytes);
}
