#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <list>
#include <mutex>

// Pictures kept for a batch run under a key, within a budget of bytes: storing past the budget
// forgets the least recently used pictures first, and a picture larger than the whole budget
// is not kept at all. Any number of threads may use one cache at once.
class PictureCache
{
public:
    explicit PictureCache(qint64 budgetBytes);

    // The picture stored under `key`, and whether there was one.
    bool find(const QString &key, QImage *picture);
    void store(const QString &key, const QImage &picture);

    qint64 budget() const { return m_budget; }
    // Bytes of the pictures kept now.
    qint64 bytes() const;
    int count() const;

private:
    struct Entry
    {
        QString key;
        QImage picture;
        qint64 bytes = 0;
    };
    using Entries = std::list<Entry>;   // most recently used first

    const qint64 m_budget;
    mutable std::mutex m_mutex;
    Entries m_entries;
    QHash<QString, Entries::iterator> m_index;
    qint64 m_bytes = 0;
};
