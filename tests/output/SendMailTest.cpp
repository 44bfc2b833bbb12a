// The send window through its widgets: runs against the local SMTP servers, with a card
// source whose cards carry their record and side in their size.
// Runs worker threads: also run under ThreadSanitizer (scripts/build.sh tsan).

#include "SmtpServers.h"

#include "output/MailCardSource.h"
#include "output/MailGlobals.h"
#include "output/MailRun.h"
#include "output/SnapshotMailCards.h"
#include "document/LMNImage.h"
#include "document/DocumentGlobals.h"
#include "output/ui/Send_Modeless.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/Send_Mail.h"
#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QJsonArray>
#include <QTest>

#include <gtest/gtest.h>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

#include <atomic>
#include <optional>

namespace {

// Card of record r, side s: (40 + r) x (20 + s) pixels; the design as it stands is record -1.
class FakeCards : public MailCards
{
public:
    FakeCards(int records, std::atomic<int> *calls) : m_records(records), m_calls(calls) {}
    int recordCount() const override { return m_records; }
    QImage card(int record, int side, QString *) const override
    {
        ++*m_calls;
        QImage image(40 + record + 1, 20 + side, QImage::Format_ARGB32);
        image.fill(Qt::white);
        return image;
    }

private:
    int m_records;
    std::atomic<int> *m_calls;
};

class FakeSource : public MailCardSource
{
public:
    int records = 0;
    bool series = false, spreadsheet = false;
    std::atomic<int> cardCalls{0};
    int restored = 0;
    void sourcesInUse(bool *s, bool *x) override
    {
        *s = series;
        *x = spreadsheet;
    }
    std::unique_ptr<MailCards> takeCards(bool useSeries, bool useSpreadsheet) override
    {
        if (snapshot)
            return std::make_unique<SnapshotMailCards>(*snapshot);
        return std::make_unique<FakeCards>(useSeries || useSpreadsheet ? records : 0, &cardCalls);
    }
    // When set, the run's cards come from this design through the real record-to-card road.
    std::optional<CardSnapshot> snapshot;
    void restoreFirstRecord() override { ++restored; }
};

QSize attachedSize(const QJsonObject &message, int index)
{
    return QImage::fromData(SmtpServers::attachmentData(message, index), "PNG").size();
}

// Puts `path` into the attachment field. Laying out a character no font has (U+0085), Qt 6.4
// keeps fontconfig patterns for its fallback fonts that it drops unfreed when the font
// database changes later in the program: that one lookup is not reported as a leak of ours.
void typeAttachment(Ui::Send_Mail &ui, const QString &path)
{
#ifdef __SANITIZE_ADDRESS__
    __lsan::ScopedDisabler fallbackFonts;
#endif
    ui.attachment->setText(path);
}

const QString kBrokenName =
    QStringLiteral("The attachment \"%1\" cannot be sent: its name holds a line break. Please rename the file first.");

QStringList recipientsOf(const QList<QJsonObject> &messages)
{
    QStringList list;
    for (const QJsonObject &m : messages)
        list.append(m.value("rcpt_tos").toArray().at(0).toString());
    return list;
}


class SendMailTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_servers.ready());
        sender_email = QStringLiteral("Me@Example.org");
        sender_pwd = SmtpServers::kPassword;
        sending_server = QStringLiteral("127.0.0.1");
        sending_port = m_servers.port("starttls");
        send_enable_ssl.clear();
        m_window.setCardSource(&m_source);
        // Runs put their cards under a temporary folder of this test's own.
        m_previousTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_tmp.path().toUtf8());
    }

    void TearDown() override
    {
        qputenv("TMPDIR", m_previousTmp);
        // Every run removes its cards.
        EXPECT_EQ(QDir(m_tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        m_window.setCardSource(nullptr);
    }

    // Opens the window fresh, lets `configure` fill it, presses Send and waits for the end.
    QList<QJsonObject> send(const std::function<void(Ui::Send_Mail &)> &configure)
    {
        const qsizetype before = m_servers.count();
        m_window.resetControls();
        configure(m_window.ui);
        QTest::mouseClick(m_window.ui.send_btn, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window.isRunning(); }, 60000));
        return m_servers.since(before);
    }

    void batch(Ui::Send_Mail &ui, bool onePerRecipient)
    {
        ui.send_with_batch_chk->click();
        (onePerRecipient ? ui.rd_one_per_recp : ui.rd_all_to_every)->click();
    }

    SmtpServers &m_servers = SmtpServers::instance();
    ScriptedModalSeam m_seam;
    FakeSource m_source;
    Send_Mail m_window;
    QTemporaryDir m_tmp;
    QByteArray m_previousTmp;
};

} // namespace

TEST(SendMailPause, PauseTextTable)
{
    const struct
    {
        qint64 ms;
        const char *text;
    } cases[] = {
        {0, "0 Second."}, {1999, "1 Second."}, {2000, "2 Seconds."}, {60000, "1 Minute 0 Second."},
        {61000, "1 Minute 1 Second."}, {3599000, "59 Minutes 59 Seconds."}, {3600000, "1 Hour 0 Minute 0 Second."},
        {7322000, "2 Hours 2 Minutes 2 Seconds."}, {720 * 3600000LL + 59 * 60000 + 59000, "720 Hours 59 Minutes 59 Seconds."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MailRun::pauseText(c.ms), "Pausing the process for " + QString::fromLatin1(c.text)) << c.ms;
}

TEST_F(SendMailTest, RefusedBeforeAnyMail)
{
    const struct
    {
        QString from, to, fileName;
        bool withoutCard;
        QString message;
        QString attachment;   // made in a folder of the test's own
    } cases[] = {
        {" ", "a@example.org", "QOVACard", false, "Please make sure that:\n1.Entered E-mail Settings are correct.", {}},
        {"me@example.org", " \n", "QOVACard", false, "Please specify the Recipient E-mail address.", {}},
        {"me@example.org", ",", "QOVACard", false, "Recipient E-mail address is invalid or incomplete.", {}},
        {"me@example.org", "a@b, c", "QOVACard", true, "Recipient E-mail address is invalid or incomplete.", {}},
        {"me@example.org", "a@example.org", " ", false, "Please enter valid file name.", {}},
        {"me@example.org", "a@example.org", "../x", false, "Please enter valid file name.", {}},
        {"me@example.org", "a@example.org", "..\\x", false, "Please enter valid file name.", {}},
        {"me@example.org", "a@example.org", "..", false, "Please enter valid file name.", {}},
        {"me@example.org", "a@example.org", "*.*", false, "Please enter valid file name.", {}},
        // An attachment whose name would break the mail's headers, wherever the break is.
        {"me@example.org", "a@example.org", "", true, kBrokenName.arg("a b.pdf"), "a\nb.pdf"},
        {"me@example.org", "a@example.org", "", true, kBrokenName.arg("a b.pdf"), "a\rb.pdf"},
        {"me@example.org", "a@example.org", "", true, kBrokenName.arg("invitation.pdf"), "invitation.pdf\r"},
        {"me@example.org", "a@example.org", "", true, kBrokenName.arg("invitation.pdf"), "invitation.pdf\u2028"},
        {"me@example.org", "a@example.org", "", true, kBrokenName.arg("invitation.pdf"), "invitation.pdf\u0085"},
        {"me@example.org", "a@example.org", "", true, kBrokenName.arg("invitation.pdf"), "\u0085invitation.pdf"},
    };
    QTemporaryDir attachments;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.to.toStdString() + " / " + c.fileName.toStdString() + " / " + c.attachment.toStdString());
        const QString attachment = c.attachment.isEmpty() ? QString() : attachments.filePath(c.attachment);
        if (!attachment.isEmpty())
            TestHelpers::writeFile(attachment, "%PDF-1.4\n");
        m_seam.messages.clear();
        const QList<QJsonObject> sent = send([&](Ui::Send_Mail &ui) {
            ui.from_txt->setText(c.from);
            ui.to_txt->setText(c.to);
            ui.file_name_txt->setText(c.fileName);
            if (c.withoutCard)
                ui.rd_without_barcode->click();
            typeAttachment(ui, attachment);
        });
        EXPECT_TRUE(sent.isEmpty());
        ASSERT_EQ(m_seam.messages.size(), 1);
        EXPECT_TRUE(m_seam.messages[0].text.startsWith("\n" + c.message)) << m_seam.messages[0].text.toStdString();
        EXPECT_FALSE(m_window.progressSheet()->isVisible());
    }
}

TEST_F(SendMailTest, WithoutCardToACommaList)
{
    const QList<QJsonObject> sent = send([](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("Ann@Example.org, bob@example.org,not-an-address"));
        ui.subject_txt->setText(QStringLiteral("Einladung"));
        ui.message_txt->setPlainText(QStringLiteral("Kommt alle!"));
        ui.file_name_txt->clear();   // not looked at without card
        ui.rd_without_barcode->click();
        ui.attachment->setText(QStringLiteral("/nonexistent/invitation.pdf"));
    });
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nE-mail has been sent successfully."}));
    EXPECT_EQ(recipientsOf(sent), QStringList({"ann@example.org", "bob@example.org"}));
    for (const QJsonObject &m : sent) {
        EXPECT_EQ(m.value("mail_from").toString(), QStringLiteral("me@example.org"));
        EXPECT_EQ(m.value("subject").toString(), QStringLiteral("Einladung"));
        EXPECT_TRUE(m.value("attachments").toArray().isEmpty());
    }
    EXPECT_EQ(m_source.cardCalls, 0);
}

TEST_F(SendMailTest, CardWithoutBatchBothSidesBackFirst)
{
    const QList<QJsonObject> sent = send([](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("a@example.org,b@example.org,c@example.org"));
        ui.side_both->click();
        ui.file_name_txt->setText(QStringLiteral(" Party|"));
    });
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nE-mail has been sent successfully."}));
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(m_source.cardCalls, 2);   // the design is drawn once
    for (const QJsonObject &m : sent) {
        EXPECT_EQ(SmtpServers::attachmentNames(m), QStringList({"Party_Back.png", "Party.png"}));
        EXPECT_EQ(attachedSize(m, 0), QSize(40, 21));
        EXPECT_EQ(attachedSize(m, 1), QSize(40, 20));
    }
    EXPECT_EQ(m_source.restored, 0);
}

TEST_F(SendMailTest, BatchOneCardPerRecipientStopsWhenRecordsRunOut)
{
    m_source.records = 2;
    m_source.series = true;
    const QList<QJsonObject> sent = send([this](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("a@example.org, b@example.org, c@example.org"));
        batch(ui, true);
    });
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nE-mail has been sent successfully."}));
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(recipientsOf(sent), QStringList({"a@example.org", "b@example.org"}));
    EXPECT_EQ(attachedSize(sent[0], 0), QSize(41, 20));
    EXPECT_EQ(attachedSize(sent[1], 0), QSize(42, 20));
    EXPECT_EQ(m_window.progressSheet()->ui._curr_msg_cnt->text(), QStringLiteral("3 / 3 "));
    EXPECT_EQ(m_source.restored, 1);
}

TEST_F(SendMailTest, BatchEveryCardToEveryRecipientCountsRefusedRecipients)
{
    m_source.records = 2;
    m_source.spreadsheet = true;
    const QList<QJsonObject> sent = send([](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("a@example.org,b@example.org,c@example.org"));
        ui.side_back->click();
        ui.send_with_excel_chk->click();
        ui.rd_all_to_every->click();
    });
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nE-mail has been sent successfully."}));
    ASSERT_EQ(sent.size(), 6);
    EXPECT_EQ(recipientsOf(sent), QStringList({"a@example.org", "b@example.org", "c@example.org", "a@example.org",
                                               "b@example.org", "c@example.org"}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(attachedSize(sent[i], 0), QSize(41 + i / 3, 21));

    // A refused recipient ends that card's turn; the run goes on and counts what went out.
    m_seam.messages.clear();
    const QList<QJsonObject> partly = send([](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("a@example.org,refused@example.org,c@example.org"));
        ui.send_with_excel_chk->click();
    });
    EXPECT_EQ(recipientsOf(partly), QStringList({"a@example.org", "a@example.org"}));
    ASSERT_EQ(m_seam.messages.size(), 1);
    const QString text = m_seam.messages[0].text;
    EXPECT_TRUE(text.startsWith("\nCould not send email message.")) << text.toStdString();
    EXPECT_TRUE(text.contains("2 of 6 e-mails sent.")) << text.toStdString();
    EXPECT_TRUE(text.contains("refused@example.org: recipient refused: 550")) << text.toStdString();
}

// A run whose every mail went out still says which values its cards lacked, for the sides sent.
TEST_F(SendMailTest, SuccessKeepsTheReportOfMissingValues)
{
    QTemporaryDir data;
    const QString dataFolder = std::exchange(Data_Folder_Path, data.path());
    // Two records: the front's picture has no value on card 2, the back's none on card 1.
    const QString photo = data.filePath(QStringLiteral("photo.png"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(photo));
    auto bound = [](const QString &series) {
        auto element = std::make_shared<LMNImage>();
        element->setBounds(QRectF(10, 10, 100, 30));
        element->data_source_type = 1;
        element->batch_list_name = series;
        return element;
    };
    CardSnapshot design;
    design.cardSize = QSizeF(120, 80);
    design.cardSides = QStringLiteral("2");
    design.front = {bound(QStringLiteral("front"))};
    design.back = {bound(QStringLiteral("back"))};
    design.seriesNames = {QStringLiteral("front"), QStringLiteral("back")};
    design.seriesValues = {{photo, QString()}, {QString(), photo}};
    design.useSeries = true;
    design.seriesRows = 2;
    m_source.snapshot = design;
    m_source.series = true;

    const QString made = QStringLiteral("\nE-mail has been sent.\n2 cards were made.");
    const QString front = QStringLiteral("\nCard 2: no value for the picture bound to series front.");
    const struct
    {
        const char *side;
        bool onePerRecipient;
        int mails;
        QString message;
    } cases[] = {
        {"F", true, 2, made + front},
        {"B", false, 4, made + QStringLiteral("\nCard 1: no value for the picture bound to series back.")},
        {"BOTH", true, 2, made + front + QStringLiteral("\nCard 1: no value for the picture on the back bound to series back.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.side);
        m_seam.messages.clear();
        const QString side = QLatin1String(c.side);
        const QList<QJsonObject> sent = send([&](Ui::Send_Mail &ui) {
            ui.to_txt->setText(QStringLiteral("a@example.org, b@example.org"));
            (side == QLatin1String("F") ? ui.side_front : side == QLatin1String("B") ? ui.side_back : ui.side_both)->click();
            batch(ui, c.onePerRecipient);
        });
        EXPECT_EQ(sent.size(), c.mails);
        EXPECT_EQ(m_seam.messageTexts().join(QLatin1Char('|')).toStdString(), c.message.toStdString());
    }

    // A bound series too large to be read: its reason comes before the values it left missing.
    m_source.snapshot->seriesRefusals.insert(QStringLiteral("back"),
                                             QStringLiteral("The series \"back\" is not read: it holds more than 5000000 values"));
    m_source.snapshot->seriesValues[1].clear();
    m_seam.messages.clear();
    send([&](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("a@example.org, b@example.org"));
        ui.side_back->click();
        batch(ui, true);
    });
    EXPECT_EQ(m_seam.messageTexts().join(QLatin1Char('|')).toStdString(),
              (made + QStringLiteral("\nThe series \"back\" is not read: it holds more than 5000000 values."
                                     "\nCards 1\u20132: no value for the picture bound to series back."))
                  .toStdString());
    m_source.snapshot.reset();
    Data_Folder_Path = dataFolder;
}

// Runs in which no mail can go out say so: a batch without records, and a card that cannot be
// written (never an older picture in its place).
TEST_F(SendMailTest, RunsWithoutAMailSayHowManyWentOut)
{
    m_source.series = true;
    const struct
    {
        bool batch;
        QString fileName, message;
    } cases[] = {{true, "QOVACard", "0 of 0 e-mails sent."},
                 {false, QString(300, QLatin1Char('n')), "0 of 1 e-mails sent.\nthe card: the card picture could not be written"}};
    for (const auto &c : cases) {
        m_seam.messages.clear();
        const QList<QJsonObject> sent = send([&](Ui::Send_Mail &ui) {
            ui.to_txt->setText(QStringLiteral("a@example.org"));
            ui.file_name_txt->setText(c.fileName);
            if (c.batch)
                batch(ui, false);
        });
        EXPECT_TRUE(sent.isEmpty());
        ASSERT_EQ(m_seam.messages.size(), 1);
        EXPECT_TRUE(m_seam.messages[0].text.contains(c.message)) << m_seam.messages[0].text.toStdString();
    }
}

TEST_F(SendMailTest, PausesBetweenMailsAndStopEndsAPause)
{
    QStringList pauseTexts;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString text = m_window.progressSheet()->ui.pause_label->text();
        if (!text.isEmpty() && !pauseTexts.contains(text))
            pauseTexts.append(text);
    });
    watch.start(20);
    const QList<QJsonObject> sent = send([](Ui::Send_Mail &ui) {
        ui.to_txt->setText(QStringLiteral("a@example.org,b@example.org,c@example.org"));
        ui.delayed_delv_chk->click();
        ui.sec_stepper->setValue(1);
    });
    EXPECT_EQ(sent.size(), 3);
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nE-mail has been sent successfully."}));
    EXPECT_EQ(pauseTexts, QStringList({"Pausing the process for 1 Second."}));

    // Every stepper counts: the first countdown shows the whole pause, after the mails between
    // pauses; Stop (answered Yes) ends it.
    const struct
    {
        int mails, hours, minutes, seconds;
        const char *text;
    } pauses[] = {{1, 1, 0, 0, "1 Hour 0 Minute 0 Second."},
                  {2, 0, 2, 0, "2 Minutes 0 Second."},
                  {1, 720, 59, 59, "720 Hours 59 Minutes 59 Seconds."}};
    for (const auto &p : pauses) {
        SCOPED_TRACE(p.text);
        m_seam.messages.clear();
        m_seam.answerMessages({"Yes"});
        const qsizetype before = m_servers.count();
        m_window.resetControls();
        m_window.ui.to_txt->setText(QStringLiteral("a@example.org,b@example.org,c@example.org"));
        m_window.ui.delayed_delv_chk->click();
        m_window.ui.mail_count_stepper->setValue(p.mails);
        m_window.ui.hour_stepper->setValue(p.hours);
        m_window.ui.min_stepper->setValue(p.minutes);
        m_window.ui.sec_stepper->setValue(p.seconds);
        QTest::mouseClick(m_window.ui.send_btn, Qt::LeftButton);
        QLabel *label = m_window.progressSheet()->ui.pause_label;
        ASSERT_TRUE(QTest::qWaitFor([label] { return !label->text().isEmpty(); }, 30000));
        EXPECT_EQ(label->text().toStdString(), std::string("Pausing the process for ") + p.text);
        QTest::mouseClick(m_window.progressSheet()->ui._stop_btn, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window.isRunning(); }, 30000));
        EXPECT_EQ(m_servers.since(before).size(), p.mails);
        const QStringList texts = m_seam.messageTexts();
        ASSERT_EQ(texts.size(), 2);
        EXPECT_EQ(texts[0], QStringLiteral("Are you sure you want to continue?"));
        EXPECT_TRUE(texts[1].contains(QStringLiteral("%1 of 3 e-mails sent.\nSending was stopped.").arg(p.mails)))
            << texts[1].toStdString();
    }
}

// A server that never answers: Stop ends the mail in work, not only the next one.
TEST_F(SendMailTest, StopEndsAStalledMail)
{
    sending_port = m_servers.port("stall");
    m_window.setMailTimeLimitMs(120000);
    m_seam.answerMessages({"Yes"});
    m_window.resetControls();
    m_window.ui.to_txt->setText(QStringLiteral("a@example.org,b@example.org"));
    QTest::mouseClick(m_window.ui.send_btn, Qt::LeftButton);
    ASSERT_TRUE(m_window.isRunning());
    QTest::mouseClick(m_window.progressSheet()->ui._stop_btn, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window.isRunning(); }, 30000));
    m_window.setMailTimeLimitMs(0);
    const QStringList texts = m_seam.messageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[1].contains("0 of 2 e-mails sent.\nSending was stopped.")) << texts[1].toStdString();
}

// Settings opens the settings dialog; the From field then shows the saved sender.
TEST_F(SendMailTest, SettingsRefreshTheSender)
{
    QTemporaryDir resources;
    const QString previous = Resource_Path;
    Resource_Path = resources.path();
    m_seam.onDialog([](QDialog *dialog) {
        auto *settings = qobject_cast<Email_Setting *>(dialog);
        EXPECT_NE(settings, nullptr);
        if (!settings)
            return 0;
        settings->ui._send_mail_sender_mail->setText(QStringLiteral("New@Example.org"));
        settings->ui._send_mail_password->setText(QStringLiteral("pw"));
        settings->ui._send_mail_smtp->setText(QStringLiteral("smtp.example.org"));
        settings->ui._send_mail_port->setText(QStringLiteral("587"));
        QTest::mouseClick(settings->ui.save_btn, Qt::LeftButton);
        return settings->result();
    });
    m_window.resetControls();
    QTest::mouseClick(m_window.ui.settings_btn, Qt::LeftButton);
    Resource_Path = previous;
    EXPECT_EQ(m_window.ui.from_txt->text(), QStringLiteral("New@Example.org"));
    EXPECT_EQ(sending_port, QStringLiteral("587"));
}
