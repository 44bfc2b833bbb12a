// Race detection reaches our code: under the ThreadSanitizer build (scripts/build.sh tsan),
// two threads writing the same pixels without a lock must be reported, with the options and
// suppressions every threaded test runs with.

#include "support/TestHelpers.h"

#include <QProcess>
#include <QThreadPool>

#include <atomic>
#include <mutex>
#include <thread>

namespace {
const char kPlantVariable[] = "FESTILOOM_PLANT_RACE";
}

// Runs only inside the child that the test below starts.
TEST(PlantedRace, TwoThreadsPaintOnePictureWithoutALock)
{
    if (qEnvironmentVariableIsEmpty(kPlantVariable))
        GTEST_SKIP() << "runs only as the child of RaceCheck";
    QImage picture(64, 64, QImage::Format_ARGB32);
    uchar *bits = picture.bits();
    auto paint = [bits](uchar value) {
        for (int i = 0; i < 64 * 64 * 4; ++i)
            bits[i] += value;   // blending reads what is there
    };
    std::thread first(paint, 1);
    std::thread second(paint, 2);
    first.join();
    second.join();
}

TEST(RaceCheck, ARacePlantedOnAPictureIsReported)
{
#ifndef __SANITIZE_THREAD__
    GTEST_SKIP() << "race detection comes with the ThreadSanitizer build";
#endif
    int exitCode = 0;
    const QString report = TestHelpers::runThisProgramAgain(QStringLiteral("PlantedRace.*"), kPlantVariable, &exitCode);
    EXPECT_NE(exitCode, 0);
    EXPECT_TRUE(report.contains(QStringLiteral("ThreadSanitizer: data race"))) << report.toStdString();
}

namespace {

// What the test below hands to a pool thread: reached through the lock alone (the task itself
// carries nothing, since Qt's own queue is invisible to the race detector).
struct Handed
{
    std::mutex mutex;
    int *slot = nullptr;
    std::atomic<bool> done{false};
};

Handed &handed()
{
    static Handed instance;
    return instance;
}

} // namespace

// Threads of Qt's pool outlive the programs that tests and mail runs start. What the race
// detector knows of their locks must survive those starts, or every later hand-over through a
// lock is reported as a race (see tests/support/VforkAsFork.cpp).
TEST(RaceCheck, PoolThreadsKeepTheirLocksAcrossAProgramStart)
{
    Handed &h = handed();
    for (int round = 0; round < 6; ++round) {
        int value = round;
        {
            std::lock_guard lock(h.mutex);
            h.slot = &value;
            h.done.store(false);
            QThreadPool::globalInstance()->start([] {
                std::lock_guard taken(handed().mutex);
                *handed().slot += 1;
                handed().done.store(true, std::memory_order_release);
            });
        }
        while (!h.done.load(std::memory_order_acquire))
            std::this_thread::yield();
        {
            std::lock_guard lock(h.mutex);
            EXPECT_EQ(value, round + 1);
            h.slot = nullptr;
        }
        QProcess program;
        program.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")});
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitCode(), 3);
    }
    QProcess missing;
    missing.start(QStringLiteral("/nonexistent/festiloom-helper"));
    EXPECT_FALSE(missing.waitForStarted(10000));
    EXPECT_EQ(missing.error(), QProcess::FailedToStart);
}
