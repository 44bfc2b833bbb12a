#pragma once

#include "panels/MyImageObject.h"

#include <QAbstractListModel>

class ThumbnailCache;

// The items of a picture browser (the picture library and the editor's background gallery)
// for a QListView in icon mode: titles and thumbnails, reordering by dragging inside the
// browser. Items are never removed by the browser and nothing can be dragged out of it.
class ImageBrowserModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int PathRole = Qt::UserRole + 1;

    explicit ImageBrowserModel(ThumbnailCache *thumbnails, QObject *parent = nullptr);

    const QList<MyImageObject> &images() const { return m_images; }
    void clear();
    void setImages(const QList<MyImageObject> &images);
    // Adds a picture; the path is trimmed and an empty one adds nothing.
    void addImageWithPath(const QString &path, const QString &imageName, const QString &imageUID);
    // The moved items, in index order, as one block at `destination` (an index before the
    // move); always true.
    bool moveItemsAtIndexes(const QList<int> &rows, int destination);
    int rowOfPath(const QString &path) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent) override;
    // Asked to remove items (after a move, or by a delete key): nothing is removed.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

private:
    QList<MyImageObject> m_images;
    ThumbnailCache *m_thumbnails;
};
