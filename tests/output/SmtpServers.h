#pragma once

// The local SMTP servers of the mail tests (tests/output/data/smtp_servers.py): plain,
// STARTTLS, implicit TLS and a stalling one, all on 127.0.0.1 with one trustme authority that
// reaches the mail script through SSL_CERT_FILE. One set per test program, made on first use.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class SmtpServers
{
public:
    static inline const QString kPassword = QStringLiteral("s3cret pässwörd €");

    static SmtpServers &instance()
    {
        static std::unique_ptr<SmtpServers> servers(new SmtpServers);
        return *servers;
    }

    QString port(const QString &kind) const { return m_ports.value(kind); }
    bool ready() const { return !m_ports.isEmpty(); }

    // Messages the servers took, oldest first.
    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> list;
        const QStringList names = QDir(m_out.path()).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
        for (const QString &name : names) {
            QFile file(QDir(m_out.path()).filePath(name));
            if (file.open(QIODevice::ReadOnly))
                list.append(QJsonDocument::fromJson(file.readAll()).object());
        }
        return list;
    }
    qsizetype count() const { return messages().size(); }
    // Messages taken since `before` of them were there.
    QList<QJsonObject> since(qsizetype before) const { return messages().mid(before); }

    static QByteArray attachmentData(const QJsonObject &message, int index)
    {
        QFile file(message.value("attachments").toArray().at(index).toObject().value("path").toString());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QStringList attachmentNames(const QJsonObject &message)
    {
        QStringList names;
        for (const QJsonValue &a : message.value("attachments").toArray())
            names.append(a.toObject().value("name").toString());
        return names;
    }

    ~SmtpServers()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }

private:
    SmtpServers()
    {
        m_process.setProgram(QStringLiteral(FESTILOOM_PYTHON));
        m_process.setArguments({QStringLiteral(FESTILOOM_TEST_DATA_DIR "/smtp_servers.py"), QStringLiteral("--out"),
                                m_out.path(), QStringLiteral("--password"), kPassword});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        QByteArray line;
        while (!line.endsWith('\n') && m_process.waitForReadyRead(20000))
            line += m_process.readLine();
        const QStringList words = QString::fromUtf8(line.trimmed()).split(' ');
        if (words.value(0) != QLatin1String("READY")) {
            ADD_FAILURE() << "the test SMTP servers did not start: " << line.constData();
            return;
        }
        for (const QString &word : words.mid(1)) {
            const QString key = word.section('=', 0, 0);
            const QString value = word.section('=', 1);
            if (key == QLatin1String("ca"))
                qputenv("SSL_CERT_FILE", QDir(m_out.path()).absoluteFilePath(value).toUtf8());
            else
                m_ports.insert(key, value);
        }
    }

    QTemporaryDir m_out;
    QProcess m_process;
    QHash<QString, QString> m_ports;
};
