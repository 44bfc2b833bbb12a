#include "ScriptedModalSeam.h"

#include "dialogs/ui/QtModalSeam.h"

#include <gtest/gtest.h>

ScriptedModalSeam::ScriptedModalSeam()
    : m_previous(ModalSeam::install(this))
{
}

ScriptedModalSeam::~ScriptedModalSeam()
{
    ModalSeam::install(m_previous);
    if (m_unusedExpected)
        return;
    QStringList unused;
    for (const QString &answer : m_answers)
        unused.append(QStringLiteral("answer \"%1\"").arg(answer));
    for (const QString &file : m_files)
        unused.append(QStringLiteral("file \"%1\"").arg(file));
    if (!m_dialogHandlers.empty())
        unused.append(QStringLiteral("%1 dialog handler(s)").arg(m_dialogHandlers.size()));
    if (!unused.isEmpty())
        ADD_FAILURE() << "scripted but never used: " << unused.join(QStringLiteral(", ")).toStdString();
}

void ScriptedModalSeam::answerMessages(const QStringList &buttonTexts)
{
    for (const QString &text : buttonTexts)
        m_answers.push_back(text);
}

void ScriptedModalSeam::onDialog(DialogHandler handler)
{
    m_dialogHandlers.push_back(std::move(handler));
}

void ScriptedModalSeam::chooseFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        m_files.push_back(path);
}

QStringList ScriptedModalSeam::messageTexts() const
{
    QStringList texts;
    for (const Message &m : messages)
        texts.append(m.text);
    return texts;
}

int ScriptedModalSeam::showMessage(QWidget *, const Message &message)
{
    messages.append(message);
    // The box the application would show, laid out and drawn though never shown: whatever
    // its text makes Qt do for a user (reading the files an <img> names) happens here too.
    QtModalSeam::messageBox(nullptr, message)->grab();
    if (m_answers.empty())
        return message.buttons.isEmpty() ? -1 : message.defaultButton;
    const QString answer = m_answers.front();
    m_answers.pop_front();
    if (answer == CloseBox)
        return -1;
    const int pressed = int(message.buttons.indexOf(answer));
    if (pressed < 0)
        ADD_FAILURE() << "scripted answer \"" << answer.toStdString() << "\" is no button of \""
                      << message.text.trimmed().toStdString() << "\" (" << message.buttons.join(QLatin1Char('|')).toStdString()
                      << ")";
    return pressed;
}

int ScriptedModalSeam::execDialog(QDialog *dialog)
{
    dialogsRun.append(dialog);
    if (m_dialogHandlers.empty())
        return QDialog::Rejected;
    DialogHandler handler = std::move(m_dialogHandlers.front());
    m_dialogHandlers.pop_front();
    const int result = handler(dialog);
    dialog->setResult(result);
    return result;
}

QString ScriptedModalSeam::nextFile(const QString &caption, const QString &dir)
{
    fileCaptions.append(caption);
    fileDirs.append(dir);
    if (m_files.empty())
        return {};
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedModalSeam::openFileName(QWidget *, const QString &caption, const QString &dir,
                                        const QString &)
{
    return nextFile(caption, dir);
}

QString ScriptedModalSeam::saveFileName(QWidget *, const QString &caption, const QString &dir,
                                        const QString &)
{
    return nextFile(caption, dir);
}

QString ScriptedModalSeam::existingDirectory(QWidget *, const QString &caption, const QString &dir)
{
    return nextFile(caption, dir);
}

bool ScriptedModalSeam::openUrl(const QUrl &url)
{
    openedUrls.append(url);
    return !refuseUrls;
}
