#pragma once

#include "document/LMNGraphic.h"
#include "profile/ProfileFields.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ProfileCommands;
class User_Profile_Class;

// The controls of one profile row, found in the dialog's form by their names.
struct ProfileRow
{
    QLineEdit *value = nullptr;        // <row>_value (rows 1 to 10)
    QComboBox *kind = nullptr;         // <row>_ds_combo: typed, series, "Excel"
    QComboBox *choice = nullptr;       // <row>_ser_col_cb: series name or column
    QPushButton *view = nullptr;       // <row>_view_btn
    QLineEdit *label = nullptr;        // <row>_label: caption text (dialog state only)
    QCheckBox *labelChk = nullptr;     // <row>_label_chk (per-side dialog only)
    QCheckBox *valueChk = nullptr;     // <row>_value_chk (per-side dialog only)
    QComboBox *side = nullptr;         // <row>_side_combo (wizards' dialog only)
};

// What the two profile dialogs share: the eleven rows with their kind and choice rules, the
// spreadsheet and photo buttons, validation, writing the side's profile record, OK, Cancel,
// Reset and Preview. Main thread only; every modal run, chooser and message goes through
// ModalSeam.
class ProfileDialogBase : public QDialog
{
    Q_OBJECT

public:
    explicit ProfileDialogBase(QWidget *parent = nullptr);

    // The side the dialog serves: "F", "B" or "" (front, then back).
    QString load_side;
    // The commands that opened the dialog: the records it writes and the editor it reads.
    ProfileCommands *commands = nullptr;
    QString checked_field_name;
    GraphicList Graphics_array;
    std::array<ProfileRow, ProfileFields::Count> rows;
    QLineEdit *excel_path_field = nullptr;
    QLineEdit *image_path_val = nullptr;
    QLabel *user_picture = nullptr;
    QLabel *Preivew_picture = nullptr;
    QPushButton *browse_pic_btn = nullptr;
    QPushButton *clear_pic_btn = nullptr;

    // Runs the dialog; with `load` it first loads the side in work's profile elements.
    int Open_Wnd(bool load);

    virtual void Reset_all_Ctrl();
    bool Check_Validation();
    bool Fill_Front_User_profile_value_in_Variable();
    bool Fill_Back_User_profile_value_in_Variable();
    bool Fill_TEMP_User_profile_value_in_Variable();
    void Add_Excel_in_Data_Source_Combo();
    void Remove_Excel_in_Data_Source_Combo();
    // The rows offer "Excel" as the panel does (DataSourceServices::spreadsheetSourceOffered).
    void offerSpreadsheetSourceInRows();
    // A design was opened: every profile dialog made so far offers "Excel" in its rows exactly
    // when the design carries spreadsheet records (dialogs made later look for themselves).
    static void offerSpreadsheetColumns();
    void View_Data_Series_By_Name(QComboBox *choice);
    void Set_User_Image(const QString &path);
    virtual void Create_and_Set_Preview_picture();

    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();
    void Reset_Btn_Clicked();
    void Help_Btn_Clicked();
    void Preview_Btn_Clicked();
    void Browse_excel_Btn_Clicked();
    void View_Excel_Btn_Clicked();
    void Batch_Series_Btn_Clicked();
    void Browse_image_Btn_Clicked();
    void Clear_image_Btn_Clicked();
    // A row's view-series button.
    void viewSeriesClicked(int row);

    // The kind and choice rules of a row (also run when loading).
    void kindChanged(int row);
    void choiceChanged(int row);

protected:
    // Finds the rows and buttons in the form made by setupUi and connects them.
    void bindControls();
    // The dialog's own part of opening (titles, pictures, side lists).
    virtual void opened(bool load) = 0;
    // A loaded row: the per-side dialog ticks its value box.
    virtual void rowLoaded(int) {}
    void loadSideElements();
    QImage renderGraphics() const;
    void showPicture(QLabel *label, const QImage &image) const;

private:
    bool writeRecord(User_Profile_Class &record, bool commit);
    void setKind(int row, int kind);
    QString rowValue(int row) const;
    void setRowValue(int row, const QString &value);

    // The workbook the spreadsheet table was last built from in this dialog.
    QString m_tableWorkbook;
};
