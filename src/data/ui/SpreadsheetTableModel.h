#pragma once

#include <QAbstractTableModel>

class SpreadsheetTable;

// Shows and edits a spreadsheet records table (the live one of the design): column 0 is the
// row number ("Extension"), titled "Row"; column c the key "Column<c>", titled with the
// table's title c.
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

    // The title users see over the row-number column, here and in the binding's column list.
    static QString rowNumberTitle();

    // The table was replaced or rebuilt: views read it again.
    void reload();
    // Appends a record built from the texts of k columns.
    void appendRecord(const QStringList &texts, int count);

private:
    SpreadsheetTable *m_table;
};
