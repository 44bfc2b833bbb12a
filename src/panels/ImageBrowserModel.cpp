#include "panels/ImageBrowserModel.h"

#include "document/StringUtilities.h"
#include "panels/PictureFolders.h"
#include "panels/ThumbnailCache.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace {
const QString kRowsType = QStringLiteral("application/x-festiloom-browser-rows");
}

ImageBrowserModel::ImageBrowserModel(ThumbnailCache *thumbnails, QObject *parent)
    : QAbstractListModel(parent)
    , m_thumbnails(thumbnails)
{
    if (m_thumbnails) {
        connect(m_thumbnails, &ThumbnailCache::thumbnailReady, this, [this](const QString &path) {
            for (int row = 0; row < m_images.size(); ++row)
                if (m_images.at(row).path == path)
                    emit dataChanged(index(row), index(row), {Qt::DecorationRole});
        });
    }
}

void ImageBrowserModel::clear()
{
    setImages({});
}

void ImageBrowserModel::setImages(const QList<MyImageObject> &images)
{
    beginResetModel();
    m_images = images;
    endResetModel();
}

void ImageBrowserModel::addImageWithPath(const QString &path, const QString &imageName, const QString &imageUID)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_images.size()), int(m_images.size()));
    m_images.append(MyImageObject::initWithImage_Path(trimmed, imageName, imageUID));
    endInsertRows();
}

bool ImageBrowserModel::moveItemsAtIndexes(const QList<int> &rows, int destination)
{
    beginResetModel();
    m_images = PictureFolders::movedItems(m_images, rows, destination);
    endResetModel();
    return true;
}

int ImageBrowserModel::rowOfPath(const QString &path) const
{
    for (int row = 0; row < m_images.size(); ++row)
        if (m_images.at(row).path == path)
            return row;
    return -1;
}

int ImageBrowserModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_images.size());
}

QVariant ImageBrowserModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_images.size())
        return {};
    const MyImageObject &item = m_images.at(index.row());
    switch (role) {
    case Qt::DisplayRole: return item.imageTitle();
    case Qt::ToolTipRole: return plainTextToolTip(item.imageTitle());
    case Qt::DecorationRole:
        if (!item.image.isNull())
            return item.image;
        return m_thumbnails ? m_thumbnails->thumbnail(item.path) : QImage();
    case PathRole: return item.path;
    default: return {};
    }
}

Qt::ItemFlags ImageBrowserModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions ImageBrowserModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions ImageBrowserModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

QStringList ImageBrowserModel::mimeTypes() const
{
    return {kRowsType};
}

QMimeData *ImageBrowserModel::mimeData(const QModelIndexList &indexes) const
{
    // Only the rows travel, for a move inside this browser: other programs get nothing.
    QByteArray rows;
    QDataStream stream(&rows, QIODevice::WriteOnly);
    for (const QModelIndex &index : indexes)
        stream << qint32(index.row());
    auto *data = new QMimeData;
    data->setData(kRowsType, rows);
    return data;
}

bool ImageBrowserModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int, const QModelIndex &parent)
{
    if (!data || action != Qt::MoveAction || !data->hasFormat(kRowsType))
        return false;
    QList<int> rows;
    QDataStream stream(data->data(kRowsType));
    while (!stream.atEnd()) {
        qint32 value = 0;
        stream >> value;
        rows.append(value);
    }
    const int destination = row >= 0 ? row : parent.isValid() ? parent.row() : int(m_images.size());
    return moveItemsAtIndexes(rows, destination);
}

bool ImageBrowserModel::removeRows(int, int, const QModelIndex &)
{
    return false;
}
