#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "dialogs/ui/MessageBoxes.h"

#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

// Records on which thread each message is shown, and what the asking thread had done by then.
class ThreadCheckingSeam : public ScriptedModalSeam
{
public:
    int showMessage(QWidget *parent, const Message &message) override
    {
        threads.append(QThread::currentThread());
        answeredBeforeShown = answeredBeforeShown || answered.load();
        return ScriptedModalSeam::showMessage(parent, message);
    }
    QList<QThread *> threads;
    std::atomic<bool> answered{false};
    bool answeredBeforeShown = false;
};

class ThrowingSeam : public ScriptedModalSeam
{
public:
    int showMessage(QWidget *, const Message &) override { throw std::runtime_error("the display went away"); }
};

// Runs each work on its own thread while the main thread keeps handling events, as the
// application's event loop does; fails the test instead of hanging.
void runOnWorkers(const QList<std::function<void()>> &works)
{
    QList<QThread *> threads;
    for (const auto &work : works) {
        threads.append(QThread::create(work));
        threads.last()->start();
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000 && std::any_of(threads.begin(), threads.end(), [](QThread *t) { return !t->isFinished(); }))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (QThread *thread : threads) {
        EXPECT_TRUE(thread->wait(5000)) << "a worker is still waiting for its message";
        delete thread;
    }
}

} // namespace

TEST(MessageBoxes, InformationAfterALineBreakWithOneOKButtonAndQuestionsAnsweringOneForYes)
{
    ScriptedModalSeam seam;
    Show_MessageBox(QStringLiteral("Error in file accessing."));
    ASSERT_EQ(seam.messages.size(), 1);
    EXPECT_EQ(seam.messages[0].text, QStringLiteral("\nError in file accessing."));
    EXPECT_EQ(seam.messages[0].buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(seam.messages[0].icon, QMessageBox::Information);
    Show_Warning_MessageBox(QStringLiteral("The sheets could not be printed."));
    EXPECT_EQ(seam.messages[1].icon, QMessageBox::Warning);
    EXPECT_EQ(seam.messages[1].text, QStringLiteral("\nThe sheets could not be printed."));

    seam.messages.clear();
    seam.answerMessages({QStringLiteral("Yes"), QStringLiteral("No"), ScriptedModalSeam::CloseBox});
    const QString question = QStringLiteral("Batch Processing Series already exists. Do you want to replace it?");

    for (const int expected : {1, 0, 0}) {   // Yes, No, closed without a button: not a Yes
        yes_no_msg_val = 1 - expected;
        EXPECT_EQ(Show_YES_NO_MessageBox(question), expected);
        EXPECT_EQ(yes_no_msg_val, expected);
    }

    ASSERT_EQ(seam.messages.size(), 3);
    EXPECT_EQ(seam.messages[0].text, question);
    EXPECT_EQ(seam.messages[0].buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
}

TEST(MessageBoxesFromWorkers, AreShownOnTheMainThreadWhileTheWorkerWaits)
{
    ThreadCheckingSeam seam;
    seam.answerMessages({QStringLiteral("OK"), QStringLiteral("Yes")});
    std::atomic<int> answer{-1};
    QThread *worker = nullptr;
    runOnWorkers({[&] {
        worker = QThread::currentThread();
        Show_MessageBox(QStringLiteral("Card 3 could not be written."));
        answer = Show_YES_NO_MessageBox(QStringLiteral("Stop the export?"));
        seam.answered = true;
    }});
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(yes_no_msg_val, 1);
    EXPECT_EQ(seam.threads, QList<QThread *>(2, QCoreApplication::instance()->thread()));
    EXPECT_NE(worker, QCoreApplication::instance()->thread());
    EXPECT_FALSE(seam.answeredBeforeShown);
    EXPECT_EQ(seam.messageTexts(), (QStringList{QStringLiteral("\nCard 3 could not be written."), QStringLiteral("Stop the export?")}));
}

TEST(MessageBoxesFromWorkers, SeveralWorkersAreAnsweredOneByOne)
{
    ThreadCheckingSeam seam;
    seam.answerMessages({QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("No")});
    std::atomic<int> yes{0};
    QList<std::function<void()>> works;
    for (int i = 0; i < 4; ++i)
        works.append([&yes, i] { yes += Show_YES_NO_MessageBox(QStringLiteral("Mail %1?").arg(i)); });
    runOnWorkers(works);
    EXPECT_EQ(yes, 2);
    EXPECT_EQ(seam.messages.size(), 4);
}

TEST(MessageBoxes, AFailureWhileShowingIsLoggedNotPassedOn)
{
    ThrowingSeam seam;
    TestHelpers::LogCapture log;
    Show_MessageBox(QStringLiteral("Hello"));
    yes_no_msg_val = 1;
    EXPECT_EQ(Show_YES_NO_MessageBox(QStringLiteral("Sure?")), 0);
    EXPECT_EQ(yes_no_msg_val, 0);
    runOnWorkers({[] { Show_MessageBox(QStringLiteral("From a worker")); }});
    EXPECT_EQ(log.lines(), QStringList(3, QStringLiteral("festiloom: the display went away")));
}
