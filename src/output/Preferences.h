#pragma once

#include <QMap>
#include <QString>

#include <memory>

// The e-mail settings store: one XML property list of strings, "com.qova.card.plist" in the
// resource folder. It holds the SMTP password in plain text, so the file is kept to its owner
// (0600). Reading never changes an existing file; only flush writes it, whole or not at all.
class Preferences
{
public:
    // A new store on the settings file of Resource_Path, so every caller sees the file as it is.
    static std::unique_ptr<Preferences> sharedInstance();
    static QString fileName() { return QStringLiteral("com.qova.card.plist"); }

    // Reads the file at `path`. A missing file is created empty (0600); an unreadable, empty
    // or foreign one is left as it is and every value reads empty until the next flush. A file
    // that others may read is tightened to 0600. A symbolic link under the name is left alone
    // (its target's mode is never changed) and flush refuses to write through it.
    explicit Preferences(const QString &path);

    // The five text keys set to the empty string; "SendEnableSSL" stays absent.
    void setDefaults();
    // Writes the whole dictionary atomically, 0600. False, with the reason in `error`, when
    // the file cannot be written; the old file then stays.
    bool flush(QString *error = nullptr);

    // Empty when the key is absent; contains() tells the two apart.
    bool contains(const char *key) const { return mDict.contains(QLatin1String(key)); }
    QString send_email_Recipient() const { return value("SendEmailRecipient"); }
    QString send_email_SenderEmail() const { return value("SendEmailSender"); }
    QString send_email_Password() const { return value("SendEmailPwd"); }
    QString send_email_SMTP_server() const { return value("SendEmailSMTP"); }
    QString send_email_PORT_num() const { return value("SendEmailPORT"); }
    QString send_email_enable_ssl() const { return value("SendEnableSSL"); }

    void setsend_email_Recipient(const QString &text) { mDict.insert("SendEmailRecipient", text); }
    void setsend_email_SenderEmail(const QString &text) { mDict.insert("SendEmailSender", text); }
    void setsend_email_Password(const QString &text) { mDict.insert("SendEmailPwd", text); }
    void setsend_email_SMTP_server(const QString &text) { mDict.insert("SendEmailSMTP", text); }
    void setsend_email_PORT_num(const QString &text) { mDict.insert("SendEmailPORT", text); }
    void setsend_email_enable_ssl(const QString &text) { mDict.insert("SendEnableSSL", text); }

    QString mPreferencesPath;
    QMap<QString, QString> mDict;

private:
    QString value(const char *key) const { return mDict.value(QLatin1String(key)); }
    bool read();
};
