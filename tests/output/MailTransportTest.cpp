// The mail transport against real SMTP servers (aiosmtpd) and the shipped script.

#include "SmtpServers.h"

#include "output/MailTransport.h"
#include "support/TestHelpers.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Sent
{
    MailOutcome outcome;
    QList<QJsonObject> messages;
};

Sent send(const QString &kind, const QString &ssl, const QString &to = QStringLiteral("friend@example.org"),
          const QStringList &attachments = {}, const QString &password = SmtpServers::kPassword,
          const QString &port = {}, const QString &host = QStringLiteral("127.0.0.1"))
{
    SmtpServers &servers = SmtpServers::instance();
    const qsizetype before = servers.count();
    QProcess process;
    Sent sent;
    sent.outcome = MailTransport::sendEmail_pyth(&process, to, QStringLiteral("Grüße zum Fest ✓\r\nBcc: spy@example.org\nX-Evil: 1"), attachments,
                                                 QStringLiteral("me@example.org"), password, host,
                                                 port.isEmpty() ? servers.port(kind) : port,
                                                 QStringLiteral("Hallo Welt,\nviele Grüße ✓"), ssl);
    sent.messages = servers.since(before);
    return sent;
}

// Processes whose parent is this test program and whose command line names the mail script.
QList<qint64> mailScriptChildren()
{
    QList<qint64> pids;
    const QString self = QString::number(QCoreApplication::applicationPid());
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile status(QStringLiteral("/proc/%1/status").arg(entry));
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (!status.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        const bool ours = status.readAll().contains("\nPPid:\t" + self.toLatin1() + "\n");
        if (ours && cmdline.readAll().contains("pyth_mail.py"))
            pids.append(entry.toLongLong());
    }
    return pids;
}

// A socket listening on 127.0.0.1 that never accepts and never answers. With `full`, its
// queue of connections waiting to be accepted is filled first, so that the kernel makes no
// further connection to it: a request to connect goes unanswered.
class SilentListener
{
public:
    explicit SilentListener(bool full)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(m_listener, full ? 0 : 16) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        if (full) {
            m_filler = ::socket(AF_INET, SOCK_STREAM, 0);
            if (m_filler < 0 || ::connect(m_filler, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
                m_port = 0;
        }
    }
    ~SilentListener()
    {
        for (int fd : {m_filler, m_listener})
            if (fd >= 0)
                ::close(fd);
    }
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    QString port() const { return m_port ? QString::number(m_port) : QString(); }

private:
    int m_listener = -1;
    int m_filler = -1;
    quint16 m_port = 0;
};

} // namespace

TEST(MailTransport, DeliversOverStartTlsAndImplicitTls)
{
    ASSERT_TRUE(SmtpServers::instance().ready());
    QTemporaryDir dir;
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += QByteArray(20000, '\x5a');
    const QByteArray second = QByteArray("\x89PNG\r\n\x1a\nsecond card", 19) + QByteArray(1, '\0');
    const QStringList files = {TestHelpers::writeFile(dir.filePath("QOVACard_Back.jpeg"), png), TestHelpers::writeFile(dir.filePath("QOVACard.jpeg"), second)};

    for (const QString &kind : {QStringLiteral("starttls"), QStringLiteral("tls")}) {
        SCOPED_TRACE(kind.toStdString());
        const Sent sent = send(kind, kind == QLatin1String("tls") ? "Y" : "N", QStringLiteral(" friend@example.org"), files);
        ASSERT_TRUE(sent.outcome.sent) << sent.outcome.reason.toStdString();
        ASSERT_EQ(sent.messages.size(), 1);
        const QJsonObject m = sent.messages.first();
        EXPECT_EQ(m.value("server").toString(), kind);
        EXPECT_EQ(m.value("rcpt_tos").toArray(), QJsonArray({"friend@example.org"}));
        EXPECT_EQ(m.value("mail_from").toString(), QStringLiteral("me@example.org"));
        EXPECT_EQ(m.value("login").toString(), QStringLiteral("me@example.org"));
        EXPECT_EQ(m.value("password").toString(), SmtpServers::kPassword);
        // Line breaks in the subject never make header lines of their own.
        EXPECT_EQ(m.value("subject").toString(), QStringLiteral("Grüße zum Fest ✓ Bcc: spy@example.org X-Evil: 1"));
        const QJsonArray headers = m.value("header_names").toArray();
        EXPECT_FALSE(headers.contains("Bcc") || headers.contains("X-Evil"));
        EXPECT_EQ(m.value("body").toString().trimmed().replace("\r\n", "\n"), QStringLiteral("Hallo Welt,\nviele Grüße ✓"));
        EXPECT_EQ(m.value("body_charset").toString(), QStringLiteral("utf-8"));
        EXPECT_EQ(SmtpServers::attachmentNames(m), QStringList({"QOVACard_Back.jpeg", "QOVACard.jpeg"}));
        EXPECT_EQ(m.value("attachments").toArray().at(0).toObject().value("type").toString(), QStringLiteral("image/png"));
        EXPECT_EQ(SmtpServers::attachmentData(m, 0), png);
        EXPECT_EQ(SmtpServers::attachmentData(m, 1), second);
    }
}

TEST(MailTransport, FailuresComeBackWithTheirReason)
{
    ASSERT_TRUE(SmtpServers::instance().ready());
    struct Case
    {
        const char *name;
        QString kind, ssl, to, password, port, host;
        const char *reason;
    };
    const QString good = SmtpServers::kPassword;
    const Case cases[] = {
        {"plain server asked for STARTTLS", "plain", "N", "a@example.org", good, {}, "127.0.0.1", "STARTTLS"},
        {"plain server asked for TLS", "plain", "Y", "a@example.org", good, {}, "127.0.0.1", "secure connection"},
        {"wrong password", "starttls", "N", "a@example.org", "wrong", {}, "127.0.0.1", "535"},
        {"refused recipient", "starttls", "N", "refused@example.org", good, {}, "127.0.0.1", "550"},
        {"port not a number", "starttls", "N", "a@example.org", good, "abc", "127.0.0.1", "port"},
        {"closed port", "starttls", "N", "a@example.org", good, "1", "127.0.0.1", "refused"},
        {"unknown host", "starttls", "N", "a@example.org", good, {}, "no-such-host.invalid", "unknown"},
        {"line break in the recipient", "starttls", "N", "a@example.org\r\nBcc: b@example.org", good, {}, "127.0.0.1", "recipient"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Sent sent = send(c.kind, c.ssl, c.to, {}, c.password, c.port, c.host);
        EXPECT_FALSE(sent.outcome.sent);
        EXPECT_TRUE(sent.messages.isEmpty());
        EXPECT_FALSE(sent.outcome.reason.isEmpty());
        EXPECT_TRUE(sent.outcome.reason.contains(QLatin1String(c.reason))) << sent.outcome.reason.toStdString();
        EXPECT_FALSE(sent.outcome.reason.contains(good));
    }

    // A certificate from an authority the system does not trust.
    const QByteArray ca = qgetenv("SSL_CERT_FILE");
    qunsetenv("SSL_CERT_FILE");
    const Sent untrusted = send("tls", "Y");
    qputenv("SSL_CERT_FILE", ca);
    EXPECT_FALSE(untrusted.outcome.sent);
    EXPECT_TRUE(untrusted.outcome.reason.contains("certificate")) << untrusted.outcome.reason.toStdString();

    MailTransport::setScriptPathOverride(QStringLiteral("/nonexistent/pyth_mail.py"));
    const Sent missing = send("starttls", "N");
    MailTransport::setScriptPathOverride({});
    EXPECT_FALSE(missing.outcome.sent);
    EXPECT_TRUE(missing.outcome.reason.contains("pyth_mail.py"));
}

// Servers that do not answer, or that answer as no SMTP server should: the reason names the
// likely cause, and whatever the server sent reaches the line as text without control
// characters.
TEST(MailTransport, FailureReasonsNameTheLikelyCauseAndHoldNoControlCharacters)
{
    ASSERT_TRUE(SmtpServers::instance().ready());
    struct Case
    {
        const char *name;
        QString kind, ssl, to;
        QStringList reasons;
    };
    const Case cases[] = {
        {"implicit TLS server asked for STARTTLS", "tls", "N", "a@example.org",
         {"did not answer within 1 second", "SSL/TLS from the start", "choose SSL in the E-mail Settings", "port 465"}},
        {"silent server", "stall", "N", "a@example.org", {"did not answer within 1 second", "server name and port"}},
        {"silent server asked for TLS", "stall", "Y", "a@example.org", {"did not answer within 1 second", "secure connection"}},
        {"web server", "http", "N", "a@example.org", {"did not answer within 1 second", "SMTP server"}},
        {"STARTTLS server asked for TLS", "starttls", "Y", "a@example.org", {"secure connection", "choose TLS (STARTTLS)"}},
        {"greeting with control characters", "hostile", "N", "a@example.org", {"554", "go away"}},
        {"reply with control characters", "starttls", "N", "controls@example.org", {"550", "mailbox gone"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        MailTransport::Limits limits;
        limits.answerSeconds = 1;
        const MailOutcome outcome =
            MailTransport::sendEmail_pyth(&process, c.to, QStringLiteral("s"), {}, QStringLiteral("me@example.org"),
                                          SmtpServers::kPassword, QStringLiteral("127.0.0.1"),
                                          SmtpServers::instance().port(c.kind), QStringLiteral("b"), c.ssl, limits);
        EXPECT_FALSE(outcome.sent);
        for (const QString &part : c.reasons)
            EXPECT_TRUE(outcome.reason.contains(part)) << outcome.reason.toStdString();
        for (QChar ch : outcome.reason) {
            EXPECT_TRUE(ch.isPrint()) << "U+" << QString::number(ch.unicode(), 16).toStdString() << " in "
                                      << outcome.reason.toStdString();
        }
        EXPECT_FALSE(outcome.reason.contains(SmtpServers::kPassword));
    }
}

// A server that never answers ends the send within the time the reason names, whether the
// secure connection comes first (SSL) or after the greeting (STARTTLS, where a silent server is
// also asked whether it wants TLS from the start, in what is left of the time); and a
// connection that was never made is not reported as a server that stayed silent once reached.
// The time is one deadline for the whole send: a server that answers each command late is given
// up on within it too, each answer waited for only as long as is left of it.
TEST(MailTransport, SilentServerEndsTheSendWithinTheTimeNamed)
{
    ASSERT_TRUE(SmtpServers::instance().ready());
    const SilentListener silent(false), full(true);
    ASSERT_FALSE(silent.port().isEmpty());
    ASSERT_FALSE(full.port().isEmpty());
    // A port nothing listens on: the one a listener had before it closed.
    const QString closed = SilentListener(false).port();
    struct Case
    {
        const char *name;
        QString port, ssl;
        QStringList reasons, notReasons;
        bool waits = true;
        double named = 2.0;   // seconds
    };
    const QString noAnswer = QStringLiteral("did not answer within 2 seconds");
    const QString neverMade = QStringLiteral("no connection to the server was made within 2 seconds");
    const QString afterConnection = QStringLiteral("after the connection was made");
    const Case cases[] = {
        {"silent after connecting, STARTTLS", silent.port(), "N", {noAnswer, afterConnection}, {neverMade}},
        {"silent after connecting, SSL/TLS", silent.port(), "Y", {noAnswer, "secure connection"}, {neverMade}},
        {"never connected, STARTTLS", full.port(), "N", {neverMade, "server name and port"}, {noAnswer, afterConnection}},
        {"never connected, SSL/TLS", full.port(), "Y", {neverMade}, {noAnswer, "secure connection"}},
        {"connection refused", closed, "N", {"connection refused"}, {noAnswer, afterConnection}, false},
        // Without its share of the time the probe for implicit TLS would wait 4 seconds more.
        {"silent after connecting, STARTTLS, 4 seconds", silent.port(), "N",
         {"did not answer within 4 seconds", afterConnection}, {neverMade}, true, 4.0},
        // Waited for answer by answer, the greeting, EHLO and STARTTLS would take 6.6 seconds.
        {"every answer 2.2 seconds late, 4 seconds", SmtpServers::instance().port("slow"), "N",
         {"did not answer within 4 seconds"}, {neverMade}, true, 4.0},
        // Each answer comes after what is left of the time but within a whole time-out: given the
        // whole time-out again for each, the answer to STARTTLS would end the send at 6 seconds.
        {"a quick greeting, then every answer 3 seconds late, 4 seconds", SmtpServers::instance().port("lagging"), "N",
         {"did not answer within 4 seconds to STARTTLS"}, {neverMade}, true, 4.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess process;
        MailTransport::Limits limits;
        limits.answerSeconds = c.named;
        QElapsedTimer clock;
        clock.start();
        const MailOutcome outcome =
            MailTransport::sendEmail_pyth(&process, QStringLiteral("a@example.org"), QStringLiteral("s"), {},
                                          QStringLiteral("me@example.org"), SmtpServers::kPassword,
                                          QStringLiteral("127.0.0.1"), c.port, QStringLiteral("b"), c.ssl, limits);
        const double elapsed = clock.elapsed() / 1000.0;
        EXPECT_FALSE(outcome.sent);
        // It waited for the server, and no longer than the time named (the interpreter's start
        // and a loaded machine given a second and a half).
        if (c.waits) {
            EXPECT_GE(elapsed, c.named * 0.9) << outcome.reason.toStdString();
        }
        EXPECT_LE(elapsed, c.named + 1.5) << outcome.reason.toStdString();
        for (const QString &part : c.reasons)
            EXPECT_TRUE(outcome.reason.contains(part)) << outcome.reason.toStdString();
        for (const QString &part : c.notReasons)
            EXPECT_FALSE(outcome.reason.contains(part)) << outcome.reason.toStdString();
    }
}

// Where nothing answers on port 465 at all, the reason still says what that port usually wants.
TEST(MailTransport, NoAnswerOnPort465SaysItUsuallyWantsSslTls)
{
    const QString script = MailTransport::scriptPath();
    ASSERT_FALSE(script.isEmpty());
    QProcess python;
    python.start(MailTransport::interpreter(),
                 {QStringLiteral("-c"),
                  QStringLiteral("import runpy, sys\n"
                                 "mail = runpy.run_path(sys.argv[1], run_name='mail')\n"
                                 "for port in (465, 587):\n"
                                 "    print(mail['no_answer_reason']('after the connection was made', '127.0.0.1', port, 'N', 0.5))\n"),
                  script});
    ASSERT_TRUE(python.waitForFinished(20000));
    const QStringList lines = QString::fromUtf8(python.readAllStandardOutput()).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2) << python.readAllStandardError().toStdString();
    EXPECT_TRUE(lines[0].contains("port 465 usually wants SSL/TLS; choose SSL")) << lines[0].toStdString();
    EXPECT_FALSE(lines[1].contains("465")) << lines[1].toStdString();
}

// Attachments the script cannot or must not read whole: each ends the run before any server
// is reached, with status 1 and one line naming the attachment and why; never a traceback.
TEST(MailTransport, AttachmentsThatCannotBeReadEndInOneLineAndStatusOne)
{
    SmtpServers &servers = SmtpServers::instance();
    ASSERT_TRUE(servers.ready());
    const QString script = MailTransport::scriptPath();
    ASSERT_FALSE(script.isEmpty());
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.jpeg");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString unreadable = TestHelpers::writeFile(dir.filePath("locked.jpeg"), "x");
    QFile::setPermissions(unreadable, {});
    // Sparse files: the size is checked before anything is read.
    const auto sized = [&dir](const char *name, qint64 bytes) {
        QFile file(dir.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(bytes));
        return file.fileName();
    };
    constexpr qint64 kLimit = qint64(50) << 20;
    const QString large = sized("large.jpeg", kLimit + 1);
    const QString half = sized("half.jpeg", kLimit / 2 + 1);
    const QString card = TestHelpers::writeFile(dir.filePath("QOVACard.jpeg"), QByteArray("\x89PNG\r\n\x1a\n", 8));

    struct Case
    {
        const char *name;
        QStringList attachments;
        const char *reason;
    };
    QList<Case> cases = {
        {"endless device", {card, "/dev/zero"}, "cannot read attachment zero: it is not a regular file"},
        {"folder", {dir.path()}, "it is not a regular file"},
        {"pipe without writer", {fifo}, "cannot read attachment pipe.jpeg: it is not a regular file"},
        {"missing file", {dir.filePath("gone.jpeg")}, "cannot read attachment gone.jpeg: No such file or directory"},
        {"file whose reading fails", {"/proc/self/mem"}, "cannot read attachment mem: Input/output error"},
        {"one too large", {large}, "the attachment large.jpeg is too large: the attachments may hold 50 MB together"},
        {"two too large together", {half, card, half}, "the attachment half.jpeg is too large"},
    };
    if (geteuid() != 0) // the superuser reads any file
        cases.append({"file without read permission", {unreadable}, "cannot read attachment locked.jpeg: Permission denied"});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype before = servers.count();
        QProcess process;
        // An unbounded read must fail quickly here, not take the machine's memory.
        process.setChildProcessModifier([] {
            const rlimit memory{rlim_t(1) << 30, rlim_t(1) << 30};
            setrlimit(RLIMIT_AS, &memory);
        });
        process.start(MailTransport::interpreter(),
                      QStringList({script, "me@example.org", "127.0.0.1", servers.port("starttls"), "me@example.org",
                                   "friend@example.org", "s", "b", "N"})
                          + c.attachments);
        ASSERT_TRUE(process.waitForStarted());
        process.write(SmtpServers::kPassword.toUtf8() + "\n");
        process.closeWriteChannel();
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "the script did not end";
            continue;
        }
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_EQ(errors.count(u'\n'), 1) << errors.toStdString();
        EXPECT_TRUE(errors.endsWith(u'\n'));
        EXPECT_TRUE(errors.contains(QLatin1String(c.reason))) << errors.toStdString();
        EXPECT_FALSE(errors.contains(QLatin1String("Traceback")));
        EXPECT_TRUE(servers.since(before).isEmpty());
        if (process.exitCode() != 1 || errors.count(u'\n') != 1)
            continue; // the send window's run has no memory bound of its own

        // The send window gets the same line as the reason.
        QProcess transported;
        const MailOutcome outcome = MailTransport::sendEmail_pyth(&transported, "friend@example.org", "s", c.attachments,
                                                                  "me@example.org", SmtpServers::kPassword, "127.0.0.1",
                                                                  servers.port("starttls"), "b", "N");
        EXPECT_FALSE(outcome.sent);
        EXPECT_EQ(outcome.reason, errors.trimmed());
    }
}

// What the script is handed: arguments, environment and standard input, seen by a stand-in.
TEST(MailTransport, ScriptGetsArgumentsBareEnvironmentAndPasswordOnStandardInput)
{
    QTemporaryDir dir;
    const QString record = dir.filePath("seen.json");
    const QString script = TestHelpers::writeFile(dir.filePath("pyth_mail.py"), QStringLiteral(
        "import json, os, sys\n"
        "json.dump({'argv': sys.argv[1:], 'env': dict(os.environ),\n"
        "           'stdin': sys.stdin.buffer.read().decode('utf-8')}, open(%1, 'w'))\n"
        "sys.exit(int(os.environ.get('EXIT_CODE', sys.argv[8] == 'Y')))\n").arg("'" + record + "'").toUtf8());
    MailTransport::setScriptPathOverride(script);
    for (const QStringList &attachments : {QStringList(), QStringList({"/tmp/a b.jpeg", "/tmp/c.jpeg"})}) {
        QProcess process;
        const MailOutcome outcome = MailTransport::sendEmail_pyth(
            &process, " to@x.org", "Subject; rm -rf ~", attachments, "me@x.org", "pässwörd", "smtp.x.org", "587",
            "$(body)", "N");
        EXPECT_TRUE(outcome.sent);
        const QJsonObject seen = QJsonDocument::fromJson(TestHelpers::readFile(record)).object();
        QStringList argv;
        for (const QJsonValue &v : seen.value("argv").toArray())
            argv.append(v.toString());
        EXPECT_EQ(argv, QStringList({"me@x.org", "smtp.x.org", "587", "me@x.org", " to@x.org", "", "", "N"}) + attachments);
        QStringList env = seen.value("env").toObject().keys();
        env.removeAll("SSL_CERT_FILE");
        env.removeAll("SSL_CERT_DIR");
        env.removeAll("LC_CTYPE");   // Python sets it for its own locale coercion
        EXPECT_EQ(env, QStringList({"PATH", "PYTHONPATH"}));
        EXPECT_EQ(seen.value("env").toObject().value("PATH").toString(), "/bin:/usr/bin:/usr/local/bin");
        // The password line, then subject and body, which never show in the process list.
        const QString input = seen.value("stdin").toString();
        ASSERT_TRUE(input.startsWith(QStringLiteral("pässwörd\n")));
        const QJsonObject texts = QJsonDocument::fromJson(input.section('\n', 1).toUtf8()).object();
        EXPECT_EQ(texts.value("subject").toString(), "Subject; rm -rf ~");
        EXPECT_EQ(texts.value("body").toString(), "$(body)");
    }
    QProcess process;
    EXPECT_FALSE(MailTransport::sendEmail_pyth(&process, "t@x.org", "", {}, "m@x.org", "", "h", "1", "", "Y").sent);
    MailTransport::setScriptPathOverride({});
}

// A server that never answers: the password is nowhere in the child's command line or
// environment while it waits, and the time limit ends the child.
TEST(MailTransport, StalledServerTimesOutWithoutShowingThePassword)
{
    ASSERT_TRUE(SmtpServers::instance().ready());
    MailOutcome outcome;
    QThread *worker = QThread::create([&] {
        QProcess process;
        MailTransport::Limits limits;
        limits.timeLimitMs = 1500;
        outcome = MailTransport::sendEmail_pyth(&process, "a@example.org", "s", {}, "me@example.org",
                                                SmtpServers::kPassword, "127.0.0.1",
                                                SmtpServers::instance().port("stall"), "b", "N", limits);
    });
    worker->start();
    QList<qint64> children;
    QTRY_VERIFY_WITH_TIMEOUT(!(children = mailScriptChildren()).isEmpty() || worker->isFinished(), 10000);
    ASSERT_FALSE(children.isEmpty());
    for (const char *part : {"cmdline", "environ"}) {
        QFile file(QStringLiteral("/proc/%1/%2").arg(children.first()).arg(QLatin1String(part)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_FALSE(text.isEmpty());
        EXPECT_FALSE(text.contains(SmtpServers::kPassword.toUtf8())) << part;
    }
    worker->wait();
    delete worker;
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(outcome.reason.contains("timed out")) << outcome.reason.toStdString();
    EXPECT_TRUE(mailScriptChildren().isEmpty());
}
