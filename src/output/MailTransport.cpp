#include "output/MailTransport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>

namespace {

QMutex g_settingsLock;
QString g_scriptOverride;
std::atomic<qint64> g_timeLimitMs{120000};

constexpr int kWaitStepMs = 50;
constexpr qsizetype kMaxReasonLength = 400;

QProcessEnvironment childEnvironment()
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PYTHONPATH"), QString());
    env.insert(QStringLiteral("PATH"), QStringLiteral("/bin:/usr/bin:/usr/local/bin"));
    // Where the user points OpenSSL at other authorities, the script honours it too.
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {QStringLiteral("SSL_CERT_FILE"), QStringLiteral("SSL_CERT_DIR")})
        if (own.contains(name))
            env.insert(name, own.value(name));
    return env;
}

// The last line the script wrote, its control and format characters (ESC, BEL, bidirectional
// overrides, ...) shown as blanks: a server's words reach the user's window as text only.
QString lastLine(const QByteArray &output)
{
    const QList<QByteArray> lines = output.trimmed().split('\n');
    QString line = QString::fromUtf8(lines.isEmpty() ? QByteArray() : lines.last());
    for (QChar &c : line) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return line.simplified().left(kMaxReasonLength);
}

// The name with its line breaks shown as blanks, for a message that names it on one line.
QString foldedName(QString name)
{
    for (QChar &c : name)
        if (MailTransport::isLineBreak(c))
            c = QLatin1Char(' ');
    return name;
}

bool hasLineBreak(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return MailTransport::isLineBreak(c); });
}

} // namespace

bool MailTransport::isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case u'\n': case u'\v': case u'\f': case u'\r':
    case 0x1c: case 0x1d: case 0x1e: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

QString MailTransport::scriptPath()
{
    {
        QMutexLocker lock(&g_settingsLock);
        if (!g_scriptOverride.isEmpty())
            return QFileInfo(g_scriptOverride).isFile() ? g_scriptOverride : QString();
    }
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {dir + QStringLiteral("/pyth_mail.py"),
                                    dir + QStringLiteral("/../share/festiloom/pyth_mail.py"),
                                    QStringLiteral(FESTILOOM_BUILD_SHARE_DIR "/pyth_mail.py")};
    for (const QString &path : candidates)
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    return {};
}

void MailTransport::setScriptPathOverride(const QString &path)
{
    QMutexLocker lock(&g_settingsLock);
    g_scriptOverride = path;
}

qint64 MailTransport::defaultTimeLimitMs()
{
    return g_timeLimitMs.load();
}

void MailTransport::setDefaultTimeLimitMs(qint64 ms)
{
    g_timeLimitMs.store(ms);
}

MailOutcome MailTransport::sendEmail_pyth(QProcess *process, const QString &toAddress, const QString &withSubject,
                                          const QStringList &Attachments, const QString &withSender,
                                          const QString &withPwd, const QString &withSMTP, const QString &withPort,
                                          const QString &withBody, const QString &enable_ssl, const Limits &limits)
{
    const QString script = scriptPath();
    if (script.isEmpty())
        return {false, QStringLiteral("the mail script pyth_mail.py is missing")};

    for (const QString &path : Attachments) {
        const QString name = QFileInfo(path).fileName();
        if (hasLineBreak(name))
            return {false, QStringLiteral("the attachment name \"%1\" holds a line break").arg(foldedName(name))};
    }

    // Subject and body go through standard input: a long body would pass the limit of a
    // command line, and neither belongs in the process list.
    QStringList arguments = {script, withSender, withSMTP, withPort, withSender, toAddress,
                             QString(), QString(), enable_ssl};
    arguments += Attachments;
    process->setProcessEnvironment(childEnvironment());
    process->setProgram(interpreter());
    process->setArguments(arguments);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(QIODevice::ReadWrite);
    if (!process->waitForStarted())
        return {false, QStringLiteral("cannot start %1: %2").arg(interpreter(), process->errorString())};

    QJsonObject texts;
    texts.insert(QStringLiteral("subject"), withSubject);
    texts.insert(QStringLiteral("body"), withBody);
    if (limits.answerSeconds > 0)
        texts.insert(QStringLiteral("timeout"), limits.answerSeconds);
    process->write(withPwd.toUtf8());
    process->write("\n");
    process->write(QJsonDocument(texts).toJson(QJsonDocument::Compact));
    process->closeWriteChannel();

    QDeadlineTimer deadline(limits.timeLimitMs);
    QByteArray errors;
    QString stopped;
    while (process->state() != QProcess::NotRunning) {
        process->waitForFinished(kWaitStepMs);
        errors += process->readAllStandardError();
        if (limits.processEvents)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (process->state() == QProcess::NotRunning)
            break;
        if (limits.cancel && limits.cancel->load())
            stopped = QStringLiteral("sending was stopped");
        else if (deadline.hasExpired())
            stopped = QStringLiteral("the mail script timed out after %1 seconds").arg(limits.timeLimitMs / 1000.0);
        if (!stopped.isEmpty()) {
            process->kill();
            process->waitForFinished(-1);
            return {false, stopped};
        }
    }
    errors += process->readAllStandardError();
    if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0)
        return {true, {}};
    QString reason = lastLine(errors);
    if (reason.isEmpty())
        reason = process->exitStatus() == QProcess::NormalExit
                     ? QStringLiteral("the mail script ended with status %1").arg(process->exitCode())
                     : QStringLiteral("the mail script crashed");
    return {false, reason};
}
