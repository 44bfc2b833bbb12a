#pragma once

#include "panels/MyImageObject.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The picture folders of the resource folder: "LibraryImage" with one sub-folder per
// category of element pictures, and "Background". Pictures are "png" and "jpg" files in any
// letter case, taken in the order the folder listing gives them.
namespace PictureFolders {

struct Category
{
    QString title;    // the folder name with each word capitalised
    QString folder;   // the folder name as it is on disk
};

// The categories of `resourcePath`/"LibraryImage"; empty without the folder.
QList<Category> categories(const QString &resourcePath);
// Every qualifying picture directly inside `folder`, as browser items (full path, file name,
// file name); empty when the folder does not exist.
QList<MyImageObject> pictures(const QString &folder);
bool isPictureFile(const QString &fileName);
// "birthday cakes" -> "Birthday Cakes".
QString capitalisedWords(const QString &text);

// Reordering in a browser: the moved items, in index order, go as one block to `destination`
// (an index of the list before the move), lowered by the moved items that stood before it.
template <typename T>
QList<T> movedItems(const QList<T> &items, const QList<int> &moved, int destination)
{
    QList<int> rows;
    for (int row : moved)
        if (row >= 0 && row < items.size() && !rows.contains(row))
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    QList<T> block, rest;
    for (int i = 0; i < items.size(); ++i)
        (rows.contains(i) ? block : rest).append(items.at(i));
    int at = destination;
    for (int row : rows)
        if (row < destination)
            --at;
    at = std::clamp(at, 0, int(rest.size()));
    for (int i = 0; i < block.size(); ++i)
        rest.insert(at + i, block.at(i));
    return rest;
}

} // namespace PictureFolders
