#include "document/FileUtilities.h"

#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void Delete_File(const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return;
    bool removed = false;
    if (info.isDir() && !info.isSymLink())
        removed = QDir(path).removeRecursively();
    else
        removed = QFile::remove(path);
    if (!removed)
        Show_NSLog_Message(QStringLiteral("Could not delete \"%1\".").arg(path));
}

void Check_Path_And_Create_Files()
{
    // Without the resource folder every name below would land in the working directory.
    if (Resource_Path.isEmpty())
        return;
    const QDir resources(Resource_Path);
    QStringList folders;
    if (!Data_Folder_Path.isEmpty())
        folders << Data_Folder_Path;
    for (const char *name : {"Background", "Fill_Style_Image", "LibraryImage", "Templates", "Templates/User"})
        folders << resources.filePath(QLatin1String(name));
    // mkpath creates with mode 0777 less the user's umask, as every Unix program does.
    for (const QString &folder : folders) {
        if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
            Show_NSLog_Message(QStringLiteral("Could not create the folder \"%1\".").arg(folder));
    }
}
