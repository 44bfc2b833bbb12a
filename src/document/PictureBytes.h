#pragma once

#include <QByteArray>
#include <QImage>

#include <mutex>

// The bytes a picture is stored as in a design or an element archive, bound to that very
// picture: the whole file it was read from (a camera's JPEG stays that JPEG, its metadata
// included), the picture data it was opened or pasted from, or its PNG once Save or Copy
// encoded it. The bond is the picture's cache key: QImage gives a picture a new key whenever
// it is replaced or its pixels change, so a changed picture no longer matches and is encoded
// again. Copies of an element share the bytes (QByteArray is implicitly shared).
//
// Elements are copied on the main thread while drawing threads read them, and Save or Copy
// may remember an encoding on an element it only reads: every access is locked.
class PictureBytes
{
public:
    PictureBytes() = default;
    // `bytes` as the stored form of `picture`, which must be what they decode to (or, for an
    // encoding, what they were encoded from). Nothing is bound to a null picture.
    PictureBytes(const QByteArray &bytes, const QImage &picture);
    PictureBytes(const PictureBytes &other);
    PictureBytes &operator=(const PictureBytes &other);

    // The bytes `picture` is stored as, or nothing when they are not this picture's.
    QByteArray bytesOf(const QImage &picture) const;
    // Whether `picture` is what its stored bytes decode to, format and all: bytes it was read
    // from, not an encoding of it (which PNG may bring back at another depth).
    bool decodesTo(const QImage &picture) const;
    // Binds `encoding`, the bytes `picture` was encoded to, from now on; for an element only
    // read (Save or Copy encoding its picture once).
    void rememberEncoding(const QByteArray &encoding, const QImage &picture) const;

    // Equal when they hold the same bytes for the same picture.
    bool operator==(const PictureBytes &other) const;

private:
    struct State
    {
        QByteArray bytes;
        qint64 key = 0;      // the picture's cache key
        bool read = false;   // the bytes were decoded to the picture (not encoded from it)
    };
    // A copy, taken under the lock.
    State state() const;

    mutable std::mutex m_mutex;
    mutable State m_state;
};
