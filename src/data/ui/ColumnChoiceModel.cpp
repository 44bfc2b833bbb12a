#include "data/ui/ColumnChoiceModel.h"

#include "document/StringUtilities.h"

ColumnChoiceModel::ColumnChoiceModel(bool withHeader, QObject *parent)
    : QAbstractTableModel(parent)
    , m_withHeader(withHeader)
{
}

int ColumnChoiceModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ColumnChoiceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : (m_withHeader ? 3 : 2);
}

QVariant ColumnChoiceModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    if (index.column() == 0)
        return role == Qt::CheckStateRole ? QVariant(row.State ? Qt::Checked : Qt::Unchecked) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return index.column() == 1 ? row.Extension : row.Header;
}

bool ColumnChoiceModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return false;
    Row &row = m_rows[index.row()];
    if (index.column() == 0 && role == Qt::CheckStateRole)
        row.State = value.toInt() == Qt::Checked;
    else if (index.column() == 2 && role == Qt::EditRole)
        row.Header = value.toString();
    else
        return false;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags ColumnChoiceModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    if (index.column() == 2)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ColumnChoiceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    switch (section) {
    case 0:
        return tr("Use");
    case 1:
        return tr("Column");
    default:
        return tr("Header");
    }
}

void ColumnChoiceModel::setNames(const QStringList &names)
{
    beginResetModel();
    m_rows.clear();
    for (const QString &name : names)
        m_rows.append(Row{false, Trim_Str(name), name});
    endResetModel();
}

void ColumnChoiceModel::setAllStates(bool ticked)
{
    for (Row &row : m_rows)
        row.State = ticked;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, 0));
}

void ColumnChoiceModel::setState(int row, bool ticked)
{
    setData(index(row, 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

int ColumnChoiceModel::Get_Selection_State(int row) const
{
    return row >= 0 && row < m_rows.size() && m_rows.at(row).State ? 1 : 0;
}

int ColumnChoiceModel::Check_For_One_Extension_Selection() const
{
    return tickedColumns().isEmpty() ? 0 : 1;
}

QList<int> ColumnChoiceModel::tickedColumns() const
{
    QList<int> ticked;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).State)
            ticked.append(i);
    return ticked;
}
