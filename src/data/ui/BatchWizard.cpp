#include "data/ui/BatchWizard.h"

#include "data/DataSeries.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/SeriesDialogSupport.h"
#include "data/ui/SeriesListModel.h"
#include "data/ui/Update_Ex_Num.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/FileUtilities.h"
#include "document/MessageLog.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/SavePath.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "dialogs/ui/UiUtilities.h"
#include "data/DataGlobals.h"
#include "dialogs/ui/PleaseWaitSheet.h"

#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace {

const QString kInUseDelete = QStringLiteral("Batch Processing Series can't be delete because it is currently in use.");
const QString kInUseUpdate = QStringLiteral("Batch Processing Series can't be update because it is currently in use.");
const QString kFileError = QStringLiteral("Error in file accessing.");
const QString kCloseQuestion = QStringLiteral("Do you want to save changes before closing?");
const QString kBackQuestion = QStringLiteral("Do you want to save changes before going back to the list?");
} // namespace

BatchWizard::BatchWizard(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    ListData = new SeriesListModel(tr("Batch Processing Series"), this);
    ListData_value = new SeriesListModel(tr("Value"), this);
    ui.List->setModel(ListData);
    ui.List_value->setModel(ListData_value);
    ui.List_value->setWordWrap(false);
    ui.update_list_name->hide();
    plz_wait_Window = new PleaseWaitSheet(this);
    Load_Number_Window = new Load_Num_Info(this);
    Update_Value_Wnd = new Update_Ex_Num(this);

    connect(ui.AddNew_Btn, &QPushButton::clicked, this, &BatchWizard::AddNew_Btn_Clicked);
    connect(ui.Update_Btn, &QPushButton::clicked, this, &BatchWizard::Update_Btn_Clicked);
    connect(ui.Delete_List_Btn, &QPushButton::clicked, this, &BatchWizard::Delete_List_Btn_Clicked);
    connect(ui.Import_Btn, &QPushButton::clicked, this, &BatchWizard::Import_Btn_Clicked);
    connect(ui.CreateSeries_Btn, &QPushButton::clicked, this, &BatchWizard::CreateSeries_Btn_Clicked);
    connect(ui.Help_Btn, &QPushButton::clicked, this, [] { Open_Help_File(); });
    connect(ui.Close_Btn, &QPushButton::clicked, this, &BatchWizard::reject);
    connect(ui.Import_Value_Btn, &QPushButton::clicked, this, &BatchWizard::Import_Value_Btn_Clicked);
    connect(ui.Series_Value_Btn, &QPushButton::clicked, this, &BatchWizard::Series_Value_Btn_Clicked);
    connect(ui.Delete_Rows_Btn, &QPushButton::clicked, this, &BatchWizard::Delete_Rows_Btn_Clicked);
    connect(ui.Export_Value_Btn, &QPushButton::clicked, this, &BatchWizard::Export_Value_Btn_Clicked);
    connect(ui.Save_Btn, &QPushButton::clicked, this, &BatchWizard::Save_Btn_Clicked);
    connect(ui.Back_Btn, &QPushButton::clicked, this, &BatchWizard::Back_Btn_Clicked);
    connect(ui.Help_2_Btn, &QPushButton::clicked, this, [] { Open_Help_File(); });
    connect(ui.Close_2_Btn, &QPushButton::clicked, this, &BatchWizard::reject);
    connect(ui.List, &QTableView::doubleClicked, this, [this] { doubleClickInTable(ui.List); });
    connect(ui.List_value, &QTableView::doubleClicked, this, [this] { doubleClickInTable(ui.List_value); });
}

BatchWizard::~BatchWizard() = default;

BatchWizard *BatchWizard::defaultInstance()
{
    return sharedWindow<BatchWizard>(sharedWindowParent());
}

int BatchWizard::Open_Wnd()
{
    Check_Path_And_Create_Files();
    Show_hide_first_screen(false);
    Show_hide_Last_screen(true);
    Fill_List();
    setResult(0);
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    return result;
}

void BatchWizard::Fill_List()
{
    ListData->setValues(DataSeries::Get_datasheet_File_Name_Array());
    Update_batch_List_Count();
}

void BatchWizard::Create_Value_List(const QString &text)
{
    const QString value = Trim_Str(text);
    if (value.isEmpty())
        return;
    takeValues({value});
}

void BatchWizard::addValues(const QStringList &texts)
{
    QStringList kept;
    kept.reserve(texts.size());
    for (const QString &text : texts) {
        QString value = Trim_Str(text);
        if (!value.isEmpty())
            kept.append(std::move(value));
    }
    takeValues(std::move(kept));
}

void BatchWizard::takeValues(QStringList values)
{
    if (std::exchange(m_replaceOnArrival, false))
        ListData_value->setValues(std::move(values));
    else
        ListData_value->append(values);
    Update_Value_List_Count();
}

void BatchWizard::Create_Avail_List(const QString &name)
{
    const QString value = Trim_Str(name);
    if (value.isEmpty())
        return;
    ListData->append({value});
    Update_batch_List_Count();
}

QString BatchWizard::Get_Value_Text(int row) const
{
    return Trim_Str(ListData_value->value(row));
}

QString BatchWizard::Get_List_Name_Text(int row) const
{
    return Trim_Str(ListData->value(row));
}

void BatchWizard::Show_hide_first_screen(bool hide)
{
    ui.avl_list_box->setVisible(!hide);
    ui.btn_box1->setVisible(!hide);
    if (!hide)
        ui.update_list_name->clear();
}

void BatchWizard::Show_hide_Last_screen(bool hide)
{
    m_editingValues = !hide;
    ui.list_value_box->setVisible(!hide);
    ui.btn_box2->setVisible(!hide);
}

void BatchWizard::Update_batch_List_Count()
{
    ui.batch_list_count->setText(QStringLiteral("Total List : %1").arg(ListData->rowCount()));
}

void BatchWizard::Update_Value_List_Count()
{
    ui.batch_value_count->setText(QStringLiteral("Total Rows : %1").arg(ListData_value->rowCount()));
}

void BatchWizard::Mark_List_New_Selection(int row)
{
    ui.List->clearSelection();
    if (row >= 0 && row < ListData->rowCount())
        ui.List->selectRow(row);
}

void BatchWizard::Mark_List_New_Selection_Value(int row)
{
    ui.List_value->clearSelection();
    if (row >= 0 && row < ListData_value->rowCount())
        ui.List_value->selectRow(row);
}

void BatchWizard::Replace_Value(int row, const QString &value)
{
    ListData_value->replace(row, value);
}

QList<int> BatchWizard::selectedRows(QTableView *table) const
{
    QList<int> rows;
    if (!table->selectionModel())
        return rows;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool BatchWizard::Batch_List_Selection_Validation()
{
    if (ListData->rowCount() == 0) {
        Show_MessageBox(QStringLiteral("Available list is empty."));
        return false;
    }
    const QList<int> rows = selectedRows(ui.List);
    if (rows.isEmpty() || Get_List_Name_Text(rows.last()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select a record from the available list to continue."));
        ui.List->setFocus();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// List screen

void BatchWizard::AddNew_Btn_Clicked()
{
    Show_hide_first_screen(true);
    Show_hide_Last_screen(false);
    ui.batch_list_name->setText(QStringLiteral("Untitled"));
    ui.update_list_name->clear();
    ListData_value->setValues({});
    Update_Value_List_Count();
    markValuesSaved();
    ui.batch_list_name->setFocus();
}

void BatchWizard::Update_Btn_Clicked()
{
    On_Update();
}

void BatchWizard::On_Update()
{
    if (!Batch_List_Selection_Validation())
        return;
    const QString name = Get_List_Name_Text(selectedRows(ui.List).last());
    QFileInfo file(DataSeries::filePath(name));
    if (!DataSeries::isUsableName(name) || !file.isFile() || !file.isReadable()) {
        Show_Warning_MessageBox(kFileError);
        return;
    }
    // A series too large to be read opens as no values: saving that would replace it.
    plz_wait_Window->begin();
    QString refusal;
    const QStringList values = DataSeries::readListValues(name, &refusal);
    plz_wait_Window->end();
    if (!refusal.isEmpty()) {
        Show_Warning_MessageBox(refusal + QLatin1Char('.'));
        return;
    }
    Show_hide_Last_screen(false);
    Show_hide_first_screen(true);
    ui.batch_list_name->setText(name);
    ui.update_list_name->setText(name);
    ListData_value->setValues(values);
    Update_Value_List_Count();
    markValuesSaved();
}

void BatchWizard::Delete_List_Btn_Clicked()
{
    if (!Batch_List_Selection_Validation())
        return;
    const QList<int> rows = selectedRows(ui.List);
    QStringList free, kept;
    for (int row : rows) {
        const QString name = Get_List_Name_Text(row);
        (SeriesDialogs::seriesInUse(name) ? kept : free).append(name);
    }
    if (free.isEmpty()) {
        Show_MessageBox(kInUseDelete);
        return;
    }
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected Batch Processing Series?")) != 1)
        return;
    QStringList failed;
    for (const QString &name : free)
        if (!DataSeries::deleteSeries(name))
            failed.append(name);
    const int lastRow = rows.last();
    Fill_List();
    if (lastRow >= 1 && lastRow - 1 < ListData->rowCount())
        Mark_List_New_Selection(lastRow - 1);
    if (!kept.isEmpty())
        Show_MessageBox(kInUseDelete + QStringLiteral("\n") + kept.join(QStringLiteral(", ")));
    if (!failed.isEmpty())
        Show_Warning_MessageBox(kFileError + QStringLiteral("\n") + failed.join(QStringLiteral(", ")));
}

void BatchWizard::Import_Btn_Clicked()
{
    Import_Wizard *wizard = Import_Wizard::defaultInstance();
    wizard->file_name_required = 1;
    wizard->file_name_Insert = 1;
    wizard->Open_Wnd();
}

void BatchWizard::CreateSeries_Btn_Clicked()
{
    Generate_List *generator = Generate_List::defaultInstance();
    generator->file_name_required = 1;
    generator->file_name_Insert = 1;
    generator->Open_Wnd();
}

// ---------------------------------------------------------------------------------------------
// Value screen

bool BatchWizard::askReplaceOrAdd()
{
    m_replaceOnArrival = false;
    if (ListData_value->rowCount() == 0)
        return true;
    Load_Number_Window->setResult(Load_Num_Info::Cancelled);
    const int answer = ModalSeam::instance().execDialog(Load_Number_Window);
    // "Yes" empties nothing yet: the values are replaced when the new ones arrive.
    m_replaceOnArrival = answer == Load_Num_Info::Replace;
    return answer == Load_Num_Info::Replace || answer == Load_Num_Info::Add;
}

void BatchWizard::runValueSource(const std::function<void()> &source)
{
    if (!askReplaceOrAdd())
        return;
    source();
    m_replaceOnArrival = false;   // cancelled or refused: the list stays as it was
}

void BatchWizard::Import_Value_Btn_Clicked()
{
    runValueSource([] {
        Import_Wizard *wizard = Import_Wizard::defaultInstance();
        wizard->file_name_required = 0;
        wizard->file_name_Insert = 1;
        wizard->Open_Wnd();
    });
}

void BatchWizard::Series_Value_Btn_Clicked()
{
    runValueSource([] {
        Generate_List *generator = Generate_List::defaultInstance();
        generator->file_name_required = 0;
        generator->file_name_Insert = 1;
        generator->Open_Wnd();
    });
}

void BatchWizard::Delete_Rows_Btn_Clicked()
{
    if (ListData_value->rowCount() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        ui.List_value->setFocus();
        return;
    }
    const QList<int> rows = selectedRows(ui.List_value);
    if (rows.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select at least one record from the list to continue."));
        ui.List_value->setFocus();
        return;
    }
    const int lastRow = rows.last();
    ListData_value->removeRowList(rows);
    if (lastRow >= 1 && lastRow - 1 < ListData_value->rowCount())
        Mark_List_New_Selection_Value(lastRow - 1);
    Update_Value_List_Count();
}

bool BatchWizard::writeExport(const QString &path, bool workbook, QString *error) const
{
    if (workbook) {
        QList<QStringList> rows;
        rows.reserve(ListData_value->rowCount() + 1);
        rows.append(QStringList{QStringLiteral("Batch Value")});
        for (const QString &value : ListData_value->values())
            rows.append(QStringList{value});
        return SpreadsheetWriter::WriteWorkbook(QUrl::fromLocalFile(path), rows, false, error);
    }
    QByteArray content;
    for (const QString &value : ListData_value->values()) {
        content.append(value.toUtf8());
        content.append('\n');
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush() && file.commit())
        return true;
    *error = file.errorString();
    file.cancelWriting();
    return false;
}

void BatchWizard::Export_Value_Btn_Clicked()
{
    if (ListData_value->rowCount() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        ui.List_value->setFocus();
        return;
    }
    const QString workbookFilter = tr("Workbook (*.xlsx)");
    const QString textFilter = tr("Text (*.txt)");
    QString chosenFilter;
    const QString chosen = ModalSeam::instance().saveFileNameWithFilter(
        this, tr("Export Values"), QString(), workbookFilter + QStringLiteral(";;") + textFilter, &chosenFilter);
    if (chosen.isEmpty())
        return;
    // A name typed with one of the two suffixes says what to write; otherwise the filter does
    // (the chooser has put its suffix on already).
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    const bool workbook = suffix == QLatin1String("xlsx") || (suffix != QLatin1String("txt") && chosenFilter != textFilter);
    const QString path = SavePath::withExtension(chosen, QLatin1String(workbook ? "xlsx" : "txt"));
    if (!SavePath::mayWrite({path}, chosen, this))
        return;

    QString error;
    plz_wait_Window->begin();
    const bool written = writeExport(path, workbook, &error);
    plz_wait_Window->end();
    if (!written) {
        Show_NSLog_Message(error);
        Show_Warning_MessageBox(kFileError + QStringLiteral("\n") + error);
        return;
    }
    raise();
    Open_Export_Files::showFinished(path, QStringLiteral("Record has been exported successfully."));
}

void BatchWizard::Save_Btn_Clicked()
{
    saveValues();
}

bool BatchWizard::saveValues()
{
    if (ListData_value->rowCount() == 0) {
        Show_MessageBox(QStringLiteral("List is empty."));
        ui.List_value->setFocus();
        return false;
    }
    const QString oldName = ui.update_list_name->text();
    if (!oldName.isEmpty() && SeriesDialogs::seriesInUse(oldName)) {
        Show_MessageBox(kInUseUpdate);
        return false;
    }
    const QString name = SeriesDialogs::usableSeriesName(ui.batch_list_name->text());
    if (name.isEmpty())
        return false;
    // Replacing another series keeps the one being edited; a plain rename removes it, but
    // only once the new file is complete.
    bool replacing = false;
    if (DataSeries::replaceQuestionNeeded(name, oldName)) {
        if (Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")) != 1)
            return false;
        replacing = true;
    }
    QString error;
    plz_wait_Window->begin();
    const bool saved = DataSeries::saveSeries(name, replacing ? QString() : oldName, ListData_value->values(), &error);
    plz_wait_Window->end();
    if (!saved) {
        Show_NSLog_Message(error);
        Show_Warning_MessageBox(kFileError + QStringLiteral("\n") + error);
        return false;
    }
    markValuesSaved();
    raise();
    Show_hide_first_screen(false);
    Show_hide_Last_screen(true);
    Fill_List();
    return true;
}

void BatchWizard::Back_Btn_Clicked()
{
    if (!offerToSaveValues(kBackQuestion))
        return;
    Show_hide_first_screen(false);
    Show_hide_Last_screen(true);
}

bool BatchWizard::hasUnsavedValues() const
{
    // An empty list cannot be saved: there is nothing to lose.
    const QStringList values = ListData_value->values();
    return m_editingValues && !values.isEmpty()
           && (values != m_savedValues || Trim_Str(ui.batch_list_name->text()) != m_savedName);
}

void BatchWizard::markValuesSaved()
{
    m_savedName = Trim_Str(ui.batch_list_name->text());
    m_savedValues = ListData_value->values();
}

bool BatchWizard::offerToSaveValues(const QString &question)
{
    if (!hasUnsavedValues())
        return true;
    ModalSeam::Message message;
    message.icon = QMessageBox::Question;
    message.title = windowTitle();
    message.text = question;
    message.buttons = {tr("Yes"), tr("No"), tr("Cancel")};
    message.defaultButton = 0;
    switch (ModalSeam::instance().showMessage(this, message)) {
    case 0: return saveValues();
    case 1: return true;
    default: return false;   // Cancel, or the box closed: the values stay on screen
    }
}

void BatchWizard::reject()
{
    if (offerToSaveValues(kCloseQuestion))
        done(0);
}

void BatchWizard::doubleClickInTable(QTableView *table)
{
    const QList<int> rows = selectedRows(table);
    if (rows.isEmpty())
        return;
    if (rows.size() > 1) {
        Show_MessageBox(QStringLiteral("Please select only one record to update."));
        return;
    }
    if (table == ui.List) {
        On_Update();
        return;
    }
    const QString value = Get_Value_Text(rows.first());
    Update_Value_Wnd->ui.m_ex_num_str->setText(value);
    Update_Value_Wnd->ui.m_s_number->setText(value);
    Update_Value_Wnd->ui.m_ex_num_index->setText(QString::number(rows.first()));
    ModalSeam::instance().execDialog(Update_Value_Wnd);
}
