#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// A one-column table of texts (series names or the values of one series) for a QTableView.
// Appending inserts rows without resetting the view.
class SeriesListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SeriesListModel(const QString &title, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const QStringList &values() const { return m_values; }
    QString value(int row) const { return m_values.value(row); }
    void setValues(const QStringList &values);
    void append(const QStringList &values);
    void replace(int row, const QString &value);
    // Removes the rows (any order, duplicates allowed).
    void removeRowList(QList<int> rows);

private:
    QString m_title;
    QStringList m_values;
};
