#pragma once

// Services the data-series and spreadsheet dialogs share: their look, the in-use check of a
// series, writing a new series with the replace question, and reading a workbook on a worker
// thread behind the please-wait sheet.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class PleaseWaitSheet;
class QComboBox;
class QDialog;
class QWidget;

namespace SeriesDialogs {

// The dialog background (RGB 241/244/250) every data dialog shares.
void applyDialogLook(QDialog *dialog);

// True when an element of the open design is bound to the series (front side, and back side
// on a two-sided card); false without an editor window.
bool seriesInUse(const QString &name);

// The cleaned series name, or empty after telling the user why `typedName` cannot be used.
QString usableSeriesName(const QString &typedName);

// Writes `values` as the new series `typedName` (cleaned): asks the replace question when it
// exists (No writes nothing), replaces the old file only once the new one is complete, and
// says "Error in file accessing." with the reason on failure. True when written.
bool writeNewSeries(const QString &typedName, const QStringList &values, QString *savedName = nullptr);

// Runs `work` on a worker thread while `sheet` shows over its window, keeping the window
// painted. The sheet's Stop button abandons the work: its result is then thrown away and the
// function returns false. The work must not touch widgets.
bool runBehindSheet(PleaseWaitSheet *sheet, const std::function<void()> &work);

// Unpacks the workbook behind the sheet and fills `worksheets` with one item per worksheet,
// labelled and ordered as the workbook's tabs, each holding its worksheet file's name as item
// data. False after telling the user why when the workbook cannot be read or was stopped.
bool loadWorkbook(PleaseWaitSheet *sheet, const QString &path, QComboBox *worksheets);
// The worksheet file ("sheet3") of the item chosen in a list filled by loadWorkbook.
QString chosenWorksheet(const QComboBox *worksheets, int index);
// The column names of a worksheet file of the unpacked workbook (its number becomes
// Excel_Sheet_Number); empty when it has none.
QStringList worksheetColumnNames(const QString &worksheet);
// Every row of worksheet Excel_Sheet_Number, read behind the sheet. False after telling the
// user (the corruption message with the reason) when nothing could be read.
bool readWorksheetRows(PleaseWaitSheet *sheet, QList<QStringList> *rows, const QString &emptyMessage);

// The manager's series list is refilled when it is open (the writers call it when done).
void refillManagerList();
// Hands one value to the manager's value list.
void addManagerValue(const QString &value);
void addManagerValues(const QStringList &values);

} // namespace SeriesDialogs
