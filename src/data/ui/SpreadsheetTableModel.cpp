#include "data/ui/SpreadsheetTableModel.h"

#include "data/SpreadsheetTable.h"
#include "document/MessageLog.h"

SpreadsheetTableModel::SpreadsheetTableModel(SpreadsheetTable *table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
}

int SpreadsheetTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table->rowCount();
}

int SpreadsheetTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMax(1, int(m_table->titles.size()));
}

QVariant SpreadsheetTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_table->value(index.row(), index.column());
}

bool SpreadsheetTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() < 1)
        return false;
    if (index.row() >= m_table->rowCount()) {
        Show_NSLog_Message(QStringLiteral("A spreadsheet cell edit outside the table was refused."));
        return false;
    }
    m_table->records[index.row()].insert(SpreadsheetTable::columnKey(index.column()), value.toString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags SpreadsheetTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() > 0)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant SpreadsheetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    // The row-number column is titled alike whatever an older design stored for it.
    if (section == 0)
        return rowNumberTitle();
    if (section < m_table->titles.size())
        return m_table->titles.at(section);
    return {};
}

QString SpreadsheetTableModel::rowNumberTitle()
{
    return tr("Row");
}

void SpreadsheetTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void SpreadsheetTableModel::appendRecord(const QStringList &texts, int count)
{
    const int row = m_table->rowCount();
    beginInsertRows({}, row, row);
    m_table->appendRecord(texts, count);
    endInsertRows();
}
