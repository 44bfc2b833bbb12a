#include "data/ui/DataSourceServices.h"

#include "data/DataBinding.h"
#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "data/ui/SpreadsheetTableModel.h"
#include "data/ui/View_Data_Series.h"
#include "document/DocumentGlobals.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/Long_SMS_Dlg.h"
#include "dialogs/ui/MessageBoxes.h"

#include <QComboBox>
#include <QFileInfo>

QString DataSourceServices::Get_First_Value_Of_Dataset(const QString &name)
{
    return DataBinding::Get_First_Value_Of_Dataset(name);
}

QString DataSourceServices::Get_First_Value_Of_Excel_Binding(int column)
{
    return DataBinding::Get_First_Value_Of_Excel_Binding(column);
}

void DataSourceServices::Fill_Data_Set_File_Name_In_Combo(QComboBox *combo)
{
    if (!combo)
        return;
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItems(DataSeries::Get_datasheet_File_Name_Array());
}

void DataSourceServices::Fill_Excel_Col_Name_In_Combo(QComboBox *combo)
{
    if (!combo)
        return;
    combo->setCurrentIndex(-1);
    combo->clear();
    QStringList titles = SpreadsheetTable::live().columnTitles();
    if (!titles.isEmpty())
        titles.first() = SpreadsheetTableModel::rowNumberTitle();   // an older design may hold another title
    combo->addItems(titles);
}

void DataSourceServices::Add_Excel_Col_Name_In_Combo(QComboBox *combo)
{
    if (combo && combo->count() == 2)
        combo->addItem(QStringLiteral("Excel"));
}

void DataSourceServices::Remove_Excel_Col_Name_In_Combo(QComboBox *combo)
{
    if (!combo || combo->count() != 3)
        return;
    const int index = combo->findText(QStringLiteral("Excel"));
    if (index >= 0)
        combo->removeItem(index);
}

bool DataSourceServices::spreadsheetSourceOffered()
{
    return !SpreadsheetTable::live().isEmpty();
}

void DataSourceServices::offerSpreadsheetSource(QComboBox *combo)
{
    if (spreadsheetSourceOffered())
        Add_Excel_Col_Name_In_Combo(combo);
    else
        Remove_Excel_Col_Name_In_Combo(combo);
}

void DataSourceServices::View_batch_Series_Button(QComboBox *dataSourceType, QComboBox *batchSeries)
{
    if (!dataSourceType)
        return;
    const QString source = dataSourceType->currentText();
    if (source == QLatin1String("Manual"))
        return;
    if (source == QLatin1String("Series")) {
        const QString name = batchSeries ? Trim_Str(batchSeries->currentText()) : QString();
        if (name.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please select the series."));
            return;
        }
        View_Data_Series *viewer = View_Data_Series::defaultInstance();
        viewer->file_name = name;
        viewer->Open_Wnd();
        return;
    }
    if (const auto &open = openSpreadsheetRecords())
        open();
}

void DataSourceServices::Data_Source_Help_Button()
{
    Cutom_Msg_Title = QStringLiteral("Batch Processing Settings Help :");
    Cutom_Msg_Val = QStringLiteral(
        "Select Data Source as 'Manual' to enter value manually, Select 'Batch Processing Series' to fetch the value "
        "from the list of existing Batch Processing Series.");
    Long_SMS_Dlg *box = Long_SMS_Dlg::defaultInstance();
    box->title_val.clear();
    Long_SMS_Dlg::defaultInstance()->Open_Long_sms_Dialog();
}

std::function<void()> &DataSourceServices::openSpreadsheetRecords()
{
    static std::function<void()> open;
    return open;
}

int DataSourceServices::Check_And_Validate_File_Path(const QString &path)
{
    const QString trimmed = path.trimmed();
    if (!trimmed.isEmpty() && QFileInfo::exists(trimmed))
        return 0;
    Show_MessageBox(QStringLiteral("Please select valid file path."));
    return 1;
}
