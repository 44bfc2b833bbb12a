#pragma once

// The skeleton workbook "Template.xlsx" the workbook writer starts from: a minimal valid
// package with one worksheet "xl/worksheets/sheet1.xml" and the shared-string part
// "xl/sharedStrings.xml". Its parts are built into the program; the skeleton is packed
// into the resource folder when it is missing there.

#include <QString>
#include <QStringList>

class WorkbookTemplate
{
public:
    // Resource_Path/Template.xlsx; empty while Resource_Path is not set.
    static QString path();
    // Names of the built-in parts, relative to the package root.
    static QStringList partNames();
    // Writes the built-in parts below `folder`.
    static bool writeParts(const QString &folder, QString *errorMessage = nullptr);
    // Packs the built-in parts into `destination`, replacing it.
    static bool install(const QString &destination, QString *errorMessage = nullptr);
    // The skeleton's path, packing it first when it is missing; empty with the reason on failure.
    static QString ensureInstalled(QString *errorMessage = nullptr);
};
