#pragma once

#include "ui_ExportWindow.h"
#include "dialogs/ui/SharedWindow.h"

#include <QButtonGroup>
#include <QDialog>

// The export sheet: picture format (as pop-up and as radio buttons, row i being item i),
// resolution, card side, the combined picture and the two data-source boxes.
class ExportWindow : public QDialog
{
    Q_OBJECT

public:
    static ExportWindow *defaultInstance();

    Ui::ExportWindow ui;

    // Resets the sheet as the Export command opens it: first format, resolution item 0,
    // front side, combined box unticked, each data box ticked and enabled when its source is
    // in use, else unticked and disabled.
    void reset(bool seriesInUse, bool spreadsheetInUse);

    void exportOkay();
    void exportCancel();
    void exportFileTypeChanged();
    void export_file_type_CellClick(int row);
    void export_card_side_CellClick(int row);

    // The chosen format's title, which is also the file extension.
    QString extension() const { return ui.fileFormatPopup->currentText(); }
    // The resolution entered; 0 when it is not a number from 36 to 1200.
    double resolution() const;

private:
    template <class Window>
    friend Window *sharedWindow(QWidget *parent);
    explicit ExportWindow(QWidget *parent = nullptr);

    QButtonGroup m_fileTypes;
    QButtonGroup m_sides;
};
