// Windows reopen exactly where they were left, frame included, on a real X display with a
// window manager (ctest runs this program so as dialogs/ReopenedWindowsOnX, under openbox).
// The modal runs are answered by the scripted seam, which shows each window, notes where the
// window manager framed it and closes it with its own Cancel or Close button.

#include "data/DataTestSupport.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/ui/BatchWizard.h"
#include "document/LMNBarcode.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>

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
    }

    // The frame's corner once it has stayed put for 300 ms (at most 20 s).
    static QPoint settledFrame(QDialog *dialog)
    {
        QPoint corner = dialog->frameGeometry().topLeft();
        QElapsedTimer still, total;
        still.start();
        total.start();
        while (still.elapsed() < 300 && total.elapsed() < 20000) {
            QTest::qWait(50);
            if (dialog->frameGeometry().topLeft() != corner) {
                corner = dialog->frameGeometry().topLeft();
                still.restart();
            }
        }
        return corner;
    }

    // Answers the next modal run: shows the window, waits for its frame, notes the frame's
    // place, moves it by `moveBy` as a user's drag would, and closes it with `close`.
    void answer(QPoint *framed, QPoint moveBy, const std::function<void(QDialog *)> &close)
    {
        m_seam.onDialog([=](QDialog *dialog) {
            dialog->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog, 20000));
            // The window manager's frame arrives a moment after the window, and the window may
            // still be placed after that: the place counts once it has held still a while (the
            // waits are long because a loaded machine running sanitized programs is slow).
            EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->frameGeometry() != dialog->geometry(); }, 20000));
            *framed = settledFrame(dialog);
            if (!moveBy.isNull()) {
                const QPoint to = *framed + moveBy;
                dialog->move(to);
                EXPECT_TRUE(QTest::qWaitFor([dialog, to] { return dialog->frameGeometry().topLeft() == to; }, 20000));
            }
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
        QList<QPoint> framed(5);
        for (int i = 0; i < 5; ++i) {
            answer(&framed[i], i == 3 ? QPoint(40, 30) : QPoint(), window.close);
            window.open();
        }
        EXPECT_EQ(framed[1], framed[0]);
        EXPECT_EQ(framed[2], framed[0]);
        EXPECT_EQ(framed[3], framed[0]);
        EXPECT_EQ(framed[4], framed[0] + QPoint(40, 30));
    }
}
