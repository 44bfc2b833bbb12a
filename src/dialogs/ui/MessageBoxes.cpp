#include "dialogs/ui/MessageBoxes.h"

#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "dialogs/ui/ModalSeam.h"

#include <QApplication>
#include <QThread>

#include <exception>
#include <functional>

namespace {

// Runs `work` on the main thread and returns when it is done. Exceptions stay inside: one
// escaping a queued call would end the process.
void runOnMainThread(const std::function<void()> &work)
{
    auto guarded = [&work] {
        try {
            work();
        } catch (const std::exception &e) {
            Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        } catch (...) {
            Show_NSLog_Message(QStringLiteral("An unknown failure while showing a message."));
        }
    };
    QCoreApplication *app = QCoreApplication::instance();
    if (QThread::currentThread() == app->thread())
        guarded();
    else
        QMetaObject::invokeMethod(app, guarded, Qt::BlockingQueuedConnection);
}

int showAlert(const ModalSeam::Message &message)
{
    int pressed = -1;
    if (!QCoreApplication::instance()) {
        // No user interface to show it in (a command-line run): the log is all there is.
        Show_NSLog_Message(message.text.trimmed());
        return pressed;
    }
    runOnMainThread([&] { pressed = ModalSeam::instance().showMessage(QApplication::activeWindow(), message); });
    return pressed;
}

} // namespace

namespace {
void showOkAlert(const QString &text, QMessageBox::Icon icon)
{
    ModalSeam::Message message;
    message.icon = icon;
    message.title = QCoreApplication::applicationName();
    message.text = QStringLiteral("\n") + text;
    message.buttons = {QStringLiteral("OK")};
    showAlert(message);
}
} // namespace

void Show_MessageBox(const QString &text)
{
    showOkAlert(text, QMessageBox::Information);
}

void Show_Warning_MessageBox(const QString &text)
{
    showOkAlert(text, QMessageBox::Warning);
}

int Show_YES_NO_MessageBox(const QString &text)
{
    ModalSeam::Message message;
    message.icon = QMessageBox::Question;
    message.title = QCoreApplication::applicationName();
    message.text = text;
    message.buttons = {QStringLiteral("Yes"), QStringLiteral("No")};
    message.defaultButton = 0;
    const int answer = showAlert(message) == 0 ? 1 : 0;
    yes_no_msg_val = answer;
    return answer;
}
