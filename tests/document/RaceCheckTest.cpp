// Race detection reaches our code: under the ThreadSanitizer build (scripts/build.sh tsan),
// two threads writing the same pixels without a lock must be reported, with the options and
// suppressions every threaded test runs with.

#include "support/TestHelpers.h"

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
