#pragma once

#include "ui_Import_Wizard.h"

#include <QDialog>

class PleaseWaitSheet;

// The series import wizard: values from a spreadsheet, a text file, typed text or a folder of
// pictures, written as a new series or handed to the manager's value list.
class Import_Wizard : public QDialog
{
    Q_OBJECT

public:
    explicit Import_Wizard(QWidget *parent = nullptr);
    static Import_Wizard *defaultInstance();

    Ui::Import_Wizard ui;
    int import_option = 0;        // 0 spreadsheet, 1 text file, 2 typed text, 3 picture folder
    int file_name_required = 0;   // 1: write a new series file; else fill the manager's values
    int file_name_Insert = 0;     // 1: refill the manager's series list when done
    PleaseWaitSheet *plz_wait_Window = nullptr;

    int Open_Wnd();

    void Excel_RD_Pressed();
    void Text_RD_Pressed();
    void Manual_RD_Pressed();
    void Image_RD_Pressed();
    void Enable_Disable_Excel_Option(bool enable);
    void Enable_Disable_Text_Option(bool enable);
    void Enable_Disable_Manual_Option(bool enable);
    void Enable_Disable_Image_Option(bool enable);
    void Browse_Excel_Pressed();
    void Browse_Text_Pressed();
    void Browse_Image_Pressed();
    void OKPressed();
    void CancelPressed();

    int Create_And_Save_Text_Data_Sheet(const QString &path);
    int Create_And_Save_Manual_Paste_data_Sheet();
    int Create_And_Save_Image_data_Sheet(const QString &folder);

private:
    void chooseSource(int option);
    bool validPath(const QString &path);
    // Writes or hands on the values of a source; 1 when done.
    int finishSource(const QString &typedName, const QStringList &values);
};
