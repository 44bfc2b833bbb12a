#pragma once

#include "output/MailCardSource.h"

#include <QMutex>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

// Everything one run of the send window needs, collected on the main thread at Send.
struct MailJob
{
    enum Mode { EveryCardToEveryone, OneCardPerRecipient, CardWithoutBatch, WithoutCard };

    Mode mode = WithoutCard;
    QStringList recipients;
    QString sender, password, server, port, ssl = QStringLiteral("N");
    QString subject, body;
    QString side = QStringLiteral("F");           // "BOTH", "F" or "B"
    QString attachment;                           // the chosen file when sending without card
    QString frontPath, backPath;                  // where the card pictures go
    std::unique_ptr<MailCards> cards;             // null when sending without card
    int records = 0;
    bool delayed = false;
    int mailsBetweenPauses = 1;
    qint64 delayMs = 0;
    qint64 timeLimitMs = 0;                       // per mail; 0 takes the transport's default

    // Mails of the run: records in every-card-to-everyone mode, else recipients.
    int runLength() const;
    // Mails meant to go out: every one of them must for the run to succeed.
    int intendedMails() const;
};

// The mail worker: sends the job's mails one by one through the mail script. Runs on one
// thread; it publishes list_count and curr_barcode_count and obeys Stop_SMS_Sending_Now
// (OutputGlobals.h), which the progress sheet reads and raises.
class MailRun
{
public:
    explicit MailRun(MailJob job, std::function<void(const QString &)> log = {});

    // The worker's body: every turn of the run, then back.
    void Send_Mail_Thread();

    std::atomic<qint64> pauseLeftMs{-1};  // -1 when not pausing

    const MailJob &job() const { return m_job; }
    int sent() const { return m_sent; }
    int attempted() const { return m_attempted; }
    bool stopped() const { return m_stopped; }
    bool succeeded() const;
    // The run's closing message.
    QString finalMessage() const;

    // "Pausing the process for ..." for `ms` milliseconds.
    static QString pauseText(qint64 ms);

private:
    enum Turn { Counted, NotCounted, EndRun };
    Turn turn(int i);
    bool render(int record, QStringList *attachments);
    bool writeCard(const QImage &image, const QString &path);
    bool mail(const QString &recipient, const QStringList &attachments);
    void fail(const QString &what, const QString &reason);
    void pause();

    MailJob m_job;
    std::function<void(const QString &)> m_log;
    QStringList m_cardAttachments;   // card mode without batch: rendered once
    int m_sent = 0;
    int m_attempted = 0;
    bool m_stopped = false;
    QStringList m_failures;
    int m_recordsMade = 0;   // records whose cards were made, from the first on
};
