#pragma once

#include <QtGlobal>

// Counts the heap a piece of work takes, for tests that hold an estimate of memory against
// what is really used. Every allocation is counted as glibc's allocator holds it (the bytes
// asked for plus an 8-byte header, rounded up to 16, at least 32), so the figure is the one
// the release build takes, not what the sanitizer adds around each block. It counts through
// the sanitizer's allocator hooks: without them (an unsanitized build) available() is false.
//
//   HeapCounter heap;            // counts from here
//   work();
//   qint64 peak = heap.peak();   // the most the heap grew above its size at the start
class HeapCounter
{
public:
    HeapCounter();
    HeapCounter(const HeapCounter &) = delete;
    HeapCounter &operator=(const HeapCounter &) = delete;

    static bool available();

    qint64 peak() const;
    qint64 current() const;

private:
    qint64 m_start;
};
