#include "document/ThreadCacheBudget.h"

#include <atomic>

namespace ThreadCacheBudget {

namespace {

std::atomic<qint64> g_allThreads{0};
thread_local qint64 t_thread = 0;

} // namespace

bool take(qint64 bytes)
{
    if (bytes < 0 || t_thread + bytes > kThreadBytes)
        return false;
    qint64 now = g_allThreads.load(std::memory_order_relaxed);
    do {
        if (now + bytes > kAllThreadsBytes)
            return false;
    } while (!g_allThreads.compare_exchange_weak(now, now + bytes, std::memory_order_relaxed));
    t_thread += bytes;
    return true;
}

void giveBack(qint64 bytes)
{
    t_thread -= bytes;
    g_allThreads.fetch_sub(bytes, std::memory_order_relaxed);
}

qint64 threadBytes()
{
    return t_thread;
}

qint64 allThreadsBytes()
{
    return g_allThreads.load(std::memory_order_relaxed);
}

} // namespace ThreadCacheBudget
