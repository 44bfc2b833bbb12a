#include "output/MailRun.h"

#include "output/MailGlobals.h"
#include "output/MailTransport.h"
#include "output/OutputGlobals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>

namespace {

constexpr int kPauseStepMs = 100;
constexpr int kFailuresShown = 10;

const QString kRunFailure = QStringLiteral(
    "Could not send email message.\nPlease make sure that:\n1. Entered E-mail settings are correct.\n2. Internet "
    "connectivity to E-mail server is not interrupted and E-mail server is not down.\n3. Your Firewall or Security "
    "software (if any) is not blocking the software to communicate with your E-mail server.");

const char *modeLog(MailJob::Mode mode)
{
    switch (mode) {
    case MailJob::EveryCardToEveryone: return "send card with batch to all image to everyone";
    case MailJob::OneCardPerRecipient: return "send card with batch to one to one";
    case MailJob::CardWithoutBatch: return "send card no batch.";
    case MailJob::WithoutCard: break;
    }
    return "send without card.";
}

} // namespace

int MailJob::runLength() const
{
    return mode == EveryCardToEveryone ? records : int(recipients.size());
}

int MailJob::intendedMails() const
{
    const int people = int(recipients.size());
    switch (mode) {
    case EveryCardToEveryone: return records * people;
    case OneCardPerRecipient: return std::min(records, people);
    default: return people;
    }
}

MailRun::MailRun(MailJob job, std::function<void(const QString &)> log)
    : m_job(std::move(job))
    , m_log(std::move(log))
{
    if (!m_log)
        m_log = [](const QString &) {};
}

void MailRun::Send_Mail_Thread()
{
    const int length = m_job.runLength();
    list_count = length;
    curr_barcode_count = 0;
    int counted = 0;
    for (int i = 0; i < length; ++i) {
        if (Stop_SMS_Sending_Now) {
            m_stopped = true;
            break;
        }
        curr_barcode_count = i + 1;
        const Turn outcome = turn(i);
        if (outcome == EndRun)
            break;
        if (outcome == Counted && m_job.delayed && ++counted >= m_job.mailsBetweenPauses && curr_barcode_count != length) {
            pause();
            counted = 0;
        }
    }
}

MailRun::Turn MailRun::turn(int i)
{
    QStringList attachments;
    switch (m_job.mode) {
    case MailJob::EveryCardToEveryone: {
        if (!render(i, &attachments))
            return NotCounted;
        m_log(QString::fromLatin1(modeLog(m_job.mode)));
        for (const QString &recipient : std::as_const(m_job.recipients)) {
            if (Stop_SMS_Sending_Now) {
                m_stopped = true;
                break;
            }
            if (!mail(recipient, attachments))
                break;
        }
        return Counted;
    }
    case MailJob::OneCardPerRecipient:
        if (i >= m_job.records) {
            curr_barcode_count = m_job.runLength();
            return EndRun;
        }
        if (!render(i, &attachments))
            return NotCounted;
        break;
    case MailJob::CardWithoutBatch:
        if (i == 0 && !render(-1, &m_cardAttachments))
            return EndRun;
        attachments = m_cardAttachments;
        break;
    case MailJob::WithoutCard: {
        const QString path =
            QFileInfo(m_job.attachment).isFile() ? m_job.attachment : m_job.attachment.trimmed();
        if (!path.isEmpty() && QFileInfo::exists(path))
            attachments.append(path);
        break;
    }
    }
    m_log(QString::fromLatin1(modeLog(m_job.mode)));
    return mail(m_job.recipients.at(i), attachments) ? Counted : EndRun;
}

bool MailRun::render(int record, QStringList *attachments)
{
    QList<int> sides = {0};
    if (m_job.side == QLatin1String("BOTH"))
        sides = {1, 0};
    else if (m_job.side == QLatin1String("B"))
        sides = {1};
    const QString what = record < 0 ? QStringLiteral("the card") : QStringLiteral("card %1").arg(record + 1);
    for (const int side : sides) {
        QString failure;
        const QImage image = m_job.cards ? m_job.cards->card(record, side, &failure) : QImage();
        if (image.isNull()) {
            fail(what, failure.isEmpty() ? QStringLiteral("the card could not be made") : failure);
            return false;
        }
        const QString path = side == 1 ? m_job.backPath : m_job.frontPath;
        if (!writeCard(image, path)) {
            fail(what, QStringLiteral("the card picture could not be written"));
            return false;
        }
        attachments->append(path);
    }
    if (record >= 0)
        m_recordsMade = std::max(m_recordsMade, record + 1);
    return true;
}

bool MailRun::writeCard(const QImage &image, const QString &path)
{
    // Whatever happens, no earlier record's card stays behind under this name. The file only
    // lives for the run, in its private folder: no need to sync it to disk.
    QFile::remove(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && image.save(&file, "PNG") && file.flush()
        && file.error() == QFileDevice::NoError) {
        file.close();
        return true;
    }
    file.remove();
    return false;
}

bool MailRun::mail(const QString &recipient, const QStringList &attachments)
{
    m_log(recipient);
    ++m_attempted;
    MailTransport::Limits limits;
    if (m_job.timeLimitMs > 0)
        limits.timeLimitMs = m_job.timeLimitMs;
    limits.cancel = &Stop_SMS_Sending_Now;
    QProcess process;
    const MailOutcome outcome =
        MailTransport::sendEmail_pyth(&process, recipient, m_job.subject, attachments, m_job.sender, m_job.password,
                                      m_job.server, m_job.port, m_job.body, m_job.ssl, limits);
    if (outcome.sent) {
        ++m_sent;
        return true;
    }
    m_log(QStringLiteral("error in mail"));
    if (Stop_SMS_Sending_Now)
        m_stopped = true;
    fail(recipient.trimmed(), outcome.reason);
    return false;
}

void MailRun::fail(const QString &what, const QString &reason)
{
    m_failures.append(QStringLiteral("%1: %2").arg(what, reason));
}

void MailRun::pause()
{
    if (m_job.delayMs <= 0)
        return;
    QDeadlineTimer deadline(m_job.delayMs);
    for (;;) {
        const qint64 left = deadline.remainingTime();
        pauseLeftMs = left;
        if (left <= 0)
            break;
        if (Stop_SMS_Sending_Now) {
            m_stopped = true;
            break;
        }
        QThread::msleep(std::min<qint64>(kPauseStepMs, left));
    }
    pauseLeftMs = -1;
}

bool MailRun::succeeded() const
{
    const int intended = m_job.intendedMails();
    return !m_stopped && m_failures.isEmpty() && intended > 0 && m_sent == intended;
}

QString MailRun::finalMessage() const
{
    QStringList missing;
    if (m_job.cards && m_recordsMade > 0)
        missing = m_job.cards->missingValues(m_recordsMade, m_job.side != QLatin1String("B"),
                                             m_job.side != QLatin1String("F"));
    QString report;
    if (!missing.isEmpty()) {
        report = m_recordsMade == 1 ? QStringLiteral("1 card was made.")
                                    : QStringLiteral("%L1 cards were made.").arg(m_recordsMade);
        for (const QString &line : std::as_const(missing))
            report += QLatin1Char('\n') + line + QLatin1Char('.');
    }
    if (succeeded())
        return report.isEmpty() ? QStringLiteral("E-mail has been sent successfully.")
                                : QStringLiteral("E-mail has been sent.\n") + report;
    QString text = kRunFailure + QCoreApplication::translate("MailRun", "\n\n%L1 of %Ln e-mail(s) sent.", nullptr,
                                                                  int(m_job.intendedMails()))
                                          .arg(m_sent);
    if (m_stopped)
        text += QStringLiteral("\nSending was stopped.");
    for (qsizetype i = 0; i < std::min<qsizetype>(m_failures.size(), kFailuresShown); ++i)
        text += QStringLiteral("\n") + m_failures.at(i);
    if (m_failures.size() > kFailuresShown)
        text += QStringLiteral("\n… and %1 more.").arg(m_failures.size() - kFailuresShown);
    if (!report.isEmpty())
        text += QStringLiteral("\n\n") + report;
    return text;
}

QString MailRun::pauseText(qint64 ms)
{
    const qint64 s = ms / 1000;
    const qint64 h = s / 3600, r = s % 3600, n = r / 60, c = r % 60;
    const QString hours = (h <= 1 ? QStringLiteral("%1 Hour ") : QStringLiteral("%1 Hours ")).arg(h);
    const QString minutes = (n <= 1 ? QStringLiteral("%1 Minute ") : QStringLiteral("%1 Minutes ")).arg(n);
    const QString seconds = (c <= 1 ? QStringLiteral("%1 Second.") : QStringLiteral("%1 Seconds.")).arg(c);
    QString text = QStringLiteral("Pausing the process for ");
    if (h >= 1)
        text += hours + minutes + seconds;
    else if (n >= 1)
        text += minutes + seconds;
    else
        text += seconds;
    return text;
}
