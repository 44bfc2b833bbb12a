#include "data/ui/Import_Wizard.h"

#include "data/SeriesImportSource.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/DataSourceServices.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/SeriesDialogSupport.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/FileUtilities.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "data/DataGlobals.h"
#include "dialogs/ui/PleaseWaitSheet.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QPointer>

Import_Wizard::Import_Wizard(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    plz_wait_Window = new PleaseWaitSheet(this);
    auto *sources = new QButtonGroup(this);
    for (QRadioButton *radio : {ui.Excel_RD, ui.Text_RD, ui.Mnul_RD, ui.Image_RD})
        sources->addButton(radio);
    connect(ui.Excel_RD, &QRadioButton::clicked, this, &Import_Wizard::Excel_RD_Pressed);
    connect(ui.Text_RD, &QRadioButton::clicked, this, &Import_Wizard::Text_RD_Pressed);
    connect(ui.Mnul_RD, &QRadioButton::clicked, this, &Import_Wizard::Manual_RD_Pressed);
    connect(ui.Image_RD, &QRadioButton::clicked, this, &Import_Wizard::Image_RD_Pressed);
    connect(ui.Excel_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Excel_Pressed);
    connect(ui.Text_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Text_Pressed);
    connect(ui.Image_btn, &QPushButton::clicked, this, &Import_Wizard::Browse_Image_Pressed);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Import_Wizard::OKPressed);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Import_Wizard::CancelPressed);
    connect(ui.help_btn, &QPushButton::clicked, this, [] { Open_Help_File(); });
}

Import_Wizard *Import_Wizard::defaultInstance()
{
    return sharedWindow<Import_Wizard>(sharedWindowParent());
}

int Import_Wizard::Open_Wnd()
{
    Check_Path_And_Create_Files();
    for (QLineEdit *field : {ui.Excel_path, ui.Text_path, ui.Image_path, ui.Text_file_name, ui.Manual_file_name,
                             ui.Image_file_name})
        field->clear();
    ui.ManualEdit->clear();
    chooseSource(0);
    const bool named = file_name_required == 1;
    for (QWidget *name : std::initializer_list<QWidget *>{ui.Text_file_name, ui.Manual_file_name, ui.Image_file_name,
                                                          ui.text_name_lbl, ui.manual_name_lbl, ui.image_name_lbl})
        name->setVisible(named);
    setResult(0);
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    return result;
}

void Import_Wizard::chooseSource(int option)
{
    import_option = option;
    ui.Excel_RD->setChecked(option == 0);
    ui.Text_RD->setChecked(option == 1);
    ui.Mnul_RD->setChecked(option == 2);
    ui.Image_RD->setChecked(option == 3);
    Enable_Disable_Excel_Option(option == 0);
    Enable_Disable_Text_Option(option == 1);
    Enable_Disable_Manual_Option(option == 2);
    Enable_Disable_Image_Option(option == 3);
}

void Import_Wizard::Excel_RD_Pressed() { chooseSource(0); }
void Import_Wizard::Text_RD_Pressed() { chooseSource(1); }
void Import_Wizard::Manual_RD_Pressed() { chooseSource(2); }
void Import_Wizard::Image_RD_Pressed() { chooseSource(3); }

namespace {
void untitledWhenEmpty(QLineEdit *name)
{
    if (Trim_Str(name->text()).isEmpty())
        name->setText(QStringLiteral("Untitled"));
}
} // namespace

void Import_Wizard::Enable_Disable_Excel_Option(bool enable)
{
    ui.Excel_btn->setEnabled(enable);
    ui.Excel_path->setEnabled(enable);
}

void Import_Wizard::Enable_Disable_Text_Option(bool enable)
{
    ui.Text_btn->setEnabled(enable);
    ui.Text_path->setEnabled(enable);
    ui.Text_file_name->setEnabled(enable);
    if (enable)
        untitledWhenEmpty(ui.Text_file_name);
}

void Import_Wizard::Enable_Disable_Manual_Option(bool enable)
{
    ui.ManualEdit->setReadOnly(!enable);
    ui.ManualEdit->setEnabled(enable);
    ui.Manual_file_name->setEnabled(enable);
    if (enable)
        untitledWhenEmpty(ui.Manual_file_name);
}

void Import_Wizard::Enable_Disable_Image_Option(bool enable)
{
    ui.Image_btn->setEnabled(enable);
    ui.Image_path->setEnabled(enable);
    ui.Image_file_name->setEnabled(enable);
    if (enable)
        untitledWhenEmpty(ui.Image_file_name);
}

void Import_Wizard::Browse_Excel_Pressed()
{
    const QString path = ModalSeam::instance().openFileName(this, tr("Choose a Workbook"), QString(),
                                                            tr("Workbooks (*.xlsx *.XLSX)"));
    if (path.isEmpty())
        return;
    SpreadsheetWriter::removeTempFolder();
    ui.Excel_path->setText(path);
    OKPressed();
}

void Import_Wizard::Browse_Text_Pressed()
{
    const QString path = ModalSeam::instance().openFileName(
        this, tr("Choose a Text File"), QString(), tr("Text files (*.txt *.TXT *.rtf *.RTF *.csv *.CSV)"));
    if (path.isEmpty())
        return;
    ui.Text_path->setText(path);
    OKPressed();
}

void Import_Wizard::Browse_Image_Pressed()
{
    const QString path = ModalSeam::instance().existingDirectory(this, tr("Choose a Folder of Pictures"), QString());
    if (path.isEmpty())
        return;
    ui.Image_path->setText(path);
    OKPressed();
}

bool Import_Wizard::validPath(const QString &path)
{
    return DataSourceServices::Check_And_Validate_File_Path(path) == 0;
}

void Import_Wizard::OKPressed()
{
    int done_ = 0;
    switch (import_option) {
    case 0: {
        const QString path = Trim_Str(ui.Excel_path->text());
        if (!validPath(path))
            return;
        int opened = 0;
        if (file_name_required == 1) {
            Import_Excel_DataSheet *sheet = Import_Excel_DataSheet::defaultInstance();
            sheet->file_name_Insert = file_name_Insert;
            opened = sheet->Open_excel_Wnd(path);
        } else {
            Import_Excel *chooser = Import_Excel::defaultInstance();
            chooser->open_mode = QStringLiteral("D");
            opened = chooser->Open_excel_Wnd(path);
        }
        if (opened != -1)   // an unreadable workbook keeps the wizard open
            done(1);
        return;
    }
    case 1: {
        const QString path = Trim_Str(ui.Text_path->text());
        if (!validPath(path))
            return;
        done_ = Create_And_Save_Text_Data_Sheet(path);
        break;
    }
    case 2:
        done_ = Create_And_Save_Manual_Paste_data_Sheet();
        break;
    case 3: {
        const QString path = Trim_Str(ui.Image_path->text());
        if (!validPath(path))
            return;
        done_ = Create_And_Save_Image_data_Sheet(path);
        break;
    }
    }
    if (done_ == 1)
        done(1);
}

void Import_Wizard::CancelPressed()
{
    done(0);
}

int Import_Wizard::finishSource(const QString &typedName, const QStringList &values)
{
    if (file_name_required == 1) {
        if (!SeriesDialogs::writeNewSeries(typedName, values))
            return 0;
    } else {
        SeriesDialogs::addManagerValues(values);
    }
    if (file_name_Insert == 1)
        SeriesDialogs::refillManagerList();
    return 1;
}

int Import_Wizard::Create_And_Save_Text_Data_Sheet(const QString &path)
{
    if (file_name_required == 1 && SeriesDialogs::usableSeriesName(ui.Text_file_name->text()).isEmpty())
        return 0;
    QString error;
    QStringList values;
    if (!SeriesDialogs::runBehindSheet(plz_wait_Window,
                                       [&] { values = SeriesImportSource::readTextFile(path, &error); }))
        return 0;   // stopped: nothing is written
    if (values.isEmpty()) {
        Show_Warning_MessageBox(error);
        return 0;
    }
    return finishSource(ui.Text_file_name->text(), values);
}

int Import_Wizard::Create_And_Save_Manual_Paste_data_Sheet()
{
    if (file_name_required == 1 && SeriesDialogs::usableSeriesName(ui.Manual_file_name->text()).isEmpty())
        return 0;
    const QString text = ui.ManualEdit->toPlainText();
    if (Trim_Str(text).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter some data."));
        return 0;
    }
    return finishSource(ui.Manual_file_name->text(), SeriesImportSource::pastedLines(text));
}

int Import_Wizard::Create_And_Save_Image_data_Sheet(const QString &folder)
{
    if (file_name_required == 1 && SeriesDialogs::usableSeriesName(ui.Image_file_name->text()).isEmpty())
        return 0;
    QStringList paths;
    if (!SeriesImportSource::pictureFiles(folder, &paths)) {
        Show_Warning_MessageBox(QStringLiteral("The folder \"%1\" cannot be read.").arg(folder));
        return 0;
    }
    if (paths.isEmpty()) {
        Show_MessageBox(QStringLiteral("The folder \"%1\" holds no pictures.").arg(folder));
        return 0;
    }
    return finishSource(ui.Image_file_name->text(), paths);
}
