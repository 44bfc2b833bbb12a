#pragma once

#include <QStyledItemDelegate>

// Draws a picture browser's thumbnails at the view's icon size (their shape kept), whatever
// the size of the picture the model holds, so they stay inside their grid cells.
class ThumbnailDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
