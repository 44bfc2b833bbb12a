#include "panels/PictureFolders.h"

#include <QDir>
#include <QFileInfo>

bool PictureFolders::isPictureFile(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    return extension == QLatin1String("png") || extension == QLatin1String("jpg");
}

QString PictureFolders::capitalisedWords(const QString &text)
{
    QString result = text;
    bool wordStart = true;
    for (QChar &c : result) {
        if (c.isSpace()) {
            wordStart = true;
            continue;
        }
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return result;
}

QList<PictureFolders::Category> PictureFolders::categories(const QString &resourcePath)
{
    QList<Category> list;
    const QDir library(QDir(resourcePath).filePath(QStringLiteral("LibraryImage")));
    if (!library.exists())
        return list;
    for (const QFileInfo &entry : library.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted))
        list.append({capitalisedWords(entry.fileName()), entry.fileName()});
    return list;
}

QList<MyImageObject> PictureFolders::pictures(const QString &folder)
{
    QList<MyImageObject> list;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return list;
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files, QDir::Unsorted)) {
        if (!isPictureFile(entry.fileName()))
            continue;
        const QString path = entry.filePath().trimmed();
        if (!path.isEmpty())
            list.append(MyImageObject::initWithImage_Path(path, entry.fileName(), entry.fileName()));
    }
    return list;
}
