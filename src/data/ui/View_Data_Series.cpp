#include "data/ui/View_Data_Series.h"

#include "data/DataSeries.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"

#include <QPointer>

View_Data_Series *View_Data_Series::defaultInstance()
{
    return sharedWindow<View_Data_Series>();
}

View_Data_Series::View_Data_Series(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    connect(ui.OK_Btn, &QPushButton::clicked, this, &View_Data_Series::OK_Btn_Clicked);
}

void View_Data_Series::Open_Wnd()
{
    ui.series_name->setText(file_name);
    ListData.clear();
    Update_batch_List_Count();
    Load_file_Func(file_name);
    ModalSeam::instance().execDialog(this);
    hide();
}

void View_Data_Series::OK_Btn_Clicked()
{
    done(1);
}

void View_Data_Series::Load_file_Func(const QString &name)
{
    // Through the series reader: its encodings, line ends and limits are the cards'.
    QString refusal;
    const QStringList values = DataSeries::readListValues(name, &refusal);
    for (const QString &value : values)
        Create_Avail_List(value);
    Update_batch_List_Count();
    if (!refusal.isEmpty())
        ui.list_count->setText(refusal + QLatin1Char('.'));
}

void View_Data_Series::Create_Avail_List(const QString &text)
{
    const QString value = Trim_Str(text);
    if (!value.isEmpty())
        ListData.append({{QStringLiteral("Extension"), value}});
}

void View_Data_Series::Update_batch_List_Count()
{
    ui.List->setRowCount(int(ListData.size()));
    for (int row = 0; row < ListData.size(); ++row)
        ui.List->setItem(row, 0, new QTableWidgetItem(ListData.at(row).value(QStringLiteral("Extension"))));
    ui.list_count->setText(QStringLiteral("Total Rows : %1").arg(ListData.size()));
}
