#pragma once

#include <QImage>
#include <QString>

// One item of a picture browser: a picture file, which is also its picture, with the title
// shown under the thumbnail and its identity in the browser.
struct MyImageObject
{
    QString path;
    QImage image;          // only for items made from a picture rather than a file
    QString image_Name;
    QString image_UID;

    static MyImageObject initWithImage_Path(const QString &path, const QString &name, const QString &uid)
    {
        return {path, QImage(), name, uid};
    }
    QString imageRepresentation() const { return path; }
    QString imageUID() const { return image_UID; }
    QString imageTitle() const { return image_Name; }
};
