// Entry point of every test program: a headless Qt application around GoogleTest.
//
// Every test starts from a known state: the main thread's drawing caches hold and remember
// nothing, whatever the tests before it drew; and a message or dialog no test expected fails
// the test at once (UnexpectedModalSeam) instead of waiting on a real window.

#include "UnexpectedModalSeam.h"
#include "document/DrawingCaches.h"

#include "document/EnglishPlurals.h"
#include "document/PictureReading.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class KnownStateAtEveryTest : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { DrawingCaches::resetThread(); }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Keep tests away from the user's own folders: all per-user data goes to a scratch home.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QDir(home.path()).filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath("config").toUtf8());
    qputenv("XDG_CACHE_HOME", QDir(home.path()).filePath("cache").toUtf8());
    qputenv("FESTILOOM_RESOURCE_DIR", QDir(home.path()).filePath("resources").toUtf8());
    // Temporary files too: test programs run side by side, and some check that a run left
    // nothing behind in the temporary folder.
    const QString temporary = QDir(home.path()).filePath("tmp");
    QDir().mkpath(temporary);
    qputenv("TMPDIR", QFile::encodeName(temporary));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festiloom"));
    QStandardPaths::setTestModeEnabled(true);
    // Messages with a count in their English plural forms, as the application shows them, and
    // their numbers written the same way whatever the machine's locale.
    EnglishPlurals::install();
    // As the application does, before any thread reads a picture.
    PictureReading::install();
    QLocale::setDefault(QLocale::c());

    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new KnownStateAtEveryTest);
    UnexpectedModalSeam unexpected;
    ModalSeam::install(&unexpected);
    const int result = RUN_ALL_TESTS();
    ModalSeam::install(nullptr);
    return result;
}
