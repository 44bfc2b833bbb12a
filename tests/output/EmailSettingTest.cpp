// The e-mail settings: the store read back with Python's plistlib, and the dialog through its
// widgets and the scripted seam; its test mail goes to the local SMTP servers.

#include "SmtpServers.h"

#include "document/DocumentGlobals.h"
#include "output/EmailAddress.h"
#include "output/MailGlobals.h"
#include "output/MailTransport.h"
#include "output/Preferences.h"
#include "output/ui/Email_Setting.h"
#include "support/ForeignPictures.h"
#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include <QApplication>
#include <QFileInfo>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;

QVariantMap readWithPlistlib(const QString &path)
{
    const QByteArray json = TestHelpers::runProgram(
        QStringLiteral(FESTILOOM_PYTHON),
        {"-c", "import json, plistlib, sys; print(json.dumps(plistlib.load(open(sys.argv[1], 'rb'))))", path});
    return QJsonDocument::fromJson(json).object().toVariantMap();
}

class EmailSettingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousResources = Resource_Path;
        Resource_Path = m_resources.path();
        m_dialog.show();
        QApplication::setActiveWindow(&m_dialog);
    }
    void TearDown() override { Resource_Path = m_previousResources; }

    QString settingsPath() const { return QDir(m_resources.path()).filePath(Preferences::fileName()); }

    void fill(const QString &sender, const QString &password, const QString &smtp, const QString &port,
              const QString &to = {})
    {
        m_dialog.ui._send_mail_sender_mail->setText(sender);
        m_dialog.ui._send_mail_password->setText(password);
        m_dialog.ui._send_mail_smtp->setText(smtp);
        m_dialog.ui._send_mail_port->setText(port);
        m_dialog.ui._send_mail_to->setText(to);
    }

    QTemporaryDir m_resources;
    QString m_previousResources;
    ScriptedModalSeam m_seam;
    Email_Setting m_dialog;
};

} // namespace

// A new store makes an empty owner-only file; what the dialog saves is read back below.
TEST(Preferences, ANewStoreIsAnEmptyOwnerOnlyFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(Preferences::fileName());
    const Preferences store(path);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(QFileInfo(path).permissions(), kOwnerOnly);
    EXPECT_FALSE(store.contains("SendEnableSSL"));
}

// Reading never replaces a file it cannot use; a file others could read is tightened.
TEST(Preferences, ReadingLeavesUnusableFilesAlone)
{
    struct Case
    {
        const char *name;
        QByteArray content;
        QFileDevice::Permissions permissions;
    };
    const QFileDevice::Permissions loose = kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    const Case cases[] = {
        {"empty", "", loose},
        {"foreign text", "user=me\npassword=x\n", loose},
        {"an array", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>", kOwnerOnly},
        {"broken XML", "<?xml version=\"1.0\"?><plist><dict><key>SendEmailPwd</key>", kOwnerOnly},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(Preferences::fileName());
        TestHelpers::writeFile(path, c.content);
        QFile::setPermissions(path, c.permissions);
        const Preferences store(path);
        EXPECT_EQ(store.send_email_SenderEmail(), QString());
        EXPECT_EQ(store.send_email_Password(), QString());
        EXPECT_FALSE(store.contains("SendEnableSSL"));
        EXPECT_EQ(TestHelpers::readFile(path), c.content);
        EXPECT_EQ(QFileInfo(path).permissions(), kOwnerOnly);
    }
}

TEST(EmailAddressRule, Table)
{
    const struct
    {
        const char *text;
        int valid;
    } cases[] = {
        {"a@b.cd", 1}, {"a@b.c", 0}, {"  a@b.cd \n", 1}, {"ab@@c.de", 0}, {"a@b@c.de", 0}, {"abc@defg", 0},
        {"a.b@cdef", 1}, {"", 0}, {",", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isValidEmail(QString::fromUtf8(c.text)), c.valid) << c.text;
    EXPECT_EQ(recipientsFromField(" A@b.cd, x@y.org ,bad,"), QStringList({"a@b.cd", " x@y.org "}));
}

TEST_F(EmailSettingTest, ValidationStopsAtTheFirstFailureWithItsFocus)
{
    const struct
    {
        QString sender, password, smtp, port, to;
        bool test;
        QString message;
        QLineEdit *Ui::Email_Setting::*focus;
    } cases[] = {
        {"", "pw", "smtp", "25", "", false, "Please enter sender E-mail.", &Ui::Email_Setting::_send_mail_sender_mail},
        {"      ", "pw", "smtp", "25", "", false, "Please enter valid sender E-mail address.", &Ui::Email_Setting::_send_mail_sender_mail},
        {"a@b.c", "pw", "smtp", "25", "", false, "Please enter valid sender E-mail address.", &Ui::Email_Setting::_send_mail_sender_mail},
        {"ME@X.ORG", "", "smtp", "25", "", false, "Please enter password.", &Ui::Email_Setting::_send_mail_password},
        {"me@x.org", "pw", "", "25", "", false, "Please enter SMTP server.", &Ui::Email_Setting::_send_mail_smtp},
        {"me@x.org", "pw", "smtp", "", "", false, "Please enter port number.", &Ui::Email_Setting::_send_mail_port},
        {"me@x.org", "pw", "smtp", "25", "", true, "Please enter recipient E-mail address.", &Ui::Email_Setting::_send_mail_to},
        {"me@x.org", "pw", "smtp", "25", "you@x", true, "Please enter valid recipient E-mail address.", &Ui::Email_Setting::_send_mail_to},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        m_seam.messages.clear();
        fill(c.sender, c.password, c.smtp, c.port, c.to);
        QTest::mouseClick(c.test ? m_dialog.ui.send_test_btn : m_dialog.ui.save_btn, Qt::LeftButton);
        EXPECT_EQ(m_seam.messageTexts(), QStringList({"\n" + c.message}));
        EXPECT_TRUE((m_dialog.ui.*(c.focus))->hasFocus());
        EXPECT_TRUE(m_dialog.isVisible());
    }
    EXPECT_FALSE(QFileInfo(settingsPath()).size() > 0);
    // A password of blanks and a sender in capitals pass.
    fill("ME@X.ORG", "   ", "smtp", "25");
    m_seam.messages.clear();
    EXPECT_EQ(m_dialog.Check_Validation(false), 1);
    EXPECT_TRUE(m_seam.messages.isEmpty());
}

TEST_F(EmailSettingTest, SaveWritesAsTypedCloseWritesNothing)
{
    m_seam.onDialog([this](QDialog *) {
        fill("Me@Example.ORG", "  pä&ss<wörd> ", "smtp.example.org", "465", "Friend@Example.org");
        QTest::mouseClick(m_dialog.ui._send_mail_ssl, Qt::LeftButton);
        QTest::mouseClick(m_dialog.ui.save_btn, Qt::LeftButton);
        return m_dialog.result();
    });
    m_dialog.Open_Wnd();
    EXPECT_EQ(m_dialog.result(), 1);
    // An owner-only XML property list, special characters escaped.
    EXPECT_EQ(QFileInfo(settingsPath()).permissions(), kOwnerOnly);
    EXPECT_TRUE(TestHelpers::readFile(settingsPath()).startsWith("<?xml"));
    EXPECT_EQ(readWithPlistlib(settingsPath()), QVariantMap({{"SendEmailRecipient", "Friend@Example.org"},
                                                 {"SendEmailSender", "Me@Example.ORG"},
                                                 {"SendEmailPwd", "  pä&ss<wörd> "},
                                                 {"SendEmailSMTP", "smtp.example.org"},
                                                 {"SendEmailPORT", "465"},
                                                 {"SendEnableSSL", "Y"}}));

    // Opening again shows the file; Close drops what was typed.
    m_seam.onDialog([this](QDialog *) {
        EXPECT_TRUE(m_dialog.ui._send_mail_ssl->isChecked());
        EXPECT_FALSE(m_dialog.ui._send_mail_tls->isChecked());
        EXPECT_EQ(m_dialog.ui._send_mail_password->echoMode(), QLineEdit::Password);
        EXPECT_EQ(m_dialog.ui._send_mail_sender_mail->text(), QStringLiteral("Me@Example.ORG"));
        EXPECT_EQ(m_dialog.ui._send_mail_password->text(), QStringLiteral("  pä&ss<wörd> "));
        fill("other@example.org", "x", "y", "1");
        QTest::mouseClick(m_dialog.ui._send_mail_tls, Qt::LeftButton);
        QTest::mouseClick(m_dialog.ui.close_btn, Qt::LeftButton);
        return m_dialog.result();
    });
    m_dialog.Open_Wnd();
    EXPECT_EQ(m_dialog.result(), 0);
    EXPECT_EQ(readWithPlistlib(settingsPath()).value("SendEmailSender").toString(), QStringLiteral("Me@Example.ORG"));
}

TEST_F(EmailSettingTest, FailedSaveKeepsTheDialogOpen)
{
    ASSERT_TRUE(QDir().mkdir(settingsPath()));
    m_seam.onDialog([this](QDialog *) {
        fill("me@example.org", "pw", "smtp", "25");
        QTest::mouseClick(m_dialog.ui.save_btn, Qt::LeftButton);
        EXPECT_EQ(m_seam.messages.size(), 1);
        // The message names the reason after its first line.
        EXPECT_TRUE(m_seam.messages.value(0).text.contains("could not be saved.\n"));
        EXPECT_GT(m_seam.messages.value(0).text.section("could not be saved.\n", 1).trimmed().size(), 0);
        return m_dialog.result();
    });
    m_dialog.Open_Wnd();
    EXPECT_EQ(m_dialog.result(), 0);
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
    EXPECT_EQ(QDir(m_resources.path()).entryList(QDir::Files | QDir::Hidden), QStringList());   // no half-written file
}

TEST_F(EmailSettingTest, ResetAsksThenEmptiesFileFieldsAndCopies)
{
    {
        Preferences store(settingsPath());
        store.setsend_email_SenderEmail("me@example.org");
        store.setsend_email_enable_ssl("Y");
        ASSERT_TRUE(store.flush());
    }
    m_dialog.loadPreferences();
    Get_Email_Details();   // the copies the send window uses
    EXPECT_EQ(sender_email, QStringLiteral("me@example.org"));
    EXPECT_EQ(send_enable_ssl, QStringLiteral("Y"));
    ASSERT_TRUE(m_dialog.ui._send_mail_ssl->isChecked());

    m_seam.answerMessages({"No"});
    QTest::mouseClick(m_dialog.ui.reset_btn, Qt::LeftButton);
    EXPECT_EQ(m_dialog.ui._send_mail_sender_mail->text(), QStringLiteral("me@example.org"));
    EXPECT_GT(QFileInfo(settingsPath()).size(), 0);

    m_seam.answerMessages({"Yes"});
    QTest::mouseClick(m_dialog.ui.reset_btn, Qt::LeftButton);
    EXPECT_EQ(m_seam.messages.last().text, QStringLiteral("Are you sure you want to reset current email settings?"));
    EXPECT_TRUE(m_dialog.ui._send_mail_sender_mail->text().isEmpty());
    EXPECT_TRUE(m_dialog.ui._send_mail_tls->isChecked());
    EXPECT_FALSE(m_dialog.ui._send_mail_ssl->isChecked());
    EXPECT_EQ(QFileInfo(settingsPath()).size(), 0);
    EXPECT_TRUE(sender_email.isEmpty());
    EXPECT_TRUE(send_enable_ssl.isEmpty());
    EXPECT_TRUE(m_dialog.isVisible());
}

TEST_F(EmailSettingTest, TestMailGoesOutWithTheFieldsValues)
{
    SmtpServers &servers = SmtpServers::instance();
    ASSERT_TRUE(servers.ready());
    const qsizetype before = servers.count();
    fill("ME@Example.org", SmtpServers::kPassword, "127.0.0.1", servers.port("tls"), "Friend@Example.org");
    QTest::mouseClick(m_dialog.ui._send_mail_ssl, Qt::LeftButton);
    QTest::mouseClick(m_dialog.ui.send_test_btn, Qt::LeftButton);
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nE-mail has been sent successfully."}));
    const QList<QJsonObject> sent = servers.since(before);
    ASSERT_EQ(sent.size(), 1);
    const QString app = QApplication::applicationDisplayName();
    EXPECT_EQ(sent[0].value("subject").toString(), app + " Test Mail");
    EXPECT_EQ(sent[0].value("body").toString().trimmed(), "This is test mail sent by " + app + ".");
    EXPECT_EQ(sent[0].value("rcpt_tos").toArray().at(0).toString(), QStringLiteral("friend@example.org"));
    EXPECT_EQ(sent[0].value("mail_from").toString(), QStringLiteral("me@example.org"));
    EXPECT_FALSE(QFileInfo(settingsPath()).size() > 0);   // the test mail saves nothing

    // A stalled server: the time limit ends the wait and the message says so.
    MailTransport::setDefaultTimeLimitMs(1000);
    m_dialog.ui._send_mail_port->setText(servers.port("stall"));
    QTest::mouseClick(m_dialog.ui.send_test_btn, Qt::LeftButton);
    MailTransport::setDefaultTimeLimitMs(120000);
    ASSERT_EQ(m_seam.messages.size(), 2);
    EXPECT_TRUE(m_seam.messages[1].text.contains("Could not send email."));
    EXPECT_TRUE(m_seam.messages[1].text.contains("timed out"));
    EXPECT_TRUE(m_dialog.ui.save_btn->isEnabled());
    EXPECT_FALSE(m_dialog.ui.plz_wait_Window->isVisible());

    // A server's reply with markup shows as those characters, in the message and in the
    // dialog, and the FIFO its <img> names is never opened.
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    m_dialog.ui._send_mail_port->setText(servers.port("tls"));
    m_dialog.ui._send_mail_to->setText(QStringLiteral("markup@example.org"));
    QTest::mouseClick(m_dialog.ui.send_test_btn, Qt::LeftButton);
    ASSERT_EQ(m_seam.messages.size(), 3);
    m_dialog.grab();
    for (const QString &markup : named.markup()) {
        EXPECT_TRUE(m_seam.messages[2].text.contains(markup)) << m_seam.messages[2].text.toStdString();
        EXPECT_TRUE(TestHelpers::shownText(m_dialog.ui._send_mail_result_status).contains(markup));
    }
    EXPECT_EQ(named.fifoOpened(), 0);
}
