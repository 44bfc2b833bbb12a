#include "panels/ui/ThumbnailDelegate.h"

#include <QAbstractItemView>

void ThumbnailDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // A QImage or QPixmap decoration brings its own size, which the view's icon size does not
    // limit; a thumbnail larger than the cell would run over its neighbours.
    const auto *view = qobject_cast<const QAbstractItemView *>(option->widget);
    if (!view || !(option->features & QStyleOptionViewItem::HasDecoration) || option->decorationSize.isEmpty())
        return;
    const QSize room = view->iconSize();
    if (room.isValid() && (option->decorationSize.width() > room.width() || option->decorationSize.height() > room.height()))
        option->decorationSize = option->decorationSize.scaled(room, Qt::KeepAspectRatio);
}
