#pragma once

#include <QString>

#include <functional>

class QComboBox;

// What the data-source controls of the property panel and the profile dialogs ask of the
// binding: the lists of their combo boxes, the first value shown while binding, the button
// that shows the bound data and the help text. Main thread only.
class DataSourceServices
{
public:
    static QString Get_First_Value_Of_Dataset(const QString &name);
    static QString Get_First_Value_Of_Excel_Binding(int column);

    // Refills the combo with the series names in name-list order (nothing selected).
    static void Fill_Data_Set_File_Name_In_Combo(QComboBox *combo);
    // Refills the combo with the spreadsheet column titles: item n is column n.
    static void Fill_Excel_Col_Name_In_Combo(QComboBox *combo);
    // Adds "Excel" to a data-source combo of exactly two items / removes it from one of three.
    static void Add_Excel_Col_Name_In_Combo(QComboBox *combo);
    static void Remove_Excel_Col_Name_In_Combo(QComboBox *combo);
    // Whether the data-source lists offer "Excel": while the design holds spreadsheet records,
    // whatever the binding flag says. The panel, the profile dialogs and the barcode designer
    // all go by this.
    static bool spreadsheetSourceOffered();
    // Adds or removes "Excel" in a data-source combo by spreadsheetSourceOffered.
    static void offerSpreadsheetSource(QComboBox *combo);

    // The view button: "Series" shows the chosen series in the viewer ("Please select the
    // series." without one); "Excel" opens the spreadsheet records window; "Manual" nothing.
    static void View_batch_Series_Button(QComboBox *dataSourceType, QComboBox *batchSeries);
    // The help box of the data-source controls.
    static void Data_Source_Help_Button();

    // 0 when `path` names a file that exists; else "Please select valid file path." and 1.
    static int Check_And_Validate_File_Path(const QString &path);

    // Opens the spreadsheet records window; set by the window's owner.
    static std::function<void()> &openSpreadsheetRecords();
};
