#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

class QProcess;

// What one mail script run reports: whether the server took the message and, when it did
// not, one line saying why (never the password).
struct MailOutcome
{
    bool sent = false;
    QString reason;
};

// Sends one e-mail by running the shipped mail script "pyth_mail.py" with /usr/bin/python3
// as a child process. The arguments are the sender, server, port, sender, recipient, an empty
// subject and body, the SSL flag ("Y" implicit TLS, "N" STARTTLS) and the attachment paths.
// Standard input carries the password and a new line, then the subject and body as a JSON
// object, so a body of any length reaches the script and neither shows in the process list.
// The child gets a bare environment. A child that runs past the time limit, or whose run is
// cancelled, is killed. An attachment whose file name holds a line break is refused before
// the script starts. The reason of a failure is one line without control characters, whatever
// the server or the script wrote.
class MailTransport
{
public:
    struct Limits
    {
        qint64 timeLimitMs = defaultTimeLimitMs();
        // Set from another thread to end the running child (the send window's Stop).
        const std::atomic<bool> *cancel = nullptr;
        // Keep the calling thread's events flowing while waiting (the main thread must paint).
        bool processEvents = false;
        // How long the script waits for each answer of the server before it gives up and says
        // so; 0 leaves the script's own 30 s.
        double answerSeconds = 0;
    };

    static MailOutcome sendEmail_pyth(QProcess *process, const QString &toAddress, const QString &withSubject,
                                      const QStringList &Attachments, const QString &withSender,
                                      const QString &withPwd, const QString &withSMTP, const QString &withPort,
                                      const QString &withBody, const QString &enable_ssl,
                                      const Limits &limits);
    static MailOutcome sendEmail_pyth(QProcess *process, const QString &toAddress, const QString &withSubject,
                                      const QStringList &Attachments, const QString &withSender,
                                      const QString &withPwd, const QString &withSMTP, const QString &withPort,
                                      const QString &withBody, const QString &enable_ssl)
    {
        return sendEmail_pyth(process, toAddress, withSubject, Attachments, withSender, withPwd, withSMTP,
                              withPort, withBody, enable_ssl, Limits());
    }

    // Whether `c` ends a line for the script's mail headers: CR, LF, VT, FF, the file, group
    // and record separators, NEL and the line and paragraph separators.
    static bool isLineBreak(QChar c);

    static QString interpreter() { return QStringLiteral("/usr/bin/python3"); }
    // The shipped script beside the program or in its share folder; empty when none is found.
    static QString scriptPath();
    // Tests point the transport at another script (or at none); empty restores the search.
    static void setScriptPathOverride(const QString &path);

    // How long one message may take before its child is killed (120 s unless changed).
    static qint64 defaultTimeLimitMs();
    static void setDefaultTimeLimitMs(qint64 ms);
};
