#include "data/ui/Data_From_Excel.h"

#include "data/SpreadsheetTable.h"
#include "data/ui/SeriesDialogSupport.h"
#include "data/ui/SpreadsheetTableModel.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/SharedWindow.h"
#include "data/DataGlobals.h"

#include <QHeaderView>
#include <QPointer>

QString rowNumberColumnTitle()
{
    return SpreadsheetTableModel::rowNumberTitle();
}

Data_From_Excel::Data_From_Excel(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    ListData = new SpreadsheetTableModel(&SpreadsheetTable::live(), this);
    ui.ColList->setModel(ListData);
    ui.ColList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ui.ColList->horizontalHeader()->setDefaultSectionSize(100);
    // Every row has the same height: the view never measures 100,000 rows.
    ui.ColList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui.ColList->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Data_From_Excel::OK_Click);
}

Data_From_Excel *Data_From_Excel::defaultInstance()
{
    return sharedWindow<Data_From_Excel>(sharedWindowParent());
}

void Data_From_Excel::reload()
{
    ListData->reload();
    ui.rows_count->setText(QString::number(SpreadsheetTable::live().rowCount()));
    ui.column_count->setText(QString::number(ListData->columnCount()));
}

int Data_From_Excel::Open_Wnd()
{
    reload();
    setResult(0);
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    return result;
}

void Data_From_Excel::OK_Click()
{
    done(1);
}

void Data_From_Excel::Create_List_By_Array(const QStringList &texts, int count)
{
    ListData->appendRecord(texts, count);
}
