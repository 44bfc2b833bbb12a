// The bytes per-thread drawing caches may keep: bounded on each thread and over all threads,
// given back by threads that end.

#include "document/ThreadCacheBudget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr qint64 kMiB = qint64(1) << 20;

} // namespace

TEST(ThreadCacheBudget, AThreadTakesUpToItsShare)
{
    std::thread([] {
        struct Step
        {
            qint64 bytes;
            bool taken;
            qint64 holding;
        };
        const Step steps[] = {
            {20 * kMiB, true, 20 * kMiB},
            {13 * kMiB, false, 20 * kMiB}, // past the thread's 32 MiB
            {12 * kMiB, true, 32 * kMiB},  // exactly up to it
            {1, false, 32 * kMiB},
            {-5, false, 32 * kMiB},
        };
        for (const Step &step : steps) {
            EXPECT_EQ(ThreadCacheBudget::take(step.bytes), step.taken) << step.bytes;
            EXPECT_EQ(ThreadCacheBudget::threadBytes(), step.holding) << step.bytes;
        }
        ThreadCacheBudget::giveBack(32 * kMiB);
        EXPECT_EQ(ThreadCacheBudget::threadBytes(), 0);
    }).join();
}

// Nine threads each wanting 30 MiB: eight get them, the ninth would pass 256 MiB over all.
TEST(ThreadCacheBudget, AllThreadsTogetherStayWithinTheirBytes)
{
    const qint64 before = ThreadCacheBudget::allThreadsBytes();
    std::vector<std::thread> threads;
    std::vector<int> taken(9, -1);
    std::atomic<int> asked{0};
    std::atomic<bool> done{false};
    for (int t = 0; t < 9; ++t) {
        threads.emplace_back([&, t] {
            // One after another, so which one is refused is known.
            while (asked != t)
                std::this_thread::yield();
            taken[std::size_t(t)] = ThreadCacheBudget::take(30 * kMiB);
            ++asked;
            while (!done)
                std::this_thread::yield();
            if (taken[std::size_t(t)])
                ThreadCacheBudget::giveBack(30 * kMiB);
        });
    }
    while (asked < 9)
        std::this_thread::yield();
    EXPECT_EQ(ThreadCacheBudget::allThreadsBytes(), before + 8 * 30 * kMiB);
    done = true;
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(taken, std::vector<int>({1, 1, 1, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(ThreadCacheBudget::allThreadsBytes(), before);
}
