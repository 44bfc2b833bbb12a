#include "document/PictureBytes.h"

PictureBytes::PictureBytes(const QByteArray &bytes, const QImage &picture)
{
    const bool bound = !picture.isNull() && !bytes.isEmpty();
    m_state = bound ? State{bytes, picture.cacheKey(), true} : State();
}

PictureBytes::PictureBytes(const PictureBytes &other)
    : m_state(other.state())
{
}

PictureBytes &PictureBytes::operator=(const PictureBytes &other)
{
    if (this != &other) {
        State state = other.state();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_state = std::move(state);
    }
    return *this;
}

PictureBytes::State PictureBytes::state() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state;
}

QByteArray PictureBytes::bytesOf(const QImage &picture) const
{
    if (picture.isNull())
        return {};
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state.key == picture.cacheKey() ? m_state.bytes : QByteArray();
}

bool PictureBytes::decodesTo(const QImage &picture) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !picture.isNull() && m_state.read && m_state.key == picture.cacheKey();
}

void PictureBytes::rememberEncoding(const QByteArray &encoding, const QImage &picture) const
{
    const bool bound = !picture.isNull() && !encoding.isEmpty();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = bound ? State{encoding, picture.cacheKey(), false} : State();
}

bool PictureBytes::operator==(const PictureBytes &other) const
{
    if (this == &other)
        return true;
    const State theirs = other.state();
    const State mine = state();
    // Shared bytes compare by their data pointer first: no 15 MB comparison for a copy.
    return mine.key == theirs.key && mine.read == theirs.read
           && (mine.bytes.constData() == theirs.bytes.constData() || mine.bytes == theirs.bytes);
}
