// The application's own seam on a real display: addresses go through QDesktopServices to
// xdg-open. Run under xvfb-run with the xcb platform; a stub xdg-open first on PATH records
// the address it is given.

#include "dialogs/ui/QtModalSeam.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// What the stub received, waiting for it to run (it is started detached).
QByteArray waitForRecord(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith('\n'))
                return text.trimmed();
        }
        QThread::msleep(20);
    }
    return {};
}

} // namespace

TEST(RealSeam, AddressesReachXdgOpenExactlyAndNoXdgOpenIsAFailure)
{
    // Qt keeps the xdg-open it found for the life of the process: the stub stays as long, and
    // the computer without one can be shown only before the first address was opened.
    static QTemporaryDir dir;
    static bool opened = false;
    const QString record = dir.filePath(QStringLiteral("record.txt"));
    const QString stub = dir.filePath(QStringLiteral("xdg-open"));
    QFile script(stub);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(record).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QByteArray path = qgetenv("PATH");
    QtModalSeam seam;
    // A computer with no program for addresses: the seam says so (the caller then names the
    // address in a message).
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path()));
    if (!opened) {
        EXPECT_FALSE(seam.openUrl(QUrl(QStringLiteral("http://www.festiloom.example.com/"))));
        EXPECT_FALSE(seam.openUrl(QUrl(QStringLiteral("mailto:support@festiloom.example.com"))));
    }
    opened = true;

    qputenv("PATH", QFile::encodeName(dir.path()) + ":/usr/bin:/bin");
    const QStringList addresses = {
        QStringLiteral("mailto:support@festiloom.example.com?subject=Hello%20there&body=Line%0A%0ATwo"),
        QStringLiteral("http://twitter.com/intent/tweet?source=sharethiscom&url=http://share.festiloom.example.org/"),
        QUrl::fromLocalFile(dir.filePath(QStringLiteral("Help.pdf"))).toString(),
    };
    for (const QString &address : addresses) {
        QFile::remove(record);
        EXPECT_TRUE(seam.openUrl(QUrl(address, QUrl::StrictMode))) << address.toStdString();
        EXPECT_EQ(QString::fromUtf8(waitForRecord(record)), address);
    }
    qputenv("PATH", path);
}
