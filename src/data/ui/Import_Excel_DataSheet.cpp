#include "data/ui/Import_Excel_DataSheet.h"

#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "data/SheetImport.h"
#include "data/ui/ColumnChoiceModel.h"
#include "data/ui/SeriesDialogSupport.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/DocumentGlobals.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/Long_SMS_Dlg.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "dialogs/ui/PleaseWaitSheet.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QPointer>
#include <QSet>

namespace {

const QString kCorrupt = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
const QString kNoData = QStringLiteral("There is no data in selected sheet.\nPlease select another Sheet/Excel File.\n"
                                       "Either file is corrupted or selected file contains invalid characters.");

// Asks through the long-message box; 1 for Yes (which also takes its apply-to-all box).
int askLong(const QString &heading, const QString &text, bool applyToAll)
{
    Long_SMS_Dlg *box = Long_SMS_Dlg::defaultInstance();
    box->title_val = heading;
    box->msg_val_str = text;
    box->apply_chk_show = applyToAll ? 1 : 0;
    const int answer = box->Open_Long_sms_Dialog();
    box->title_val.clear();
    box->apply_chk_show = 0;
    return answer;
}
} // namespace

Import_Excel_DataSheet::Import_Excel_DataSheet(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    plz_wait_Window = new PleaseWaitSheet(this);
    ListData_xl = new ColumnChoiceModel(true, this);
    ui.ColList->setModel(ListData_xl);
    ui.ColList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ui.ColList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::SelectedClicked);
    matrix_fill_type = new QButtonGroup(this);
    matrix_fill_type->addButton(ui.fill_new_rd, 0);
    matrix_fill_type->addButton(ui.fill_replace_rd, 1);
    matrix_fill_type->addButton(ui.fill_append_rd, 2);
    auto *ways = new QButtonGroup(this);
    ways->addButton(ui.Each_col_RD);
    ways->addButton(ui.Fill_col_RD);
    connect(matrix_fill_type, &QButtonGroup::idClicked, this, &Import_Excel_DataSheet::Fill_Type_CellClick);
    connect(ui.Each_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Each_Col_RD_Click);
    connect(ui.Fill_col_RD, &QRadioButton::clicked, this, &Import_Excel_DataSheet::Fill_Col_RD_Click);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Import_Excel_DataSheet::OKPressed);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Import_Excel_DataSheet::CancelPressed);
    connect(ui.select_all_btn, &QPushButton::clicked, this, &Import_Excel_DataSheet::Select_ALL_Pressed);
    connect(ui.clear_all_btn, &QPushButton::clicked, this, &Import_Excel_DataSheet::Clear_All_Pressed);
    connect(ui.Sheet_ComboBox, &QComboBox::currentIndexChanged, this, &Import_Excel_DataSheet::sheetChosen);
}

Import_Excel_DataSheet *Import_Excel_DataSheet::defaultInstance()
{
    return sharedWindow<Import_Excel_DataSheet>(sharedWindowParent());
}

int Import_Excel_DataSheet::Open_excel_Wnd(const QString &path)
{
    ui.fill_new_rd->setChecked(true);
    fill_col_option = 0;
    Each_Col_RD_Click();
    Fill_Type_CellClick(0);
    Excel_Sheet_Number = 1;
    ui.file_path->setText(path);
    ui.contains_header->setChecked(true);
    ListData_xl->setNames({});
    m_loading = true;
    ui.Sheet_ComboBox->clear();
    ui.List_ComboBox->clear();
    m_loading = false;
    ui.list_name->clear();

    m_loading = true;
    const bool loaded = SeriesDialogs::loadWorkbook(plz_wait_Window, path, ui.Sheet_ComboBox);
    m_loading = false;
    if (!loaded)
        return -1;
    m_loading = true;
    ui.List_ComboBox->addItems(DataSeries::Get_datasheet_File_Name_Array());
    m_loading = false;
    ui.Sheet_ComboBox->setCurrentIndex(0);
    sheetChosen(0);

    setResult(0);
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    return result;
}

void Import_Excel_DataSheet::sheetChosen(int index)
{
    if (m_loading || index < 0)
        return;
    const QStringList names = SeriesDialogs::worksheetColumnNames(SeriesDialogs::chosenWorksheet(ui.Sheet_ComboBox, index));
    if (!names.isEmpty())
        ListData_xl->setNames(names);
}

void Import_Excel_DataSheet::Each_Col_RD_Click()
{
    ui.Each_col_RD->setChecked(true);
    ui.Fill_col_RD->setChecked(false);
    SetObjEnabled(ui.fill_box, 0);
}

void Import_Excel_DataSheet::Fill_Col_RD_Click()
{
    ui.Each_col_RD->setChecked(false);
    ui.Fill_col_RD->setChecked(true);
    SetObjEnabled(ui.fill_box, 1);
}

void Import_Excel_DataSheet::Fill_Type_CellClick(int option)
{
    fill_col_option = option;
    const bool existing = option == 1 || option == 2;
    ui.list_name->setVisible(!existing);
    ui.List_ComboBox->setVisible(existing);
    ui.ColList->setColumnHidden(2, existing);
}

void Import_Excel_DataSheet::Select_ALL_Pressed()
{
    ListData_xl->setAllStates(true);
}

void Import_Excel_DataSheet::Clear_All_Pressed()
{
    ListData_xl->setAllStates(false);
}

void Import_Excel_DataSheet::CancelPressed()
{
    done(0);
}

void Import_Excel_DataSheet::OKPressed()
{
    if (ListData_xl->rowCount() == 0) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return;
    }
    if (!ListData_xl->Check_For_One_Extension_Selection()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return;
    }
    Excel_Sheet_Number = SheetImport::sheetNumberOf(SeriesDialogs::chosenWorksheet(ui.Sheet_ComboBox, ui.Sheet_ComboBox->currentIndex()));
    if (ui.Each_col_RD->isChecked()) {
        if (Create_file_For_Col_Func() == 1)
            done(1);
        return;
    }
    if (fill_col_option != 0 && Trim_Str(ui.List_ComboBox->currentText()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select list name."));
        return;
    }
    if (fill_col_option == 0 && Trim_Str(ui.list_name->text()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter list name."));
        return;
    }
    if (Insert_file_Func() == 1)
        done(1);
}

int Import_Excel_DataSheet::Create_file_For_Col_Func()
{
    // An apply-to-all answer holds within this run only.
    Msg_Apply_All_Chk = 0;
    const QList<ColumnChoiceModel::Row> &table = ListData_xl->rows();
    const QList<int> ticked = ListData_xl->tickedColumns();

    // Every name is checked before anything is read or written.
    QStringList notWritten;
    QList<QPair<int, QString>> targets;
    QSet<QString> seen, duplicates;
    for (int column : ticked) {
        const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(table.at(column).Header));
        QString reason;
        if (!DataSeries::isUsableName(name, &reason)) {
            notWritten.append(QStringLiteral("%1: %2").arg(table.at(column).Extension, reason));
            continue;
        }
        if (seen.contains(name))
            duplicates.insert(name);
        seen.insert(name);
        targets.append({column, name});
    }
    if (!duplicates.isEmpty()) {
        QStringList names = duplicates.values();
        names.sort();
        Show_MessageBox(QStringLiteral("Two ticked columns would write the same series: %1\nPlease give each column its "
                                       "own Header.")
                            .arg(names.join(QStringLiteral(", "))));
        return 0;
    }

    QList<QStringList> rows;
    if (!SeriesDialogs::readWorksheetRows(plz_wait_Window, &rows, kNoData))
        return 0;
    const bool header = ui.contains_header->isChecked();
    const bool applyToAllBox = table.size() != 1;
    for (const auto &[column, name] : targets) {
        if (DataSeries::exists(name)) {
            if (SeriesDialogs::seriesInUse(name)) {
                if (Msg_Apply_All_Chk != 1)
                    askLong(QStringLiteral("Message :"),
                            name + QStringLiteral("\nBatch processing Series name is already in use with another "
                                                  "sequence. Please change Batch Processing Series Name."),
                            applyToAllBox);
                notWritten.append(QStringLiteral("%1: the series is in use").arg(name));
                continue;
            }
            if (Msg_Apply_All_Chk != 1
                && askLong(QStringLiteral("Batch Processing Series already exists :"),
                           name + QStringLiteral("\nBatch Processing Series already exists. Do you want to replace it?"),
                           applyToAllBox) != 1) {
                notWritten.append(QStringLiteral("%1: not replaced").arg(name));
                continue;
            }
        }
        QString error;
        if (!DataSeries::writeValues(name, SheetImport::columnValues(rows, column, header),
                                     DataSeries::WriteMode::Replace, &error))
            notWritten.append(QStringLiteral("%1: %2").arg(name, error));
    }
    if (file_name_Insert == 1)
        SeriesDialogs::refillManagerList();
    if (!notWritten.isEmpty())
        Show_Warning_MessageBox(QStringLiteral("These columns were not written as series:\n") + notWritten.join(QLatin1Char('\n')));
    return 1;
}

int Import_Excel_DataSheet::Insert_file_Func()
{
    const QString typed = fill_col_option == 0 ? ui.list_name->text() : ui.List_ComboBox->currentText();
    const QString name = SeriesDialogs::usableSeriesName(typed);
    if (name.isEmpty())
        return 0;
    // The sheet is read first: nothing is replaced or created from a sheet without rows.
    QList<QStringList> rows;
    if (!SeriesDialogs::readWorksheetRows(plz_wait_Window, &rows, kCorrupt))
        return 0;
    const QStringList values = SheetImport::rowWiseValues(rows, ListData_xl->tickedColumns(), ui.contains_header->isChecked());
    if (values.isEmpty()) {
        Show_Warning_MessageBox(kCorrupt);
        return 0;
    }
    QString error;
    bool written = false;
    if (fill_col_option == 0)
        written = SeriesDialogs::writeNewSeries(name, values);
    else
        written = DataSeries::writeValues(name, values,
                                          fill_col_option == 2 ? DataSeries::WriteMode::Append
                                                               : DataSeries::WriteMode::Replace,
                                          &error);
    if (!written) {
        if (fill_col_option != 0)
            Show_Warning_MessageBox(QStringLiteral("Error in file accessing.\n") + error);
        return 0;
    }
    if (file_name_Insert == 1)
        SeriesDialogs::refillManagerList();
    return 1;
}
