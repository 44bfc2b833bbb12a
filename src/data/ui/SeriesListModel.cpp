#include "data/ui/SeriesListModel.h"

#include "document/StringUtilities.h"

#include <algorithm>

SeriesListModel::SeriesListModel(const QString &title, QObject *parent)
    : QAbstractTableModel(parent)
    , m_title(title)
{
}

int SeriesListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_values.size());
}

int SeriesListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant SeriesListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_values.size() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return role == Qt::ToolTipRole ? plainTextToolTip(m_values.at(index.row())) : m_values.at(index.row());
}

QVariant SeriesListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? QVariant(m_title) : QVariant(section + 1);
}

void SeriesListModel::setValues(const QStringList &values)
{
    beginResetModel();
    m_values = values;
    endResetModel();
}

void SeriesListModel::append(const QStringList &values)
{
    if (values.isEmpty())
        return;
    const int first = int(m_values.size());
    beginInsertRows({}, first, first + int(values.size()) - 1);
    m_values.append(values);
    endInsertRows();
}

void SeriesListModel::replace(int row, const QString &value)
{
    if (row < 0 || row >= m_values.size())
        return;
    m_values[row] = value;
    emit dataChanged(index(row, 0), index(row, 0));
}

void SeriesListModel::removeRowList(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Large selections are one reset and one pass over the list, not thousands of removals.
    if (rows.size() > 64) {
        beginResetModel();
        QStringList kept;
        kept.reserve(m_values.size());
        qsizetype next = rows.size() - 1;   // rows are sorted downwards: walk them from the end
        for (int i = 0; i < m_values.size(); ++i) {
            while (next >= 0 && rows.at(next) < i)
                --next;
            if (next >= 0 && rows.at(next) == i)
                continue;
            kept.append(m_values.at(i));
        }
        m_values = kept;
        endResetModel();
        return;
    }
    for (int row : rows) {
        if (row < 0 || row >= m_values.size())
            continue;
        beginRemoveRows({}, row, row);
        m_values.removeAt(row);
        endRemoveRows();
    }
}
