#include "data/DataBinding.h"

#include "data/BoundBarcode.h"
#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "document/LMNImage.h"
#include "document/StringUtilities.h"

#include <algorithm>

bool DataBinding::takesPart(const LMNGraphic &graphic)
{
    const GraphicKind kind = graphic.kind();
    return kind == GraphicKind::Text || kind == GraphicKind::Image || kind == GraphicKind::Barcode;
}

bool DataBinding::sideUses(const GraphicList &side, int sourceType)
{
    return std::any_of(side.cbegin(), side.cend(), [sourceType](const GraphicPtr &graphic) {
        return graphic && takesPart(*graphic) && graphic->data_source_type == sourceType;
    });
}

void DataBinding::Check_Series_Or_Excel_Use_or_not(const GraphicList &front, const GraphicList &back, bool twoSided)
{
    Check_Data_Sheet_Value_Use_or_Not(front, back, twoSided);
    Check_Excel_Binding_Value_Use_or_Not(front, back, twoSided);
    Get_total_Card_count();
}

void DataBinding::Check_Data_Sheet_Value_Use_or_Not(const GraphicList &front, const GraphicList &back, bool twoSided)
{
    data_table_names.clear();
    data_table_content.clear();
    data_table_refusals.clear();
    Use_Data_Sheet_Values = Check_Front_Side_Dataset_Is_Used(front) || (twoSided && Check_Back_Side_Dataset_Is_Used(back));
    if (!Use_Data_Sheet_Values)
        return;
    Create_Dataset_binding_table(front, back, twoSided);
    Data_table_rows = Calculate_data_table_rows();
    if (Data_table_rows == 0)
        Use_Data_Sheet_Values = false;
}

void DataBinding::Check_Excel_Binding_Value_Use_or_Not(const GraphicList &front, const GraphicList &back, bool twoSided)
{
    Use_Excel_Binding_Values =
        Check_Front_Side_Excel_Binding_Is_Used(front) || (twoSided && Check_Back_Side_Excel_Binding_Is_Used(back));
    if (!Use_Excel_Binding_Values)
        return;
    Excel_table_rows = SpreadsheetTable::live().rowCount();
    if (Excel_table_rows == 0)
        Use_Excel_Binding_Values = false;
}

void DataBinding::Get_total_Card_count()
{
    Data_table_rows = Use_Data_Sheet_Values ? Calculate_data_table_rows() : 0;
    Excel_table_rows = Use_Excel_Binding_Values ? SpreadsheetTable::live().rowCount() : 0;
    Total_Batch_Excel_Card = std::max(Data_table_rows, Excel_table_rows);
}

void DataBinding::Create_Dataset_binding_table(const GraphicList &front, const GraphicList &back, bool twoSided)
{
    data_table_names.clear();
    data_table_content.clear();
    data_table_refusals.clear();
    if (!twoSided && front.isEmpty())
        return;
    data_table_names = DataSeries::Get_datasheet_File_Name_Array();
    data_table_content = QList<QStringList>(data_table_names.size());
    auto addSide = [](const GraphicList &side) {
        for (const GraphicPtr &graphic : side) {
            if (!graphic || !takesPart(*graphic) || graphic->data_source_type != 1)
                continue;
            // The stored index goes stale when series are added or removed: the name decides.
            const int index = seriesIndexFor(*graphic, data_table_names);
            if (index < 0)
                continue;
            graphic->batch_list_index = index;
            Add_dataset_col_in_binding_table(graphic->batch_list_name, index);
        }
    };
    addSide(front);
    if (twoSided)
        addSide(back);
}

void DataBinding::Add_dataset_col_in_binding_table(const QString &name, int index)
{
    if (index < 0 || index >= data_table_content.size() || !DataSeries::isUsableName(name) || !DataSeries::exists(name))
        return;
    if (!data_table_content.at(index).isEmpty())
        return; // two elements bound to one series share its entry
    QString refusal;
    data_table_content[index] = DataSeries::readAllValues(name, &refusal);
    if (!refusal.isEmpty())
        data_table_refusals.insert(name, refusal);
}

int DataBinding::Calculate_data_table_rows()
{
    qsizetype rows = 0;
    for (const QStringList &entry : std::as_const(data_table_content))
        rows = std::max(rows, entry.size());
    return int(rows);
}

int DataBinding::seriesIndexFor(const LMNGraphic &graphic, const QStringList &names)
{
    if (!DataSeries::isUsableName(graphic.batch_list_name))
        return -1;
    return int(names.indexOf(graphic.batch_list_name));
}

QString DataBinding::Get_sel_row_col_value_of_dataset(int record, int column, const QList<QStringList> &table)
{
    if (column < 0 || column >= table.size())
        return {};
    const QStringList &entry = table.at(column);
    if (record < 0 || record >= entry.size())
        return {};
    return entry.at(record);
}

QString DataBinding::Get_sel_row_col_value_of_Excel(int record, int column, const SpreadsheetTable &table, int rows)
{
    if (record < 0 || record >= rows)
        return {};
    return table.value(record, column);
}

bool DataBinding::recordValue(const LMNGraphic &graphic, int record, const CardSnapshot &snapshot, QString *value)
{
    if (!takesPart(graphic))
        return false;
    QString found;
    if (graphic.data_source_type == 1 && snapshot.useSeries) {
        found = Get_sel_row_col_value_of_dataset(record, seriesIndexFor(graphic, snapshot.seriesNames),
                                                 snapshot.seriesValues);
    } else if (graphic.data_source_type == 2 && snapshot.useSpreadsheet) {
        found = Get_sel_row_col_value_of_Excel(record, graphic.excel_col_indx, snapshot.table, snapshot.spreadsheetRows);
    } else {
        return false;
    }
    *value = Trim_Str(found);
    return true;
}

bool DataBinding::Assign_Batch_Values_To_Control(GraphicList &elements, int record, const CardSnapshot &snapshot,
                                                 bool hideUnmade, QString *failure, QStringList *missingPictures,
                                                 const PictureLoader &loadPicture)
{
    for (const GraphicPtr &graphic : elements) {
        QString value;
        if (!graphic || !recordValue(*graphic, record, snapshot, &value))
            continue;
        switch (graphic->kind()) {
        case GraphicKind::Text:
            graphic->setText(value);
            break;
        case GraphicKind::Image: {
            auto &image = static_cast<LMNImage &>(*graphic);
            if (loadPicture) {
                // A fresh clone: nothing derived from an earlier picture to forget.
                image._file_path = value;
                if (value.isEmpty())
                    image._image = QImage();
                else
                    loadPicture(image, value);
            } else {
                image.setFilePath(value);
            }
            if (!value.isEmpty() && image._image.isNull() && missingPictures)
                missingPictures->append(value);
            break;
        }
        case GraphicKind::Barcode: {
            graphic->Text_Value = value;
            if (value.isEmpty()) {
                graphic->Set_Barcode_image(QImage());
                if (hideUnmade)
                    graphic->Set_Ctrl_Is_Visible(0);
                break;
            }
            QString reason;
            const QImage picture = BoundBarcode::picture(*graphic, value, &reason);
            if (picture.isNull()) {
                if (failure)
                    *failure = reason;
                return false;
            }
            graphic->Set_Barcode_image(picture);
            break;
        }
        default:
            break;
        }
    }
    return true;
}

void DataBinding::copyBindingState(CardSnapshot &snapshot)
{
    snapshot.useSeries = Use_Data_Sheet_Values;
    snapshot.useSpreadsheet = Use_Excel_Binding_Values;
    snapshot.seriesRows = Use_Data_Sheet_Values ? Data_table_rows : 0;
    snapshot.spreadsheetRows = Use_Excel_Binding_Values ? Excel_table_rows : 0;
    snapshot.seriesNames = data_table_names;
    snapshot.seriesValues = data_table_content;
    snapshot.seriesRefusals = data_table_refusals;
    snapshot.table = SpreadsheetTable::live();
}

QString DataBinding::Get_First_Value_Of_Dataset(const QString &name)
{
    return DataSeries::readFirstValue(name);
}

QString DataBinding::Get_First_Value_Of_Excel_Binding(int column)
{
    return SpreadsheetTable::live().value(0, column);
}
