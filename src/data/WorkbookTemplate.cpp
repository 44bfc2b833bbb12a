#include "data/WorkbookTemplate.h"

#include "data/SSZipArchive.h"
#include "document/DocumentGlobals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

static void initTemplateResources()
{
    // The parts live in this static library's resources, which vanish unless registered.
    Q_INIT_RESOURCE(xlsx_template);
}

namespace {

const QString ResourceRoot = QStringLiteral(":/festiloom/xlsx-template/");

bool report(QString *errorMessage, const QString &message)
{
    if (errorMessage)
        *errorMessage = message;
    return false;
}

} // namespace

QString WorkbookTemplate::path()
{
    if (Resource_Path.isEmpty())
        return {};
    return QDir(Resource_Path).filePath(QStringLiteral("Template.xlsx"));
}

QStringList WorkbookTemplate::partNames()
{
    return {QStringLiteral("[Content_Types].xml"),          QStringLiteral("_rels/.rels"),
            QStringLiteral("xl/workbook.xml"),              QStringLiteral("xl/_rels/workbook.xml.rels"),
            QStringLiteral("xl/worksheets/sheet1.xml"),     QStringLiteral("xl/sharedStrings.xml")};
}

bool WorkbookTemplate::writeParts(const QString &folder, QString *errorMessage)
{
    initTemplateResources();
    const QDir root(folder);
    for (const QString &part : partNames()) {
        QFile source(ResourceRoot + part);
        if (!source.open(QIODevice::ReadOnly))
            return report(errorMessage, QStringLiteral("The built-in workbook part %1 is missing.").arg(part));
        const QString target = root.filePath(part);
        QDir().mkpath(QFileInfo(target).path());
        QFile out(target);
        const QByteArray bytes = source.readAll();
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush())
            return report(errorMessage, QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
    }
    return true;
}

bool WorkbookTemplate::install(const QString &destination, QString *errorMessage)
{
    QTemporaryDir parts(QDir::temp().filePath(QStringLiteral("festiloom-template-XXXXXX")));
    if (!parts.isValid())
        return report(errorMessage, QStringLiteral("Cannot create a temporary folder: %1").arg(parts.errorString()));
    if (!writeParts(parts.path(), errorMessage))
        return false;

    QStringList items;
    const QStringList top = QDir(parts.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : top)
        items.append(QDir(parts.path()).filePath(entry));
    std::sort(items.begin(), items.end());   // "[Content_Types].xml" first, as Office writes it

    QDir().mkpath(QFileInfo(destination).path());
    const QString partial = destination + QStringLiteral(".partial");
    QString zipError;
    if (!SSZipArchive::createZipFileAtPath(partial, items, &zipError)) {
        QFile::remove(partial);
        return report(errorMessage, zipError);
    }
    QFile::remove(destination);
    if (!QFile::rename(partial, destination)) {
        QFile::remove(partial);
        return report(errorMessage, QStringLiteral("Cannot create %1.").arg(destination));
    }
    return true;
}

QString WorkbookTemplate::ensureInstalled(QString *errorMessage)
{
    const QString skeleton = path();
    if (skeleton.isEmpty()) {
        report(errorMessage, QStringLiteral("The resource folder is not set, so the workbook skeleton Template.xlsx cannot be found."));
        return {};
    }
    if (QFileInfo(skeleton).isFile())
        return skeleton;
    QString reason;
    if (!install(skeleton, &reason)) {
        report(errorMessage, QStringLiteral("The workbook skeleton Template.xlsx is missing and cannot be created: %1").arg(reason));
        return {};
    }
    return skeleton;
}
