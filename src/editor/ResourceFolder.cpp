#include "editor/ResourceFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

static void initShippedResources()
{
    Q_INIT_RESOURCE(resources);
}

QString ResourceFolder::defaultLocation()
{
    const QString overridden = qEnvironmentVariable("FESTILOOM_RESOURCE_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString ResourceFolder::seedPrefix()
{
    return QStringLiteral(":/seed");
}

// The user guide is no user file: a newer shipped copy replaces the one in the folder.
static bool replacesOlderCopy(const QString &relative, const QString &source, const QString &target)
{
    if (relative != QLatin1String("Help.pdf"))
        return false;
    QFile shipped(source), present(target);
    if (!shipped.open(QIODevice::ReadOnly) || !present.open(QIODevice::ReadOnly))
        return true;
    return shipped.size() != present.size() || shipped.readAll() != present.readAll();
}

bool ResourceFolder::prepare(const QString &path, QString *error)
{
    initShippedResources();
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("No folder for the application's resources.");
        return false;
    }
    QDir root(path);
    if (!root.mkpath(QStringLiteral("."))) {
        if (error)
            *error = QStringLiteral("Could not create the folder \"%1\".").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QString prefix = seedPrefix();
    QDirIterator it(prefix, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = source.mid(prefix.size() + 1);
        const QString target = root.filePath(relative);
        if (QFileInfo::exists(target) && !replacesOlderCopy(relative, source, target))
            continue;
        QFile::remove(target);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(source, target)) {
            if (error)
                *error = QStringLiteral("Could not write \"%1\".").arg(QDir::toNativeSeparators(target));
            return false;
        }
        // Copies out of the resource system are read-only; the user owns these files.
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return true;
}

QString ResourceFolder::portablePath(const QString &path, const QString &folder)
{
    if (path.isEmpty() || folder.isEmpty() || !QDir::isAbsolutePath(path))
        return path;
    const QString relative = QDir(QDir::cleanPath(folder)).relativeFilePath(QDir::cleanPath(path));
    if (relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative))
        return path;
    return relative;
}

QString ResourceFolder::resolvedPath(const QString &path, const QString &folder)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir::cleanPath(QDir(folder).filePath(path));
}

static QString settingsFile(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("Festiloom.ini"));
}

QString ResourceFolder::designFolder(const QString &folder)
{
    const QString last = QSettings(settingsFile(folder), QSettings::IniFormat).value(QStringLiteral("designFolder")).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void ResourceFolder::rememberDesignFolder(const QString &folder, const QString &designPath)
{
    if (folder.isEmpty() || designPath.isEmpty())
        return;
    QSettings settings(settingsFile(folder), QSettings::IniFormat);
    settings.setValue(QStringLiteral("designFolder"), QFileInfo(designPath).absolutePath());
}

QByteArray ResourceFolder::windowGeometry(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    return QSettings(settingsFile(folder), QSettings::IniFormat).value(QStringLiteral("windowGeometry")).toByteArray();
}

void ResourceFolder::rememberWindowGeometry(const QString &folder, const QByteArray &geometry)
{
    if (folder.isEmpty() || geometry.isEmpty())
        return;
    QSettings(settingsFile(folder), QSettings::IniFormat).setValue(QStringLiteral("windowGeometry"), geometry);
}
