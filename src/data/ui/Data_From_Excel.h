#pragma once

#include "ui_Data_From_Excel.h"

#include <QDialog>

class SpreadsheetTableModel;

// The spreadsheet data table: shows and edits the design's spreadsheet records
// (SpreadsheetTable::live()), the data source of elements bound to spreadsheet columns.
class Data_From_Excel : public QDialog
{
    Q_OBJECT

public:
    explicit Data_From_Excel(QWidget *parent = nullptr);
    // The one data table (Data_From_Excel_Window), made on first use.
    static Data_From_Excel *defaultInstance();

    Ui::Data_From_Excel ui;
    SpreadsheetTableModel *ListData = nullptr;

    // Shows the records; 1 after OK.
    int Open_Wnd();
    void OK_Click();
    // Appends one record from the texts of k columns.
    void Create_List_By_Array(const QStringList &texts, int count);
    // The records were replaced: the table reads them again.
    void reload();
};

// The title of the data table's row-number column.
QString rowNumberColumnTitle();
