#pragma once

#include "data/DesignRecordBudget.h"
#include "ui_Import_Excel.h"

#include <QDialog>

class ColumnChoiceModel;
class PleaseWaitSheet;

// The spreadsheet column chooser: opens a workbook, offers its worksheets and their columns;
// on OK the ticked columns go to the manager's value list (open_mode "D") or become the
// design's spreadsheet data table (any other mode).
class Import_Excel : public QDialog
{
    Q_OBJECT

public:
    explicit Import_Excel(QWidget *parent = nullptr);
    static Import_Excel *defaultInstance();

    Ui::Import_Excel ui;
    ColumnChoiceModel *ListData_xl = nullptr;
    PleaseWaitSheet *plz_wait_Window = nullptr;
    QString open_mode = QStringLiteral("D");

    // Loads the workbook and runs the chooser; an unreadable workbook is reported and the
    // chooser does not open (returns -1). A data table is taken only when its records, their
    // titles and the workbook's path fit `recordRoom`, what the open design leaves them
    // (DesignFile::roomForRecords()), so that the design still saves; without a room none is.
    int Open_excel_Wnd(const QString &path, const DesignRecordBudget::Cost &recordRoom = {});
    void OKPressed();
    void CancelPressed();
    void Select_ALL_Pressed();
    void Clear_All_Pressed();
    void sheetChosen(int index);

private:
    bool m_loading = false;
    QString m_path;
    DesignRecordBudget::Cost m_recordRoom;
};
