#pragma once

#include <QImage>
#include <QString>

// Names and files of exported card pictures. Widget-free; safe on worker threads.
class CardExport
{
public:
    // The folder a batch run writes into: "QOVA Festiloom" inside the chosen folder.
    static QString batchFolder(const QString &chosenFolder);
    // "Card_<n>.<extension>" inside `folder` (n from 1).
    static QString cardPath(const QString &folder, int number, const QString &extension);
    // The path of a front or single picture: the path itself.
    static QString Create_Front_Card_Path(const QString &path) { return path; }
    // The back picture beside `path`: its name with "_Back" before the extension.
    static QString Create_Back_Card_Path(const QString &path);

    // Front above back in one picture as wide and twice as high as the front; each side at
    // its own size. Null when either picture is null.
    static QImage combined(const QImage &front, const QImage &back);

    // Makes `folder` with its parents, with the permissions the user's umask gives. A symbolic
    // link under the name is refused: cards never go through it to another place.
    static bool makeFolder(const QString &folder, QString *error = nullptr);

    // Writes the picture whole or not at all in the format its extension names ("TIFF",
    // "PNG", "JPEG"/"JPG", any case; others PNG), keeping the picture's resolution. An opaque
    // picture is stored without alpha; JPEG lays a transparent one on white. False with the
    // reason on failure (an existing file is then left as it was). The file is never written
    // through a symbolic link: a link under the name is refused with a reason naming it, and
    // a same-named regular file is replaced, keeping its permissions.
    static bool writePicture(const QImage &image, const QString &path, QString *error = nullptr);
    // The PNG file of a picture (RGB when opaque, else RGBA), with its resolution, deflated at
    // the fastest level; empty with the reason when it cannot be encoded.
    static QByteArray pngData(const QImage &image, QString *error = nullptr);
    // The image format name Qt writes for `path`'s extension ("tiff", "png", "jpeg").
    static QByteArray formatFor(const QString &path);
    // Whether every pixel of the picture is opaque.
    static bool isOpaque(const QImage &image);
};
