#include "panels/ui/DataSourcePage.h"

DataSourcePage::DataSourcePage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    ui.data_source_title->hide();   // the page's tab carries the same words
    ui.Batch_Series->setEnabled(false);
    ui.view_series_btn->setEnabled(false);
    connect(ui.view_series_btn, &QPushButton::clicked, this, &DataSourcePage::viewRequested);
    connect(ui.data_source_help_btn, &QToolButton::clicked, this, &DataSourcePage::helpRequested);
    connect(ui.Manual_Image_Browse_Btn, &QPushButton::clicked, this, &DataSourcePage::browseFileRequested);
    connect(ui.Manual_Library_Browse_Btn, &QPushButton::clicked, this, &DataSourcePage::browseLibraryRequested);
}

void DataSourcePage::setTitle(const QString &title)
{
    ui.data_source_title->setText(title);
}
