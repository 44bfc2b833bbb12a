#include "ScriptedModalSeam.h"

ScriptedModalSeam::ScriptedModalSeam()
    : m_previous(ModalSeam::install(this))
{
}

ScriptedModalSeam::~ScriptedModalSeam()
{
    ModalSeam::install(m_previous);
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
    if (m_answers.empty())
        return message.buttons.isEmpty() ? -1 : message.defaultButton;
    const QString answer = m_answers.front();
    m_answers.pop_front();
    return int(message.buttons.indexOf(answer));
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
