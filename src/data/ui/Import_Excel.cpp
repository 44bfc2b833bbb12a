#include "data/ui/Import_Excel.h"

#include "data/DataGlobals.h"
#include "data/DesignRecordBudget.h"
#include "data/SheetImport.h"
#include "data/SpreadsheetTable.h"
#include "data/ui/ColumnChoiceModel.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/SeriesDialogSupport.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/SharedWindow.h"
#include "dialogs/ui/PleaseWaitSheet.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPointer>

#include <limits>

Import_Excel::Import_Excel(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    plz_wait_Window = new PleaseWaitSheet(this);
    ListData_xl = new ColumnChoiceModel(false, this);
    ui.ColList->setModel(ListData_xl);
    ui.ColList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Import_Excel::OKPressed);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Import_Excel::CancelPressed);
    connect(ui.select_all_btn, &QPushButton::clicked, this, &Import_Excel::Select_ALL_Pressed);
    connect(ui.clear_all_btn, &QPushButton::clicked, this, &Import_Excel::Clear_All_Pressed);
    connect(ui.Sheet_ComboBox, &QComboBox::currentIndexChanged, this, &Import_Excel::sheetChosen);
}

Import_Excel *Import_Excel::defaultInstance()
{
    return sharedWindow<Import_Excel>(sharedWindowParent());
}

int Import_Excel::Open_excel_Wnd(const QString &path, const DesignRecordBudget::Cost &recordRoom)
{
    m_path = path;
    m_recordRoom = recordRoom;
    Excel_Sheet_Number = 1;
    ui.file_path->setText(path);
    ui.contains_header->setChecked(true);
    ListData_xl->setNames({});
    m_loading = true;
    ui.Sheet_ComboBox->clear();
    const bool loaded = SeriesDialogs::loadWorkbook(plz_wait_Window, path, ui.Sheet_ComboBox);
    m_loading = false;
    if (!loaded)
        return -1;
    ui.Sheet_ComboBox->setCurrentIndex(0);
    sheetChosen(0);

    setResult(0);
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    return result;
}

void Import_Excel::sheetChosen(int index)
{
    if (m_loading || index < 0)
        return;
    const QStringList names = SeriesDialogs::worksheetColumnNames(SeriesDialogs::chosenWorksheet(ui.Sheet_ComboBox, index));
    if (!names.isEmpty())
        ListData_xl->setNames(names);
}

void Import_Excel::Select_ALL_Pressed()
{
    ListData_xl->setAllStates(true);
}

void Import_Excel::Clear_All_Pressed()
{
    ListData_xl->setAllStates(false);
}

void Import_Excel::CancelPressed()
{
    done(0);
}

void Import_Excel::OKPressed()
{
    if (ListData_xl->rowCount() == 0) {
        Show_MessageBox(QStringLiteral("There is no column."));
        return;
    }
    const QList<int> ticked = ListData_xl->tickedColumns();
    if (ticked.isEmpty()) {
        Show_MessageBox(QStringLiteral("No column is selected."));
        return;
    }
    Excel_Sheet_Number = SheetImport::sheetNumberOf(SeriesDialogs::chosenWorksheet(ui.Sheet_ComboBox, ui.Sheet_ComboBox->currentIndex()));
    const bool header = ui.contains_header->isChecked();
    QList<QStringList> rows;
    if (!SeriesDialogs::readWorksheetRows(
            plz_wait_Window, &rows,
            QStringLiteral("Either file is corrupted or selected file contains invalid characters.")))
        return;   // the table and the value list stay as they were

    if (open_mode == QLatin1String("D")) {
        SeriesDialogs::addManagerValues(SheetImport::rowWiseValues(rows, ticked, header));
    } else {
        // The new table is made aside and takes the old one's place whole, when the design can
        // hold it with the workbook it binds: a design whose records its file cannot hold
        // could not be saved.
        SpreadsheetTable table = SheetImport::buildTable(rows, ticked, header, rowNumberColumnTitle());
        rows.clear();
        DesignRecordBudget::Cost room = m_recordRoom;
        room -= DesignRecordBudget::costOfBinding(table.titles, m_path);
        const qsizetype fit = DesignRecordBudget::recordsThatFit(table.records, room);
        if (fit < table.records.size()) {
            // The limit the next row passes: the size of the file, or the memory opening it takes.
            const bool fileBinds =
                DesignRecordBudget::recordsThatFit(table.records, {room.bytes, std::numeric_limits<qint64>::max()}) == fit;
            const QString limit =
                fileBinds ? QCoreApplication::translate("Import_Excel", "its file may take %1 MB")
                                .arg(DesignRecordBudget::MaximumFileSize >> 20)
                          : QCoreApplication::translate("Import_Excel", "opening it may take %1 MB of memory")
                                .arg(DesignRecordBudget::MaximumOpeningCost >> 20);
            Show_Warning_MessageBox(
                QCoreApplication::translate("Import_Excel",
                                            "The %Ln row(s) of the sheet cannot be imported: with the columns chosen, "
                                            "a design holds the records of %L1 rows at most (%2).",
                                            nullptr, int(table.records.size()))
                    .arg(fit)
                    .arg(limit));
            return;   // the table stays as it was
        }
        SpreadsheetTable::live() = std::move(table);
        Data_From_Excel::defaultInstance()->reload();
    }
    done(1);
}
