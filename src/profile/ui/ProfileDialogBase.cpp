#include "profile/ui/ProfileDialogBase.h"

#include "data/SpreadsheetTable.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/DataSourceServices.h"
#include "data/ui/Import_Excel.h"
#include "dialogs/ui/ScrolledPart.h"
#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNImage.h"
#include "document/LMNRenderingView.h"
#include "document/MessageLog.h"
#include "document/PaintStyles.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "data/ui/SeriesCommands.h"
#include "document/EditorHost.h"
#include "profile/ui/ProfileCommands.h"
#include "profile/User_Profile_Class.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const QString kPictureFilter = QStringLiteral(
    "Pictures (*.jpg *.jpeg *.jpe *.jfif *.gif *.bmp *.png *.tif *.tiff "
    "*.JPG *.JPEG *.JPE *.JFIF *.GIF *.BMP *.PNG *.TIF *.TIFF)");

} // namespace

namespace {

// The profile dialogs made so far, so that a design just opened reaches their rows.
QList<QPointer<ProfileDialogBase>> &madeDialogs()
{
    static QList<QPointer<ProfileDialogBase>> dialogs;
    return dialogs;
}

} // namespace

ProfileDialogBase::ProfileDialogBase(QWidget *parent)
    : QDialog(parent)
{
    QList<QPointer<ProfileDialogBase>> &dialogs = madeDialogs();
    dialogs.removeAll(nullptr);
    dialogs.append(this);
}

void ProfileDialogBase::offerSpreadsheetColumns()
{
    for (ProfileDialogBase *dialog : std::as_const(madeDialogs()))
        if (dialog)
            dialog->offerSpreadsheetSourceInRows();
}

void ProfileDialogBase::offerSpreadsheetSourceInRows()
{
    if (DataSourceServices::spreadsheetSourceOffered())
        Add_Excel_in_Data_Source_Combo();
    else
        Remove_Excel_in_Data_Source_Combo();
}

void ProfileDialogBase::bindControls()
{
    Apply_Dialog_Look(this);
    // The field rows and the preview scroll where the screen is too small for them; the
    // spreadsheet row and the buttons stay in view.
    if (auto *content = findChild<QLayout *>(QStringLiteral("content_row")))
        ScrolledPart::wrap(this, content, Qt::Horizontal | Qt::Vertical);
    for (int i = 0; i < ProfileFields::Count; ++i) {
        const QString stem = QLatin1String(ProfileFields::all()[i].rowStem);
        ProfileRow &row = rows[i];
        row.value = findChild<QLineEdit *>(stem + QStringLiteral("_value"));
        row.kind = findChild<QComboBox *>(stem + QStringLiteral("_ds_combo"));
        row.choice = findChild<QComboBox *>(stem + QStringLiteral("_ser_col_cb"));
        row.view = findChild<QPushButton *>(stem + QStringLiteral("_view_btn"));
        row.label = findChild<QLineEdit *>(stem + QStringLiteral("_label"));
        row.labelChk = findChild<QCheckBox *>(stem + QStringLiteral("_label_chk"));
        row.valueChk = findChild<QCheckBox *>(stem + QStringLiteral("_value_chk"));
        row.side = findChild<QComboBox *>(stem + QStringLiteral("_side_combo"));

        connect(row.kind, &QComboBox::currentIndexChanged, this, [this, i] { kindChanged(i); });
        connect(row.choice, &QComboBox::currentIndexChanged, this, [this, i] { choiceChanged(i); });
        connect(row.view, &QPushButton::clicked, this, [this, i] { viewSeriesClicked(i); });
        // A box makes its field editable; typing in a field ticks its box.
        if (row.labelChk && row.label) {
            connect(row.labelChk, &QCheckBox::clicked, this, [row] { row.label->setReadOnly(!row.labelChk->isChecked()); });
            connect(row.label, &QLineEdit::textEdited, this, [row] { row.labelChk->setChecked(true); });
        }
        if (row.valueChk && row.value) {
            connect(row.valueChk, &QCheckBox::clicked, this, [row] { row.value->setReadOnly(!row.valueChk->isChecked()); });
            connect(row.value, &QLineEdit::textEdited, this, [row] { row.valueChk->setChecked(true); });
        }
    }
    excel_path_field = findChild<QLineEdit *>(QStringLiteral("excel_path_field"));
    image_path_val = findChild<QLineEdit *>(QStringLiteral("image_path_val"));
    user_picture = findChild<QLabel *>(QStringLiteral("user_picture"));
    Preivew_picture = findChild<QLabel *>(QStringLiteral("Preivew_picture"));
    browse_pic_btn = findChild<QPushButton *>(QStringLiteral("browse_pic_btn"));
    clear_pic_btn = findChild<QPushButton *>(QStringLiteral("clear_pic_btn"));

    const auto button = [this](const char *name, void (ProfileDialogBase::*slot)()) {
        connect(findChild<QPushButton *>(QLatin1String(name)), &QPushButton::clicked, this, slot);
    };
    button("OK_btn", &ProfileDialogBase::OK_Btn_Clicked);
    button("Cancel_btn", &ProfileDialogBase::Cancel_Btn_Clicked);
    button("Reset_btn", &ProfileDialogBase::Reset_Btn_Clicked);
    button("Help_btn", &ProfileDialogBase::Help_Btn_Clicked);
    button("Preview_btn", &ProfileDialogBase::Preview_Btn_Clicked);
    button("excel_browse_btn", &ProfileDialogBase::Browse_excel_Btn_Clicked);
    button("view_excel_btn", &ProfileDialogBase::View_Excel_Btn_Clicked);
    button("batch_series_btn", &ProfileDialogBase::Batch_Series_Btn_Clicked);
    button("browse_pic_btn", &ProfileDialogBase::Browse_image_Btn_Clicked);
    button("clear_pic_btn", &ProfileDialogBase::Clear_image_Btn_Clicked);
    // Made after a design with spreadsheet records was opened: its rows offer them too.
    offerSpreadsheetSourceInRows();
}

// --- Opening and resetting -------------------------------------------------------------------

int ProfileDialogBase::Open_Wnd(bool load)
{
    Reset_all_Ctrl();
    if (load) {
        excel_path_field->setText(Excel_Source_Path);
        Graphics_array = commands->editor().sideElements(commands->editor().sideInWork());
    }
    opened(load);
    if (load)
        loadSideElements();
    if (rows[0].value)
        rows[0].value->setFocus();
    const int code = ModalSeam::instance().execDialog(this);
    hide();
    return code == 1 ? 1 : 0;
}

void ProfileDialogBase::Reset_all_Ctrl()
{
    if (Preivew_picture)
        Preivew_picture->clear();
    Set_User_Image(QString());
    for (int i = 0; i < ProfileFields::Count; ++i) {
        ProfileRow &row = rows[i];
        for (QCheckBox *box : {row.labelChk, row.valueChk})
            if (box)
                box->setChecked(false);
        if (row.value)
            row.value->clear();
        setKind(i, 0);
        const QSignalBlocker blocker(row.choice);
        row.choice->setCurrentIndex(-1);
    }
}

void ProfileDialogBase::setKind(int row, int kind)
{
    {
        const QSignalBlocker blocker(rows[row].kind);
        rows[row].kind->setCurrentIndex(kind);
    }
    kindChanged(row);
}

void ProfileDialogBase::loadSideElements()
{
    for (const GraphicPtr &graphic : Graphics_array) {
        const GraphicKind kind = graphic->kind();
        if ((kind != GraphicKind::Text && kind != GraphicKind::Image) || !graphic->ctrl_is_visible)
            continue;
        const int row = ProfileFields::indexOfControlId(Trim_Str(graphic->control_ID));
        if (row < 0 || (row == ProfileFields::Photo) != (kind == GraphicKind::Image))
            continue;
        setRowValue(row, row == ProfileFields::Photo ? graphic->_file_path : graphic->Text_Value);
        if (row == ProfileFields::Photo)
            image_path_val->setText(graphic->_file_path);
        rowLoaded(row);
        const int source = graphic->data_source_type;
        if (source < 0 || source >= rows[row].kind->count()) {
            // A binding this dialog cannot show (a column while no spreadsheet is loaded here,
            // or a damaged value): no kind is selected, so OK leaves the element's binding as it is.
            const QSignalBlocker blocker(rows[row].kind);
            rows[row].kind->setCurrentIndex(-1);
            kindChanged(row);
            continue;
        }
        setKind(row, source);
        QComboBox *choice = rows[row].choice;
        int entry = -1;
        if (source == 1)
            entry = choice->findText(graphic->batch_list_name, Qt::MatchExactly);   // by name: positions shift
        else if (source == 2)
            entry = graphic->excel_col_indx >= 0 && graphic->excel_col_indx < choice->count() ? graphic->excel_col_indx : -1;
        if (source != 0)
            choice->setCurrentIndex(entry);
    }
}

// --- Kind and choice rules ---------------------------------------------------------------------

void ProfileDialogBase::kindChanged(int index)
{
    ProfileRow &row = rows[index];
    const int kind = row.kind->currentIndex();
    const bool typed = kind == 0;
    if (row.value)
        row.value->setReadOnly(!typed);
    if (index == ProfileFields::Photo) {
        browse_pic_btn->setEnabled(typed);
        clear_pic_btn->setEnabled(typed);
    }
    const QSignalBlocker blocker(row.choice);
    row.choice->setEnabled(kind > 0);
    if (kind == 1)
        DataSourceServices::Fill_Data_Set_File_Name_In_Combo(row.choice);
    else if (kind >= 2)
        DataSourceServices::Fill_Excel_Col_Name_In_Combo(row.choice);
    else
        row.choice->clear();
    row.choice->setCurrentIndex(-1);
    row.view->setEnabled(kind == 1);
}

void ProfileDialogBase::choiceChanged(int index)
{
    ProfileRow &row = rows[index];
    const QString text = row.choice->currentText();
    if (text.isEmpty())
        return;
    const int kind = row.kind->currentIndex();
    if (kind == 1)
        setRowValue(index, DataSourceServices::Get_First_Value_Of_Dataset(text));
    else if (kind == 2)
        setRowValue(index, DataSourceServices::Get_First_Value_Of_Excel_Binding(row.choice->currentIndex()));
}

QString ProfileDialogBase::rowValue(int row) const
{
    return row == ProfileFields::Photo ? image_path_val->text() : rows[row].value->text();
}

void ProfileDialogBase::setRowValue(int row, const QString &value)
{
    if (row == ProfileFields::Photo)
        Set_User_Image(value);
    else
        rows[row].value->setText(value);
}

// --- Validation and writing --------------------------------------------------------------------

bool ProfileDialogBase::Check_Validation()
{
    checked_field_name.clear();
    for (int i = 0; i < ProfileFields::Count; ++i) {
        const int kind = rows[i].kind->currentIndex();
        if ((kind == 1 || kind == 2) && rows[i].choice->currentIndex() < 0) {
            checked_field_name = QLatin1String(ProfileFields::all()[i].caption);
            return false;
        }
    }
    return true;
}

bool ProfileDialogBase::writeRecord(User_Profile_Class &record, bool commit)
{
    if (!Check_Validation()) {
        QString caption = Trim_Str(checked_field_name);
        caption.remove(QStringLiteral(" :"));
        Show_MessageBox(QStringLiteral("Please select the source") + QStringLiteral(" for '%1'").arg(caption));
        return false;
    }
    if (commit) {
        record.Fill_User_Profile_Enable = true;
        const bool records = DataSourceServices::spreadsheetSourceOffered();
        record.Excel_Binding = records;
        Excel_Binding_Use = records;
        if (records)
            Excel_Source_Path = excel_path_field->text();
    }
    for (int i = 0; i < ProfileFields::Count; ++i) {
        User_Profile_Field &field = record.field(i);
        field.value = rowValue(i);
        switch (rows[i].kind->currentIndex()) {
        case 0: field.setTyped(); break;
        case 1: field.setSeries(rows[i].choice->currentText(), rows[i].choice->currentIndex()); break;
        case 2: field.setColumn(rows[i].choice->currentIndex()); break;
        default: break;   // no kind chosen: the binding stays as it was
        }
    }
    return true;
}

bool ProfileDialogBase::Fill_Front_User_profile_value_in_Variable()
{
    return writeRecord(commands->Front_user_profile, true);
}

bool ProfileDialogBase::Fill_Back_User_profile_value_in_Variable()
{
    return writeRecord(commands->Back_user_profile, true);
}

bool ProfileDialogBase::Fill_TEMP_User_profile_value_in_Variable()
{
    return writeRecord(commands->TEMP_user_profile, false);
}

// --- Buttons -------------------------------------------------------------------------------------

void ProfileDialogBase::OK_Btn_Clicked()
{
    const QString side = Trim_Str(load_side);
    bool written = false;
    if (side == QLatin1String("F"))
        written = Fill_Front_User_profile_value_in_Variable();
    else if (side == QLatin1String("B"))
        written = Fill_Back_User_profile_value_in_Variable();
    else
        written = Fill_Front_User_profile_value_in_Variable() && Fill_Back_User_profile_value_in_Variable();
    if (written)
        done(1);
}

void ProfileDialogBase::Cancel_Btn_Clicked()
{
    // A spreadsheet loaded from the dialog stays loaded, recorded with its own workbook.
    if (!SpreadsheetTable::live().isEmpty() && !m_tableWorkbook.isEmpty())
        Excel_Source_Path = m_tableWorkbook;
    done(0);
}

void ProfileDialogBase::Reset_Btn_Clicked()
{
    Reset_all_Ctrl();
}

void ProfileDialogBase::Help_Btn_Clicked()
{
    Open_Help_File();
}

void ProfileDialogBase::Preview_Btn_Clicked()
{
    if (!Fill_TEMP_User_profile_value_in_Variable())
        return;
    EditorHost &editor = commands->editor();
    Graphics_array = commands->previewOfSide(editor.sideElements(editor.sideInWork()));
    Create_and_Set_Preview_picture();
}

void ProfileDialogBase::Browse_excel_Btn_Clicked()
{
    SpreadsheetWriter::removeTempFolder();
    const QString path = ModalSeam::instance().openFileName(this, tr("Choose a Spreadsheet"), QString(),
                                                            tr("Spreadsheets (*.xlsx *.XLSX)"));
    if (path.isEmpty())
        return;
    const QString before = excel_path_field->text();
    excel_path_field->setText(path);
    if (DataSourceServices::Check_And_Validate_File_Path(path) != 0) {
        excel_path_field->setText(before);   // the field names the workbook the records came from
        return;
    }
    Import_Excel *chooser = Import_Excel::defaultInstance();
    chooser->open_mode = QStringLiteral("E");
    if (chooser->Open_excel_Wnd(path, commands->recordRoom()) == 1)
        m_tableWorkbook = path;
    else
        excel_path_field->setText(before);
    offerSpreadsheetSourceInRows();
}

void ProfileDialogBase::Add_Excel_in_Data_Source_Combo()
{
    for (ProfileRow &row : rows) {
        const QSignalBlocker blocker(row.kind);
        DataSourceServices::Add_Excel_Col_Name_In_Combo(row.kind);
    }
}

void ProfileDialogBase::Remove_Excel_in_Data_Source_Combo()
{
    for (int i = 0; i < ProfileFields::Count; ++i) {
        const int before = rows[i].kind->currentIndex();
        {
            const QSignalBlocker blocker(rows[i].kind);
            DataSourceServices::Remove_Excel_Col_Name_In_Combo(rows[i].kind);
        }
        if (rows[i].kind->currentIndex() != before)
            kindChanged(i);
    }
}

void ProfileDialogBase::View_Excel_Btn_Clicked()
{
    if (Data_From_Excel *table = Data_From_Excel::defaultInstance())
        table->Open_Wnd();
}

void ProfileDialogBase::Batch_Series_Btn_Clicked()
{
    SeriesCommands::openSeriesManager();
}

void ProfileDialogBase::viewSeriesClicked(int row)
{
    View_Data_Series_By_Name(rows[row].choice);
}

void ProfileDialogBase::View_Data_Series_By_Name(QComboBox *choice)
{
    QComboBox kind;
    kind.addItems({QStringLiteral("Manual"), QStringLiteral("Series")});
    kind.setCurrentIndex(1);
    DataSourceServices::View_batch_Series_Button(&kind, choice);
}

void ProfileDialogBase::Browse_image_Btn_Clicked()
{
    const QString path = ModalSeam::instance().openFileName(this, tr("Choose a Photo"), QString(), kPictureFilter);
    if (path.isEmpty()) {
        Library_Selected_Image.clear();
        return;
    }
    QString message;
    if (!PaintStyles::checkPicture(path, &message)) {
        Show_Warning_MessageBox(message);
        return;
    }
    Set_User_Image(path);
}

void ProfileDialogBase::Clear_image_Btn_Clicked()
{
    Set_User_Image(QString());
}

void ProfileDialogBase::Set_User_Image(const QString &path)
{
    const QString trimmed = Trim_Str(path);
    image_path_val->setText(trimmed);
    if (trimmed.isEmpty()) {
        user_picture->clear();
        return;
    }
    const QImage picture = PaintStyles::readPicture(trimmed);   // by content: .jpe, .jfif too
    if (!picture.isNull())
        showPicture(user_picture, picture);
}

// --- Pictures ------------------------------------------------------------------------------------

QImage ProfileDialogBase::renderGraphics() const
{
    EditorHost &editor = commands->editor();
    LMNRenderingView renderer(editor.cardSize(), editor.backgroundPainterForSide(editor.sideInWork()),
                              DrawContext{Resource_Path, 1.0, {}});
    return renderer.image_From_Card_Graphics(Graphics_array, 0);
}

void ProfileDialogBase::showPicture(QLabel *label, const QImage &image) const
{
    if (!label)
        return;
    const QSize room = label->minimumSize().expandedTo(QSize(40, 40));
    label->setPixmap(QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void ProfileDialogBase::Create_and_Set_Preview_picture()
{
    showPicture(Preivew_picture, renderGraphics());
}
