// The editor's Mail command: the account comes from the settings file read at start-up, and
// the card of the open design goes out as a PNG picture.
// Runs worker threads: also run under ThreadSanitizer (scripts/build.sh tsan).

#include "SmtpServers.h"

#include "editor/EditorWindowFixture.h"
#include "output/MailGlobals.h"
#include "output/Preferences.h"
#include "output/ui/Send_Mail.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QJsonArray>

class MailCommand : public EditorWindowFixture
{
};

TEST_F(MailCommand, SendsTheOpenDesignWithTheSavedAccount)
{
    SmtpServers &servers = SmtpServers::instance();
    ASSERT_TRUE(servers.ready());
    {
        Preferences store(QDir(m_resources.path()).filePath(Preferences::fileName()));
        store.setsend_email_SenderEmail("Me@Example.org");
        store.setsend_email_Password(SmtpServers::kPassword);
        store.setsend_email_SMTP_server("127.0.0.1");
        store.setsend_email_PORT_num(servers.port("tls"));
        store.setsend_email_enable_ssl("Y");
        ASSERT_TRUE(store.flush());
    }
    startWithCard();
    EXPECT_EQ(sender_email, QStringLiteral("Me@Example.org"));

    QAction *mail = nullptr;
    for (QAction *action : m_window->findChildren<QAction *>())
        if (action->text() == QStringLiteral("&Mail…"))
            mail = action;
    ASSERT_NE(mail, nullptr);
    ASSERT_TRUE(mail->isEnabled());

    const qsizetype before = servers.count();
    m_seam.onDialog([](QDialog *dialog) {
        auto *window = qobject_cast<Send_Mail *>(dialog);
        EXPECT_NE(window, nullptr);
        if (!window)
            return 0;
        EXPECT_EQ(window->ui.from_txt->text(), QStringLiteral("Me@Example.org"));
        EXPECT_FALSE(window->ui.send_with_batch_chk->isEnabled());
        window->ui.to_txt->setText(QStringLiteral("friend@example.org"));
        QTest::mouseClick(window->ui.send_btn, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([window] { return !window->isRunning(); }, 30000));
        QTest::mouseClick(window->ui.close_btn, Qt::LeftButton);
        return window->result();
    });
    mail->trigger();
    const QList<QJsonObject> sent = servers.since(before);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(m_seam.messageTexts().last(), QStringLiteral("\nE-mail has been sent successfully."));
    EXPECT_EQ(SmtpServers::attachmentNames(sent[0]), QStringList({"QOVACard.jpeg"}));
    const QImage card = QImage::fromData(SmtpServers::attachmentData(sent[0], 0), "PNG");
    EXPECT_EQ(card.size(), QSize(243, 154));
    // The wizard's title is on the card: not one colour all over.
    EXPECT_GT(TestHelpers::countPixelsDifferent(card, card.pixelColor(0, 0), card.rect()), 100);
}
