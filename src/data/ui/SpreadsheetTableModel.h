#pragma once

#include <QAbstractTableModel>

class SpreadsheetTable;

// Shows and edits a spreadsheet records table (the live one of the design): column 0 is the
// row number ("Extension"), column c the key "Column<c>"; headers are the table's titles.
class SpreadsheetTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SpreadsheetTableModel(SpreadsheetTable *table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The table was replaced or rebuilt: views read it again.
    void reload();
    // Appends a record built from the texts of k columns.
    void appendRecord(const QStringList &texts, int count);

private:
    SpreadsheetTable *m_table;
};
