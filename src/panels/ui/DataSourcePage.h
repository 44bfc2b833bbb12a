#pragma once

#include "ui_DataSourcePage.h"

#include <QWidget>

// The source page of text and picture elements: typed value, data series or spreadsheet
// column (the kinds of Data_source_type), the series or column (Batch_Series), and for
// pictures the file buttons (manual_brws_box). The rules behind its lists run in the
// combo dispatch of ElementPanelCommands.
class DataSourcePage : public QWidget
{
    Q_OBJECT

public:
    explicit DataSourcePage(QWidget *parent = nullptr);
    Ui::DataSourcePage ui;

    // "Text Source" or "Image Source".
    void setTitle(const QString &title);

signals:
    void viewRequested();
    // The "?" beside the kind of source.
    void helpRequested();
    void browseFileRequested();
    void browseLibraryRequested();
};
