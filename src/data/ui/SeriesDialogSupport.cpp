#include "data/ui/SeriesDialogSupport.h"

#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "data/SheetImport.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/BatchWizard.h"
#include "document/LMNDocument.h"
#include "document/MessageLog.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/UiUtilities.h"
#include "document/EditorHost.h"
#include "dialogs/ui/PleaseWaitSheet.h"
#include "panels/PanelsGlobals.h"

#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QPushButton>
#include <QThread>

namespace SeriesDialogs {

void applyDialogLook(QDialog *dialog)
{
    Apply_Dialog_Look(dialog);
}

bool seriesInUse(const QString &name)
{
    if (!Main_App_wnd || !Main_App_wnd->document())
        return false;
    const LMNDocument *document = Main_App_wnd->document();
    return DataSeries::isSeriesInUse(name, document->graphics, document->graphics_back,
                                     CARD_SIDE_STR == QLatin1String("2"));
}

QString usableSeriesName(const QString &typedName)
{
    const QString name = Remove_Reserve_Char_In_File_Name(typedName);
    QString reason;
    if (!DataSeries::isUsableName(name, &reason)) {
        Show_MessageBox(reason);
        return {};
    }
    return name;
}

bool writeNewSeries(const QString &typedName, const QStringList &values, QString *savedName)
{
    const QString name = usableSeriesName(typedName);
    if (name.isEmpty())
        return false;
    if (DataSeries::exists(name)
        && Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")) != 1)
        return false;
    QString error;
    if (!DataSeries::writeValues(name, values, DataSeries::WriteMode::Replace, &error)) {
        Show_Warning_MessageBox(QStringLiteral("Error in file accessing.\n%1").arg(error));
        return false;
    }
    if (savedName)
        *savedName = name;
    return true;
}

bool runBehindSheet(PleaseWaitSheet *sheet, const std::function<void()> &work)
{
    // The reader cannot be interrupted mid-part: Stop lets it end (the window stays painted)
    // and throws its result away, so stopping changes nothing.
    bool stopped = false;
    QThread *thread = QThread::create(work);
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    QMetaObject::Connection stop = QObject::connect(sheet->ui.stop_btn, &QPushButton::clicked, &loop, [&stopped, sheet] {
        stopped = true;
        sheet->ui.stop_btn->setEnabled(false);
    });
    sheet->ui.stop_btn->setEnabled(true);
    sheet->ui.stop_btn->show();
    sheet->begin();
    thread->start();
    if (!thread->isFinished())
        loop.exec(QEventLoop::ExcludeSocketNotifiers);
    thread->wait();
    delete thread;
    QObject::disconnect(stop);
    sheet->ui.stop_btn->hide();
    sheet->end();
    return !stopped;
}

namespace {
const QString kCorrupt = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");

QUrl workbookUrl(const QString &path)
{
    return QUrl::fromLocalFile(path);
}
} // namespace

bool loadWorkbook(PleaseWaitSheet *sheet, const QString &path, QComboBox *worksheets)
{
    QString error;
    const bool finished = runBehindSheet(sheet, [&] { SpreadsheetWriter::ReadWorkbook(workbookUrl(path), true, &error); });
    if (!finished)
        return false;
    const QList<WorkbookParts::Sheet> sheets = error.isEmpty() ? SheetImport::worksheets() : QList<WorkbookParts::Sheet>();
    for (const WorkbookParts::Sheet &entry : sheets)
        worksheets->addItem(entry.name, entry.file);
    if (!error.isEmpty() || sheets.isEmpty()) {
        Show_NSLog_Message(error);
        Show_Warning_MessageBox(kCorrupt + QStringLiteral("\n") + (error.isEmpty() ? QStringLiteral("The workbook has no worksheet.") : error));
        return false;
    }
    return true;
}

QString chosenWorksheet(const QComboBox *worksheets, int index)
{
    return worksheets->itemData(index).toString();
}

QStringList worksheetColumnNames(const QString &worksheet)
{
    Excel_Sheet_Number = SheetImport::sheetNumberOf(worksheet);
    const QList<QStringList> rows = SpreadsheetWriter::ReadData_only_column();
    return rows.isEmpty() ? QStringList() : rows.first();
}

bool readWorksheetRows(PleaseWaitSheet *sheet, QList<QStringList> *rows, const QString &emptyMessage)
{
    QString error;
    if (!runBehindSheet(sheet, [&] { *rows = SpreadsheetWriter::ReadWorkbook(QUrl(), false, &error); })) {
        rows->clear();
        return false;
    }
    if (!error.isEmpty() || rows->isEmpty()) {
        Show_NSLog_Message(error);
        Show_Warning_MessageBox(error.isEmpty() ? emptyMessage : kCorrupt + QStringLiteral("\n") + error);
        rows->clear();
        return false;
    }
    return true;
}

void refillManagerList()
{
    BatchWizard::defaultInstance()->Fill_List();
}

void addManagerValue(const QString &value)
{
    BatchWizard::defaultInstance()->Create_Value_List(value);
}

void addManagerValues(const QStringList &values)
{
    BatchWizard::defaultInstance()->addValues(values);
}

} // namespace SeriesDialogs
