// Leak checking reaches our own code behind Qt's event handling: a leak planted in a mouse
// and a key handler must be reported by the test build, with tests/lsan.supp in force.

#include "support/TestHelpers.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

const char kPlantVariable[] = "FESTILOOM_PLANT_LEAK";

// Forgets what it allocates, as a careless handler would.
__attribute__((noinline)) void forget(qsizetype size)
{
    [[maybe_unused]] static char *volatile last = nullptr;
    last = new char[size];
    last = nullptr;
}

class CarelessWidget : public QWidget
{
protected:
    void mousePressEvent(QMouseEvent *) override { forget(4000); }
    void keyPressEvent(QKeyEvent *) override { forget(3000); }
};

} // namespace

// Runs only inside the child that the test below starts.
TEST(PlantedLeak, InAMouseAndAKeyHandler)
{
    if (qEnvironmentVariableIsEmpty(kPlantVariable))
        GTEST_SKIP() << "runs only as the child of LeakCheck";
    CarelessWidget widget;
    widget.resize(50, 50);
    widget.show();
    QTest::mouseClick(&widget, Qt::LeftButton);
    QTest::keyClick(&widget, Qt::Key_A);
}

TEST(LeakCheck, ALeakPlantedInAMouseOrKeyHandlerIsReported)
{
#ifndef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "leak checking comes with the AddressSanitizer build";
#endif
    int exitCode = 0;   // the child runs with the suppressions of every test run
    const QString report = TestHelpers::runThisProgramAgain(QStringLiteral("PlantedLeak.*"), kPlantVariable, &exitCode);
    EXPECT_NE(exitCode, 0);
    EXPECT_TRUE(report.contains(QStringLiteral("detected memory leaks"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("4000 byte(s)"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("3000 byte(s)"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("mousePressEvent"))) << report.toStdString();
}
