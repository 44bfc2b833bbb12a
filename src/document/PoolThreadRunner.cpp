#include "document/PoolThreadRunner.h"

#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

namespace {

// One job handed over, and whether it is done.
struct Handover
{
    const std::function<void()> *job = nullptr;
    std::exception_ptr failure;
    std::mutex mutex;
    std::condition_variable finished;
    // Atomic besides the lock: the wait re-takes the lock inside the C++ library, where a race
    // detector does not see it, and the release here is what tells it that everything the job
    // wrote reaches the waiting thread.
    std::atomic<bool> done{false};
};

// Jobs handed to pool threads that have not picked them up yet. The task given to the pool
// carries nothing: it takes a job from here under the lock, so that everything the job reads
// reaches the pool thread through that lock rather than through the pool's own queue.
std::mutex queueMutex;
std::deque<Handover *> queue;

void takeAndRun()
{
    Handover *handover = nullptr;
    {
        std::lock_guard lock(queueMutex);
        handover = queue.front();
        queue.pop_front();
    }
    try {
        (*handover->job)();
    } catch (...) {
        handover->failure = std::current_exception();
    }
    std::lock_guard lock(handover->mutex);
    handover->done.store(true, std::memory_order_release);
    handover->finished.notify_one();
}

} // namespace

bool PoolThreadRunner::onPoolThread()
{
    QThreadPool *pool = QThreadPool::globalInstance();
    return pool && pool->contains(QThread::currentThread());
}

void PoolThreadRunner::run(const std::function<void()> &job)
{
    QThreadPool *pool = QThreadPool::globalInstance();
    if (!pool || onPoolThread()) {
        job();
        return;
    }
    Handover handover;
    handover.job = &job;
    {
        // Queued and started under one lock: the task cannot look for its job before it is
        // there, and every task finds exactly one.
        std::lock_guard lock(queueMutex);
        queue.push_back(&handover);
        pool->start(&takeAndRun);
    }
    std::unique_lock lock(handover.mutex);
    handover.finished.wait(lock, [&handover] { return handover.done.load(std::memory_order_acquire); });
    if (handover.failure)
        std::rethrow_exception(handover.failure);
}
