#pragma once

#include "ui_View_Data_Series.h"
#include "dialogs/ui/SharedWindow.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <QString>

// The data-series viewer: the values of one series, read-only, with their count.
class View_Data_Series : public QDialog
{
    Q_OBJECT

public:
    static View_Data_Series *defaultInstance();

    Ui::View_Data_Series ui;

    // The series to show; set by the caller before Open_Wnd.
    QString file_name;
    // One row per value, the value under "Extension".
    QList<QMap<QString, QString>> ListData;

    // Shows the series named by file_name and runs the window until OK.
    void Open_Wnd();
    void OK_Btn_Clicked();
    // Reads the series `name`: its lines, trimmed, without empty ones. A missing or unreadable
    // file (or a name that is not a series name) gives no rows; a series too large to be read
    // gives none either, and the count line says why.
    void Load_file_Func(const QString &name);
    void Create_Avail_List(const QString &text);
    void Update_batch_List_Count();

private:
    template <class Window>
    friend Window *sharedWindow(QWidget *parent);
    explicit View_Data_Series(QWidget *parent = nullptr);
};
