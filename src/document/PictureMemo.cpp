#include "document/PictureMemo.h"

bool PictureMemo::find(const QString &key, QImage *picture) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->first == key) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            if (picture)
                *picture = m_entries.front().second;
            return true;
        }
    }
    return false;
}

void PictureMemo::store(const QString &key, const QImage &picture) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->first == key) {
            m_entries.erase(it);
            break;
        }
    }
    m_entries.emplace_front(key, picture);
    while (int(m_entries.size()) > m_capacity)
        m_entries.pop_back();
}

void PictureMemo::clear() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}
