#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The column tables of the spreadsheet dialogs: one row per worksheet column with "State"
// (a check box), "Extension" (the column's name) and, when shown, "Header" (the editable name
// of the series the column becomes).
class ColumnChoiceModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Row
    {
        bool State = false;
        QString Extension;
        QString Header;
    };

    ColumnChoiceModel(bool withHeader, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const QList<Row> &rows() const { return m_rows; }
    // One unticked row per name (trimmed), the header cell holding the name as read.
    void setNames(const QStringList &names);
    void setAllStates(bool ticked);
    void setState(int row, bool ticked);
    int Get_Selection_State(int row) const;
    int Check_For_One_Extension_Selection() const;
    QList<int> tickedColumns() const;

private:
    bool m_withHeader;
    QList<Row> m_rows;
};
