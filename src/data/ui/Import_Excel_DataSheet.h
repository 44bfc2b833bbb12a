#pragma once

#include "ui_Import_Excel_DataSheet.h"

#include <QDialog>

class ColumnChoiceModel;
class PleaseWaitSheet;
class QButtonGroup;

// Spreadsheet columns to series: one series per ticked column (named by its editable
// "Header"), or all ticked columns row by row into one series (new, replaced or extended).
class Import_Excel_DataSheet : public QDialog
{
    Q_OBJECT

public:
    explicit Import_Excel_DataSheet(QWidget *parent = nullptr);
    static Import_Excel_DataSheet *defaultInstance();

    Ui::Import_Excel_DataSheet ui;
    ColumnChoiceModel *ListData_xl = nullptr;
    PleaseWaitSheet *plz_wait_Window = nullptr;
    QButtonGroup *matrix_fill_type = nullptr;
    int fill_col_option = 0;   // 0 new series, 1 replace a series, 2 append to a series
    int file_name_Insert = 0;  // 1: refill the manager's series list when done

    // Loads the workbook and runs the dialog; an unreadable workbook is reported and the
    // dialog does not open (returns -1).
    int Open_excel_Wnd(const QString &path);
    void OKPressed();
    void CancelPressed();
    void Each_Col_RD_Click();
    void Fill_Col_RD_Click();
    void Fill_Type_CellClick(int option);
    void Select_ALL_Pressed();
    void Clear_All_Pressed();
    void sheetChosen(int index);

    // The two ways of writing; 1 when the dialog may close.
    int Create_file_For_Col_Func();
    int Insert_file_Func();

private:
    bool m_loading = false;
};
