#include "panels/ui/ImageBrowserView.h"

#include "panels/ImageBrowserModel.h"
#include "panels/ui/ThumbnailDelegate.h"

ImageBrowserView::ImageBrowserView(QWidget *parent)
    : QListView(parent)
{
    setUp(this);
}

void ImageBrowserView::setUp(QListView *view)
{
    view->setViewMode(QListView::IconMode);
    view->setResizeMode(QListView::Adjust);
    view->setMovement(QListView::Snap);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setDragDropMode(QAbstractItemView::InternalMove);
    view->setDefaultDropAction(Qt::MoveAction);
    view->setUniformItemSizes(true);
    view->setWordWrap(true);
    view->setItemDelegate(new ThumbnailDelegate(view));
    setZoom(view, 0.4);
}

void ImageBrowserView::setZoom(QListView *view, double zoom)
{
    const int side = std::max(24, int(256 * zoom));
    view->setIconSize(QSize(side, side));
    view->setGridSize(QSize(side + 24, side + 36));
    // The items are laid out at the new size now: with uniform item sizes the view would keep
    // drawing them in cells of the old size until its delayed layout ran.
    view->doItemsLayout();
    view->viewport()->update();
}

QString ImageBrowserView::firstSelectedPath(const QListView *view)
{
    if (!view->selectionModel())
        return {};
    const QModelIndexList rows = view->selectionModel()->selectedIndexes();
    if (rows.isEmpty())
        return {};
    QModelIndex first = rows.first();
    for (const QModelIndex &index : rows)
        if (index.row() < first.row())
            first = index;
    return first.data(ImageBrowserModel::PathRole).toString();
}
