// The e-mail settings store, read back with Python's plistlib.

#include "output/MailGlobals.h"
#include "output/Preferences.h"

#include "document/DocumentGlobals.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;

QJsonObject readWithPlistlib(const QString &path)
{
    const QByteArray json = TestHelpers::runProgram(
        QStringLiteral(FESTILOOM_PYTHON),
        {"-c", "import json, plistlib, sys; print(json.dumps(plistlib.load(open(sys.argv[1], 'rb'))))", path});
    return QJsonDocument::fromJson(json).object();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &data, QFileDevice::Permissions permissions)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
    file.close();
    QFile::setPermissions(path, permissions);
}

} // namespace

TEST(Preferences, RoundTripIsAnOwnerOnlyXmlPropertyList)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(Preferences::fileName());
    {
        Preferences store(path);
        EXPECT_TRUE(QFileInfo::exists(path));
        EXPECT_EQ(QFileInfo(path).size(), 0);
        EXPECT_EQ(QFileInfo(path).permissions(), kOwnerOnly);
        EXPECT_FALSE(store.contains("SendEnableSSL"));
        store.setsend_email_Recipient("Friend@Example.org");
        store.setsend_email_SenderEmail("Me@Example.org");
        store.setsend_email_Password("  pä&ss<wörd> ");
        store.setsend_email_SMTP_server("smtp.example.org");
        store.setsend_email_PORT_num("five");
        store.setsend_email_enable_ssl("Y");
        ASSERT_TRUE(store.flush());
    }
    EXPECT_EQ(QFileInfo(path).permissions(), kOwnerOnly);
    EXPECT_TRUE(readAll(path).startsWith("<?xml"));
    const QJsonObject seen = readWithPlistlib(path);
    EXPECT_EQ(seen.toVariantMap(), QVariantMap({{"SendEmailRecipient", "Friend@Example.org"},
                                                {"SendEmailSender", "Me@Example.org"},
                                                {"SendEmailPwd", "  pä&ss<wörd> "},
                                                {"SendEmailSMTP", "smtp.example.org"},
                                                {"SendEmailPORT", "five"},
                                                {"SendEnableSSL", "Y"}}));
    const Preferences again(path);
    EXPECT_EQ(again.send_email_Password(), QStringLiteral("  pä&ss<wörd> "));
    EXPECT_EQ(again.send_email_enable_ssl(), QStringLiteral("Y"));

    // The copies the send window uses come from the store of Resource_Path.
    const QString previous = Resource_Path;
    Resource_Path = dir.path();
    Get_Email_Details();
    Resource_Path = previous;
    EXPECT_EQ(sender_email, QStringLiteral("Me@Example.org"));
    EXPECT_EQ(sending_port, QStringLiteral("five"));
    EXPECT_EQ(send_enable_ssl, QStringLiteral("Y"));
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
        writeAll(path, c.content, c.permissions);
        const Preferences store(path);
        EXPECT_EQ(store.send_email_SenderEmail(), QString());
        EXPECT_EQ(store.send_email_Password(), QString());
        EXPECT_FALSE(store.contains("SendEnableSSL"));
        EXPECT_EQ(readAll(path), c.content);
        EXPECT_EQ(QFileInfo(path).permissions(), kOwnerOnly);
    }
}

// A target that cannot be written (a folder stands where the file goes): flush says so and
// nothing is lost.
TEST(Preferences, FailedFlushIsReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(Preferences::fileName());
    ASSERT_TRUE(QDir().mkdir(path));
    Preferences store(path);
    EXPECT_EQ(store.send_email_Recipient(), QString());
    store.setsend_email_SenderEmail("me@example.org");
    QString error;
    EXPECT_FALSE(store.flush(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}
