// Windows reopen exactly where they were left, frame included, on a real X display with a
// window manager (ctest runs this program so as dialogs/ReopenedWindowsOnX, under openbox).
// The modal runs are answered by the scripted seam, which shows each window, notes where it
// was placed and left, and closes it with its own Cancel or Close button.

#include "data/DataTestSupport.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/ui/BatchWizard.h"
#include "document/LMNBarcode.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <functional>

namespace {

class ReopenedWindows : public DataTest::DataFolderTest
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X display with a window manager (dialogs/ReopenedWindowsOnX)";
        DataFolderTest::SetUp();
        // A window manager that has just started may still be taking over the display: the
        // windows measured below come once it frames a window of its own.
        QWidget probe;
        probe.resize(120, 80);
        probe.show();
        ASSERT_TRUE(QTest::qWaitFor([&probe] { return probe.frameGeometry() != probe.geometry(); }, 60000))
            << "the window manager framed no window within a minute";
    }

    // Where the window is once it has stayed put for half a second (at most 20 s). The place
    // is read from the window itself, inside its frame: on a loaded machine Qt may report the
    // frame of a window it maps for the first time at the window's own corner for a while, so
    // the frame's corner is only compared where it is sure. The frame is the same around every
    // opening, so the frame is where it was exactly when the window is.
    static QPoint settledPlace(QDialog *dialog)
    {
        QPoint place = dialog->geometry().topLeft();
        QElapsedTimer still, total;
        still.start();
        total.start();
        while (still.elapsed() < 500 && total.elapsed() < 20000) {
            QTest::qWait(50);
            if (dialog->geometry().topLeft() != place) {
                place = dialog->geometry().topLeft();
                still.restart();
            }
        }
        return place;
    }

    // Answers the next modal run: shows the window, waits for its frame, notes its
    // place, moves it by `moveBy` as a user's drag would, notes where it is left and closes it
    // with `close`.
    void answer(QPoint *opened, QPoint *left, QPoint moveBy, const std::function<void(QDialog *)> &close)
    {
        m_seam.onDialog([=](QDialog *dialog) {
            dialog->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog, 20000));
            // The window manager's frame arrives a moment after the window (Qt does not always
            // learn of it at once), and the window may still be placed after that: the place
            // counts once it has held still a while (the waits are long because a loaded
            // machine running sanitized programs is slow).
            (void)QTest::qWaitFor([dialog] { return dialog->frameGeometry() != dialog->geometry(); }, 5000);
            *opened = settledPlace(dialog);
            if (!moveBy.isNull()) {
                // A drag moves the frame and the window inside it alike.
                const QPoint to = *opened + moveBy;
                dialog->move(dialog->frameGeometry().topLeft() + moveBy);
                EXPECT_TRUE(QTest::qWaitFor([dialog, to] { return dialog->geometry().topLeft() == to; }, 20000));
            }
            *left = settledPlace(dialog);
            close(dialog);
            return dialog->result();
        });
    }
};

} // namespace

TEST_F(ReopenedWindows, TheDesignerAndTheSeriesManagerComeBackWhereTheyWereLeft)
{
    struct Window
    {
        const char *name;
        std::function<void()> open;
        std::function<void(QDialog *)> close;
    };
    LMNBarcode element;
    const QList<Window> windows = {
        {"barcode designer", [&] { Barcode_Gen::defaultInstance()->Open_Wnd(&element); },
         [](QDialog *d) { QTest::mouseClick(qobject_cast<Barcode_Gen *>(d)->ui.cancel_btn, Qt::LeftButton); }},
        {"series manager", [] { BatchWizard::defaultInstance()->Open_Wnd(); },
         [](QDialog *d) { QTest::mouseClick(qobject_cast<BatchWizard *>(d)->ui.Close_Btn, Qt::LeftButton); }},
    };
    for (const Window &window : windows) {
        SCOPED_TRACE(window.name);
        // First, second and third opening untouched; a fourth moved by the user; a fifth.
        QList<QPoint> opened(5), left(5);
        for (int i = 0; i < 5; ++i) {
            answer(&opened[i], &left[i], i == 3 ? QPoint(40, 30) : QPoint(), window.close);
            window.open();
        }
        for (int i = 1; i < 5; ++i)
            EXPECT_EQ(opened[i], left[i - 1]) << "opening " << i + 1;
        EXPECT_EQ(opened[2], left[0]);
        EXPECT_EQ(opened[3], left[0]);
        EXPECT_EQ(left[3], left[0] + QPoint(40, 30));
        EXPECT_EQ(opened[4], left[0] + QPoint(40, 30));
    }
}
