#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "document/ui/MessageBoxes.h"

#include "support/ScriptedModalSeam.h"

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

// Runs `work` on its own thread while the main thread keeps handling events, as the
// application's event loop does; fails the test instead of hanging.
void runOnWorker(const std::function<void()> &work)
{
    QThread *thread = QThread::create(work);
    thread->start();
    QElapsedTimer timer;
    timer.start();
    while (!thread->isFinished() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(thread->wait(5000)) << "the worker is still waiting for its message";
    delete thread;
}

QtMessageHandler g_previousHandler = nullptr;
QStringList g_log;
void captureLog(QtMsgType, const QMessageLogContext &, const QString &message) { g_log.append(message); }

} // namespace

TEST(Show_MessageBox, ShowsTheTextAfterALineBreakWithOneOKButton)
{
    ScriptedModalSeam seam;
    Show_MessageBox(QStringLiteral("Error in file accessing."));
    ASSERT_EQ(seam.messages.size(), 1);
    EXPECT_EQ(seam.messages[0].text, QStringLiteral("\nError in file accessing."));
    EXPECT_EQ(seam.messages[0].buttons, QStringList{QStringLiteral("OK")});
}

TEST(Show_YES_NO_MessageBox, AnswersOneForYesAndKeepsTheAnswer)
{
    ScriptedModalSeam seam;
    seam.answerMessages({QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("something closed it")});
    const QString question = QStringLiteral("Batch Processing Series already exists. Do you want to replace it?");

    EXPECT_EQ(Show_YES_NO_MessageBox(question), 1);
    EXPECT_EQ(yes_no_msg_val, 1);
    EXPECT_EQ(Show_YES_NO_MessageBox(question), 0);
    EXPECT_EQ(yes_no_msg_val, 0);
    yes_no_msg_val = 1;
    EXPECT_EQ(Show_YES_NO_MessageBox(question), 0); // closed without a button: not a Yes
    EXPECT_EQ(yes_no_msg_val, 0);

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
    runOnWorker([&] {
        worker = QThread::currentThread();
        Show_MessageBox(QStringLiteral("Card 3 could not be written."));
        answer = Show_YES_NO_MessageBox(QStringLiteral("Stop the export?"));
        seam.answered = true;
    });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(yes_no_msg_val, 1);
    ASSERT_EQ(seam.threads.size(), 2);
    for (QThread *thread : seam.threads) {
        EXPECT_EQ(thread, QCoreApplication::instance()->thread());
        EXPECT_NE(thread, worker);
    }
    EXPECT_FALSE(seam.answeredBeforeShown);
    EXPECT_EQ(seam.messageTexts(), (QStringList{QStringLiteral("\nCard 3 could not be written."), QStringLiteral("Stop the export?")}));
}

TEST(MessageBoxesFromWorkers, SeveralWorkersAreAnsweredOneByOne)
{
    ThreadCheckingSeam seam;
    seam.answerMessages({QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("No")});
    std::atomic<int> yes{0};
    QList<QThread *> workers;
    for (int i = 0; i < 4; ++i) {
        workers.append(QThread::create([&yes, i] { yes += Show_YES_NO_MessageBox(QStringLiteral("Mail %1?").arg(i)); }));
        workers.last()->start();
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000
           && std::any_of(workers.begin(), workers.end(), [](QThread *t) { return !t->isFinished(); }))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (QThread *t : workers) {
        EXPECT_TRUE(t->wait(5000));
        delete t;
    }
    EXPECT_EQ(yes, 2);
    EXPECT_EQ(seam.messages.size(), 4);
}

TEST(MessageBoxes, AFailureWhileShowingIsLoggedNotPassedOn)
{
    ThrowingSeam seam;
    g_log.clear();
    g_previousHandler = qInstallMessageHandler(captureLog);
    Show_MessageBox(QStringLiteral("Hello"));
    yes_no_msg_val = 1;
    EXPECT_EQ(Show_YES_NO_MessageBox(QStringLiteral("Sure?")), 0);
    EXPECT_EQ(yes_no_msg_val, 0);
    runOnWorker([] { Show_MessageBox(QStringLiteral("From a worker")); });
    qInstallMessageHandler(g_previousHandler);
    EXPECT_EQ(g_log, QStringList(3, QStringLiteral("the display went away")));
}
