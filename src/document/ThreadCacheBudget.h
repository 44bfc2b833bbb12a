#pragma once

#include <QtGlobal>

// The bytes the per-thread caches of drawing may keep: at most kThreadBytes on one thread and
// kAllThreadsBytes over all threads together, so that a batch run on many threads stays within
// a known share of memory. A cache takes bytes before it keeps something and gives them back
// when it lets it go; where it may not take them, it starts afresh and tries once more, and
// keeps nothing when that fails too.
namespace ThreadCacheBudget {

constexpr qint64 kThreadBytes = qint64(32) << 20;
constexpr qint64 kAllThreadsBytes = qint64(256) << 20;

// Takes `bytes` for the calling thread unless that would pass either bound.
bool take(qint64 bytes);
void giveBack(qint64 bytes);

// What the calling thread holds, and what all threads hold.
qint64 threadBytes();
qint64 allThreadsBytes();

} // namespace ThreadCacheBudget
