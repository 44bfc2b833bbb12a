#include "data/PictureCache.h"

PictureCache::PictureCache(qint64 budgetBytes) : m_budget(budgetBytes)
{
}

bool PictureCache::find(const QString &key, QImage *picture)
{
    std::lock_guard lock(m_mutex);
    const auto found = m_index.constFind(key);
    if (found == m_index.cend())
        return false;
    m_entries.splice(m_entries.begin(), m_entries, *found);
    *picture = (*found)->picture;
    return true;
}

void PictureCache::store(const QString &key, const QImage &picture)
{
    const qint64 size = picture.sizeInBytes();
    std::lock_guard lock(m_mutex);
    if (const auto found = m_index.constFind(key); found != m_index.cend()) {
        m_bytes -= (*found)->bytes;
        m_entries.erase(*found);
        m_index.erase(found);
    }
    if (size > m_budget)
        return;
    while (!m_entries.empty() && m_bytes + size > m_budget) {
        m_bytes -= m_entries.back().bytes;
        m_index.remove(m_entries.back().key);
        m_entries.pop_back();
    }
    m_entries.push_front(Entry{key, picture, size});
    m_index.insert(key, m_entries.begin());
    m_bytes += size;
}

qint64 PictureCache::bytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

int PictureCache::count() const
{
    std::lock_guard lock(m_mutex);
    return int(m_entries.size());
}
