#pragma once

#include "ui_BatchWizard.h"

#include <QDialog>

#include <functional>

class Load_Num_Info;
class PleaseWaitSheet;
class SeriesListModel;
class Update_Ex_Num;

// The data-series manager: the list of series, and the values of the series in work, with
// the buttons that create, edit, delete, import, generate and export series.
class BatchWizard : public QDialog
{
    Q_OBJECT

public:
    explicit BatchWizard(QWidget *parent = nullptr);
    ~BatchWizard() override;

    // The one manager, made on first use (BatchWizard_Window).
    static BatchWizard *defaultInstance();

    Ui::BatchWizard ui;
    SeriesListModel *ListData = nullptr;         // the series names
    SeriesListModel *ListData_value = nullptr;   // the values of the series in work
    PleaseWaitSheet *plz_wait_Window = nullptr;
    Load_Num_Info *Load_Number_Window = nullptr;
    Update_Ex_Num *Update_Value_Wnd = nullptr;

    // Opens the manager on its list screen; returns when it closes.
    int Open_Wnd();
    // Reloads the series list from the data-series folder.
    void Fill_List();
    // Appends a value (trimmed; nothing when empty) to the value list.
    void Create_Value_List(const QString &text);
    // Appends many values at once (each trimmed; empty ones left out), updating the count once.
    // After "Yes" to the replace-or-add prompt the first values to arrive replace the list.
    void addValues(const QStringList &texts);
    void Create_Avail_List(const QString &name);
    QString Get_Value_Text(int row) const;
    QString Get_List_Name_Text(int row) const;

    // list screen
    void AddNew_Btn_Clicked();
    void Update_Btn_Clicked();
    void Delete_List_Btn_Clicked();
    void Import_Btn_Clicked();
    void CreateSeries_Btn_Clicked();
    // value screen
    void Import_Value_Btn_Clicked();
    void Series_Value_Btn_Clicked();
    void Delete_Rows_Btn_Clicked();
    void Export_Value_Btn_Clicked();
    void Save_Btn_Clicked();
    void Back_Btn_Clicked();

    void On_Update();
    void doubleClickInTable(QTableView *table);

    // Whether the value screen holds values that differ from those last opened or saved.
    bool hasUnsavedValues() const;

    void Show_hide_first_screen(bool hide);
    void Show_hide_Last_screen(bool hide);
    void Update_batch_List_Count();
    void Update_Value_List_Count();
    void Mark_List_New_Selection(int row);
    void Mark_List_New_Selection_Value(int row);
    void Replace_Value(int row, const QString &value);

protected:
    // Escape and the window's close box: asked like the Close button.
    void reject() override;

private:
    // Saves the values on screen; false when nothing was saved (refused, failed or declined).
    bool saveValues();
    // Before unsaved values would be left: asks to save, discard or stay ("Yes", "No",
    // "Cancel"); true when the values may go.
    bool offerToSaveValues(const QString &question);
    void markValuesSaved();
    bool Batch_List_Selection_Validation();
    QList<int> selectedRows(QTableView *table) const;
    // The replace-or-add prompt before values come in; false when the user cancelled. The
    // list stays as it is until values arrive: a cancelled source changes nothing.
    bool askReplaceOrAdd();
    // Runs a value source (generator, import wizard) after the prompt; "Yes" holds only
    // while it runs.
    void runValueSource(const std::function<void()> &source);
    void takeValues(QStringList values);
    bool writeExport(const QString &path, bool workbook, QString *error) const;

    bool m_editingValues = false;   // the value screen is shown
    bool m_replaceOnArrival = false;   // the next values replace the list ("Yes" was answered)
    QString m_savedName;
    QStringList m_savedValues;
};
