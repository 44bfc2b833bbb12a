#pragma once

#include <QImage>
#include <QString>

#include <list>
#include <mutex>
#include <utility>

// A few pictures an element derived from its own (scaled, with effects applied, or reloaded
// from a changed path), remembered under a key so repeated drawing does not redo the work.
// Elements are drawn from the canvas and from rendering threads at the same time, so every
// access is locked. Copying an element gives the copy an empty memo: it is a cache, not state.
class PictureMemo
{
public:
    explicit PictureMemo(int capacity = 3) : m_capacity(capacity) {}
    PictureMemo(const PictureMemo &other) : m_capacity(other.m_capacity) {}
    PictureMemo &operator=(const PictureMemo &) = delete;

    // The picture stored under `key`, and whether there was one.
    bool find(const QString &key, QImage *picture) const;
    // Stores a picture, forgetting the least recently used one beyond the capacity.
    void store(const QString &key, const QImage &picture) const;
    void clear() const;

private:
    int m_capacity;
    mutable std::mutex m_mutex;
    mutable std::list<std::pair<QString, QImage>> m_entries; // most recently used first
};
