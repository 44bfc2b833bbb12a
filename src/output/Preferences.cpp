#include "output/Preferences.h"

#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "document/PlistDictionary.h"
#include "document/PropertyListCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <plist/plist.h>

#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

struct PlistFree
{
    void operator()(void *node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

// Characters XML 1.0 cannot carry are dropped: the file must stay readable.
QByteArray xmlText(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 || u == 0x9 || u == 0xA || u == 0xD)
            kept += c;
    }
    return kept.toUtf8();
}

// Makes a regular file 0600 when it allows more, through a descriptor opened without
// following a link, so a link swapped in meanwhile is never changed.
void tightenToOwner(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat info{};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 07777 & ~0600) != 0)
        ::fchmod(fd, 0600);
    ::close(fd);
}

} // namespace

std::unique_ptr<Preferences> Preferences::sharedInstance()
{
    return std::make_unique<Preferences>(Resource_Path.isEmpty() ? QString() : QDir(Resource_Path).filePath(fileName()));
}

Preferences::Preferences(const QString &path)
    : mPreferencesPath(path)
{
    const QFileInfo info(path);
    if (path.isEmpty()) {
        // No resource folder yet: nothing to read or create.
        setDefaults();
        return;
    }
    if (info.isSymLink()) {
        // The password file is never reached through a link: neither its mode nor its content
        // is changed where the link points.
        Show_NSLog_Message(QStringLiteral("The e-mail settings file %1 is a symbolic link: it is left as it is.").arg(path));
    } else if (!info.exists()) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            file.setPermissions(kOwnerOnly);
        else
            Show_NSLog_Message(QStringLiteral("Cannot create the e-mail settings file %1: %2").arg(path, file.errorString()));
    } else {
        tightenToOwner(path);
    }
    if (!read()) {
        mDict.clear();
        setDefaults();
    }
}

bool Preferences::read()
{
    QFile file(mPreferencesPath);
    if (!QFileInfo(mPreferencesPath).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return false;
    // Read as every property list is: checked first, so damaged or hostile files never reach
    // libplist.
    plist_t root = nullptr;
    PropertyListCheck::read(data, PropertyListCheck::Limits(), &root);
    const PlistPtr owner(root);
    if (!root || plist_get_node_type(root) != PLIST_DICT)
        return false;
    PlistDictionary::forEach(root, [this](const char *key, plist_t item) {
        if (plist_get_node_type(item) == PLIST_STRING) {
            char *text = nullptr;
            plist_get_string_val(item, &text);
            mDict.insert(QString::fromUtf8(key), QString::fromUtf8(text ? text : ""));
            std::free(text);
        }
    });
    return true;
}

void Preferences::setDefaults()
{
    for (const char *key : {"SendEmailRecipient", "SendEmailSender", "SendEmailPwd", "SendEmailSMTP", "SendEmailPORT"})
        mDict.insert(QLatin1String(key), QString());
}

bool Preferences::flush(QString *error)
{
    const PlistPtr root(plist_new_dict());
    for (auto it = mDict.cbegin(); it != mDict.cend(); ++it)
        plist_dict_set_item(root.get(), it.key().toUtf8().constData(), plist_new_string(xmlText(it.value()).constData()));
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root.get(), &xml, &length);
    const QByteArray data(xml ? xml : "", xml ? qsizetype(length) : 0);
    plist_to_xml_free(xml);

    if (QFileInfo(mPreferencesPath).isSymLink()) {
        // QSaveFile would write where the link points: the password goes nowhere but here.
        const QString reason = QStringLiteral("it is a symbolic link");
        Show_NSLog_Message(QStringLiteral("Cannot write the e-mail settings file %1: %2").arg(mPreferencesPath, reason));
        if (error)
            *error = reason;
        return false;
    }
    QSaveFile file(mPreferencesPath);
    bool ok = !data.isEmpty() && file.open(QIODevice::WriteOnly);
    // The password must never be readable by others, not even for an instant.
    ok = ok && file.setPermissions(kOwnerOnly);
    ok = ok && file.write(data) == data.size();
    if (ok && file.commit())
        return true;
    const QString reason = file.errorString().isEmpty() ? QStringLiteral("cannot write the file") : file.errorString();
    file.cancelWriting();
    Show_NSLog_Message(QStringLiteral("Cannot write the e-mail settings file %1: %2").arg(mPreferencesPath, reason));
    if (error)
        *error = reason;
    return false;
}
