#pragma once

#include <QByteArray>
#include <QString>

// The per-user resource folder: templates, backgrounds, hatch patterns, picture library, stock
// texts, data series and settings all live here. It is made on first start and seeded from
// the files the application ships; the user's own files are never overwritten.
class ResourceFolder
{
public:
    // FESTILOOM_RESOURCE_DIR when set (tests, portable use), else the per-user data folder.
    static QString defaultLocation();

    // Creates `path` when missing and copies every shipped file that is not there yet.
    // False, with the reason in `error`, when the folder cannot be made or written.
    static bool prepare(const QString &path, QString *error);

    // The shipped files, as a folder tree under this resource prefix.
    static QString seedPrefix();

    // How a design names a picture: relative to `folder` when the picture lies inside it (so the
    // design opens on another account with that account's copy), else the path unchanged.
    static QString portablePath(const QString &path, const QString &folder);
    // The file a stored picture path names: a relative path lies inside `folder`.
    static QString resolvedPath(const QString &path, const QString &folder);

    // The folder the design choosers start in: the last one a design was saved to or opened
    // from (kept in the settings file "Festiloom.ini" of `folder`), else the documents folder.
    static QString designFolder(const QString &folder);
    static void rememberDesignFolder(const QString &folder, const QString &designPath);

    // The editor window's last place and size (as QWidget::saveGeometry gives them), kept in
    // the same settings file; empty when none was kept.
    static QByteArray windowGeometry(const QString &folder);
    static void rememberWindowGeometry(const QString &folder, const QByteArray &geometry);
};
