#include "output/ui/ExportWindow.h"

#include "data/DataGlobals.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/SharedWindow.h"
#include "dialogs/ui/UiUtilities.h"

#include <QPointer>

ExportWindow *ExportWindow::defaultInstance()
{
    return sharedWindow<ExportWindow>();
}

ExportWindow::ExportWindow(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    m_fileTypes.addButton(ui.file_type_row0, 0);
    m_fileTypes.addButton(ui.file_type_row1, 1);
    m_fileTypes.addButton(ui.file_type_row2, 2);
    m_sides.addButton(ui.card_side_row0, 0);
    m_sides.addButton(ui.card_side_row1, 1);
    m_sides.addButton(ui.card_side_row2, 2);
    connect(ui.export_ok_btn, &QPushButton::clicked, this, &ExportWindow::exportOkay);
    connect(ui.export_cancel_btn, &QPushButton::clicked, this, &ExportWindow::exportCancel);
    connect(ui.fileFormatPopup, &QComboBox::currentIndexChanged, this, &ExportWindow::exportFileTypeChanged);
    connect(&m_fileTypes, &QButtonGroup::idClicked, this, &ExportWindow::export_file_type_CellClick);
    connect(&m_sides, &QButtonGroup::idClicked, this, &ExportWindow::export_card_side_CellClick);
}

void ExportWindow::reset(bool seriesInUse, bool spreadsheetInUse)
{
    ui.saveDPIText->setCurrentIndex(0);
    ui.saveDPIText->setEnabled(true);
    ui.file_type_row0->setChecked(true);
    ui.fileFormatPopup->setCurrentIndex(0);
    ui.export_combined_image_chk->setChecked(false);
    ui.card_side_row1->setChecked(true);
    export_card_side_CellClick(1);
    ui.Export_with_batch_chk->setEnabled(seriesInUse);
    ui.Export_with_batch_chk->setChecked(seriesInUse);
    ui.Export_with_excel_chk->setEnabled(spreadsheetInUse);
    ui.Export_with_excel_chk->setChecked(spreadsheetInUse);
}

void ExportWindow::exportOkay()
{
    if (resolution() <= 0) {
        Show_MessageBox(QStringLiteral("Please enter a resolution from 36 to 1200 dpi."));
        return;
    }
    hide();
    done(1);
}

void ExportWindow::exportCancel()
{
    hide();
    done(0);
}

void ExportWindow::exportFileTypeChanged()
{
    const int row = ui.fileFormatPopup->currentIndex();
    ui.saveDPIText->setEnabled(ui.fileFormatPopup->currentText() == QLatin1String("TIFF"));
    if (QAbstractButton *button = m_fileTypes.button(row))
        button->setChecked(true);
}

void ExportWindow::export_file_type_CellClick(int row)
{
    ui.saveDPIText->setEnabled(row == 0);
    ui.fileFormatPopup->setCurrentIndex(row);
}

void ExportWindow::export_card_side_CellClick(int row)
{
    export_card_side = row == 0 ? QStringLiteral("BOTH") : row == 1 ? QStringLiteral("F") : QStringLiteral("B");
    ui.export_combined_image_chk->setEnabled(row == 0);
}

double ExportWindow::resolution() const
{
    bool ok = false;
    const double dpi = ui.saveDPIText->currentText().trimmed().toDouble(&ok);
    return ok && dpi >= 36 && dpi <= 1200 ? dpi : 0;
}
