#include "panels/ui/ElementPanelCommands.h"

#include "data/DataSeries.h"
#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNImage.h"
#include "document/MessageLog.h"
#include "document/PaintStyles.h"
#include "document/SetPropertiesCommand.h"
#include "document/StringUtilities.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "document/DatePattern.h"
#include "panels/Card_Property.h"
#include "panels/PanelsGlobals.h"
#include "panels/StackOrderCommand.h"
#include "panels/ui/EditRun.h"
#include "panels/ui/FontChoice.h"
#include "panels/ui/Image_Library.h"
#include "panels/ui/PanelHost.h"
#include "panels/ui/SettingsPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFontDialog>
#include <QMimeData>
#include <QSignalBlocker>
#include <QUndoStack>

#include <exception>

namespace {

// Open-panel filters that take the extensions in any letter case ("IMG_0001.JPG").
QString pictureFilter(const QString &title, const QStringList &extensions)
{
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    patterns.removeDuplicates();
    return QStringLiteral("%1 (%2)").arg(title, patterns.join(QLatin1Char(' ')));
}

const QStringList kPictureTypes = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe"),
                                   QStringLiteral("jfif"), QStringLiteral("gif"), QStringLiteral("bmp"),
                                   QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("tiff")};

} // namespace

ElementPanelCommands::ElementPanelCommands(PanelHost *host, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_run(new EditRun(this))
{
    connectPages();
    followHistory();
}

void ElementPanelCommands::followHistory()
{
    LMNDocument *document = m_host->panelDocument();
    if (!document)
        return;
    m_run->watch(document);
    // Undo and redo tell the canvases first (which select what came back), then move the
    // stack's index: the panel reads the elements or the card again at that point.
    connect(document, &LMNDocument::graphicsEdited, this, [this](GraphicList *, const GraphicList &, bool fromHistory) {
        if (fromHistory)
            m_reloadAfterHistory = true;
    });
    connect(document->undoManager(), &QUndoStack::indexChanged, this, [this] {
        if (!std::exchange(m_reloadAfterHistory, false))
            return;
        // While the same element stays selected, the panel stays on the page the user was on.
        SettingsPanel *p = panel();
        const GraphicPtr shown = p->Last_Selected_Graphic.lock();
        QWidget *page = p->ui.sett_tab->currentWidget();
        p->Last_Selected_Graphic.reset();
        const GraphicPtr selected = sideCanvas()->_Selected_Graphic;
        Show_RHS_Properties(selected);
        if (shown && shown == selected && p->ui.sett_tab->indexOf(page) >= 0)
            p->ui.sett_tab->setCurrentWidget(page);
    });
}

void ElementPanelCommands::recordEdit(const std::function<void()> &edit, const QString &text)
{
    if (m_recording > 0) {
        edit();
        return;
    }
    LMNGraphicView *canvas = sideCanvas();
    GraphicList elements = canvas->selectedGraphics();
    if (canvas->_Selected_Graphic && !elements.contains(canvas->_Selected_Graphic))
        elements.append(canvas->_Selected_Graphic);
    ++m_recording;
    try {
        SetPropertiesCommand::record(m_host->panelDocument(), &canvas->graphics(), elements, edit, text, m_run->current());
    } catch (...) {
        --m_recording;
        throw;
    }
    --m_recording;
}

SettingsPanel *ElementPanelCommands::panel() const
{
    return m_host->settingsPanel();
}

LMNGraphicView *ElementPanelCommands::sideCanvas() const
{
    return m_host->sideCanvas(Card_Front_Or_Back != 0 ? 1 : 0);
}

void ElementPanelCommands::connectPages()
{
    SettingsPanel *p = panel();
    connect(p->ui.shape_tab, &ShapePage::edited, this, &ElementPanelCommands::Update_Shape_Graphics);
    connect(p->ui.line_tab, &LinePage::edited, this, &ElementPanelCommands::Update_Line_Graphics);
    connect(p->ui.text_prop_tab, &TextPropPage::edited, this, &ElementPanelCommands::Update_Text_Graphics);
    connect(p->ui.text_edtng_tab, &TextEditPage::edited, this, &ElementPanelCommands::Update_Text_Graphics);
    connect(p->ui.image_tab, &ImagePage::edited, this, &ElementPanelCommands::Update_Image_Graphics);
    connect(p->ui.sign_tab, &SignPage::edited, this, &ElementPanelCommands::Update_Sign_Graphics);

    connect(p->ui.image_tab, &ImagePage::resetRequested, this, &ElementPanelCommands::Image_reset_Button);
    connect(p->ui.sign_tab, &SignPage::browseRequested, this, &ElementPanelCommands::Sign_Browse_Btn);
    connect(p->ui.datasource_tab, &DataSourcePage::browseFileRequested, this, &ElementPanelCommands::Manual_Image_Browse_Btn);
    connect(p->ui.datasource_tab, &DataSourcePage::browseLibraryRequested, this, &ElementPanelCommands::Manual_Library_Browse_Btn);
    connect(p->ui.datasource_tab, &DataSourcePage::viewRequested, this, [this] {
        if (View_batch_Series_Button)
            View_batch_Series_Button();
    });
    connect(p->ui.text_prop_tab, &TextPropPage::fontRequested, this, &ElementPanelCommands::Text_Font_Changed);
    connect(p->ui.text_edtng_tab, &TextEditPage::insertDateRequested, this, &ElementPanelCommands::Text_Insert_Date);
    connect(p->ui.text_edtng_tab, &TextEditPage::insertTimeRequested, this, &ElementPanelCommands::Text_Insert_Time);
    connect(p->ui.text_edtng_tab, &TextEditPage::templateRequested, this, &ElementPanelCommands::Insert_Template_Button);
    connect(p->ui.text_edtng_tab, &TextEditPage::undoRequested, this, [this] {
        if (LMNDocument *document = m_host->panelDocument())
            document->undoManager()->undo();
    });
    connect(p->ui.text_edtng_tab, &TextEditPage::redoRequested, this, [this] {
        if (LMNDocument *document = m_host->panelDocument())
            document->undoManager()->redo();
    });

    // Every combo box of the element pages reaches its rule through the one dispatch. Only
    // the user's choices are reported: code that selects an item calls the rule itself.
    const QList<QComboBox *> combos = {
        p->ui.line_tab->ui.Line_border_style,   p->ui.line_tab->ui.Line_ori_style,     p->ui.line_tab->ui.Line_cap_style,
        p->ui.text_prop_tab->ui.Text_border_style, p->ui.text_prop_tab->ui.Text_align_combo,
        p->ui.text_prop_tab->ui.Text_case_combo, p->ui.shape_tab->ui.shape_border_style,
        p->ui.shape_tab->ui.shape_hatch_style,  p->ui.image_tab->ui.Image_border_style, p->ui.sign_tab->ui.Sign_border_style,
        p->ui.datasource_tab->ui.Data_source_type, p->ui.datasource_tab->ui.Batch_Series};
    for (QComboBox *combo : combos)
        connect(combo, &QComboBox::activated, this, [this, combo] { comboBoxSelectionDidChange(combo); });

    connect(p->ui.print_object_chk, &QCheckBox::clicked, this, &ElementPanelCommands::Print_object_chk_changed);
    connect(p->ui.Cut_btn, &QToolButton::clicked, this, [this] {
        sideCanvas()->cut();
        Set_Paste_Button_Status();
    });
    connect(p->ui.Copy_btn, &QToolButton::clicked, this, [this] {
        sideCanvas()->copy();
        Set_Paste_Button_Status();
    });
    connect(p->ui.Paste_btn, &QToolButton::clicked, this, [this] { sideCanvas()->paste(); });
    // Whatever put elements on the clipboard (the Edit menu too), Paste follows it, except
    // while a locked element is shown.
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        if (!panel()->ui.Unlock_btn->isEnabled())
            Set_Paste_Button_Status();
    });
    connect(p->ui.Delete_btn, &QToolButton::clicked, this, [this] { sideCanvas()->deleteSelection(); });
    connect(p->ui.Begin_Front_btn, &QToolButton::clicked, this, &ElementPanelCommands::Bring_To_Front_Clicked);
    connect(p->ui.Send_Back_btn, &QToolButton::clicked, this, &ElementPanelCommands::Send_To_Back_Clicked);
    connect(p->ui.Lock_btn, &QToolButton::clicked, this, &ElementPanelCommands::Lock_Clicked);
    connect(p->ui.Unlock_btn, &QToolButton::clicked, this, &ElementPanelCommands::Unlock_Clicked);
    p->ui.View_barcode_prop_Button->setEnabled(false);
    connect(p->ui.View_barcode_prop_Button, &QPushButton::clicked, this, [this] {
        if (View_barcode_prop_Button)
            View_barcode_prop_Button();
    });
}

// ---------------------------------------------------------------------------------------------
// Showing

void ElementPanelCommands::Show_RHS_Properties(const GraphicPtr &graphic)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    m_host->selectArrowTool();
    try {
        if (graphic)
            showElement(graphic);
        else
            showCard();
    } catch (const std::exception &error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void ElementPanelCommands::showCard()
{
    SettingsPanel *p = panel();
    const LoadingGuard guard;
    m_run->startNew();
    const int side = Card_Front_Or_Back != 0 ? 1 : 0;
    m_host->sideCanvas(side)->Clear_Control_Selection();
    Disable_Standard_Button_For_Card();
    p->Last_Selected_Graphic.reset();
    Card_Property &record = m_host->cardRecord(side);
    Card_Front_Or_Back = side;
    record.Card_Location = QPointF(0, 0);
    record.Card_Size = m_host->cardSize();
    m_host->fillCardSizeList(record.Card_Category);
    p->showCard(record, Card_Shape.load());
    p->ui.Back_Side_btn->setEnabled(p->ui.Sides_ComboBox->currentIndex() == 0);
}

void ElementPanelCommands::showElement(const GraphicPtr &graphic)
{
    SettingsPanel *p = panel();
    Enable_Standard_Button_For_Control();
    if (graphic->ctrl_is_locked)
        Disable_Standard_Button_For_Lock();
    else
        Enable_Standard_Button_For_Unlock();
    if (p->Last_Selected_Graphic.lock() == graphic)
        return;

    m_run->startNew();
    p->Last_Selected_Graphic = graphic;
    p->Remove_All_Tab_Items();
    p->ui.print_object_chk->setChecked(graphic->print_object != 0);
    p->ui.sel_control_name->setText(QStringLiteral("NONE"));
    const bool locked = graphic->ctrl_is_locked;
    QTabWidget *tabs = p->ui.sett_tab;
    {
        const LoadingGuard guard;
        QList<std::pair<QWidget *, QString>> pages;
        QString lockedLabel;
        switch (graphic->kind()) {
        case GraphicKind::Text: {
            p->ui.sel_control_name->setText(QStringLiteral("T"));
            pages = {{p->text_edtng_tab, tr("Text")}, {p->text_prop_tab, tr("Text Style")},
                     {p->datasource_tab, QStringLiteral("Text Source")}};
            lockedLabel = QStringLiteral("Text Properties");
            p->ui.datasource_tab->setTitle(QStringLiteral("Text Source"));
            p->ui.datasource_tab->ui.manual_brws_box->setVisible(false);
            QPushButton *stock = p->ui.text_edtng_tab->ui.insert_template_btn;
            if (graphic->control_ID == QLatin1String("PARTY_TITLE"))
                stock->setText(QStringLiteral("Use Template Title"));
            else if (graphic->control_ID == QLatin1String("PARTY_MSG"))
                stock->setText(QStringLiteral("Use Template Message"));
            stock->setVisible(graphic->control_ID == QLatin1String("PARTY_TITLE")
                              || graphic->control_ID == QLatin1String("PARTY_MSG"));
            p->ui.text_edtng_tab->showText(graphic->_Text_contents);
            showDataSource(*graphic);
            p->ui.text_prop_tab->load(*graphic);
            break;
        }
        case GraphicKind::Image:
            p->ui.sel_control_name->setText(QStringLiteral("I"));
            pages = {{p->datasource_tab, QStringLiteral("Image Source")}, {p->image_tab, tr("Picture")}};
            lockedLabel = QStringLiteral("Image Properties");
            p->ui.datasource_tab->setTitle(QStringLiteral("Image Source"));
            p->ui.datasource_tab->ui.manual_brws_box->setVisible(true);
            p->ui.datasource_tab->ui.Manual_image_path->setPlainText(graphic->_file_path);
            showDataSource(*graphic);
            p->ui.image_tab->load(*graphic);
            break;
        case GraphicKind::Line:
            pages = {{p->line_tab, tr("Line")}};
            lockedLabel = QStringLiteral("Line Properties");
            p->ui.line_tab->load(*graphic);
            break;
        case GraphicKind::Signature:
            lockedLabel = graphic->sign_or_fingureprint == QLatin1String("S") ? QStringLiteral("Signature Properties")
                                                                               : QStringLiteral("FingrePrint Properties");
            pages = {{p->sign_tab, lockedLabel}};
            p->ui.sel_control_name->setText(graphic->sign_or_fingureprint);
            showDataSource(*graphic);
            p->ui.sign_tab->load(*graphic);
            break;
        case GraphicKind::Barcode:
            pages = {{p->barcode_tab, tr("Barcode")}};
            lockedLabel = QStringLiteral("Barcode Properties");
            p->ui.View_barcode_prop_Button->setEnabled(bool(View_barcode_prop_Button));
            break;
        default: {
            const QString code = graphic->Get_shape_type();
            const QString title = ShapePage::titleOf(code);
            if (!title.isEmpty())
                m_shapeLabel = title;
            p->ui.shape_tab->ui.Shape_prop_title->setText(m_shapeLabel);
            p->ui.shape_tab->showExtrasFor(code, locked);
            pages = {{p->shape_tab, m_shapeLabel}};
            lockedLabel = m_shapeLabel;
            p->ui.shape_tab->load(*graphic);
            break;
        }
        }
        if (locked) {
            tabs->addTab(p->Lock_tab, lockedLabel);
        } else {
            for (const auto &[page, title] : pages)
                tabs->addTab(page, title);
        }
        tabs->setCurrentIndex(0);
    }
    if (!locked)
        tabs->addTab(p->aligmnt_tab, tr("Align"));
}

void ElementPanelCommands::showDataSource(const LMNGraphic &graphic)
{
    Ui::DataSourcePage &source = panel()->ui.datasource_tab->ui;
    {
        const QSignalBlocker blocker(source.Data_source_type);
        source.Data_source_type->setCurrentIndex(
            graphic.data_source_type >= 0 && graphic.data_source_type < source.Data_source_type->count()
                ? graphic.data_source_type
                : 0);
    }
    // The kind rule sets the page's controls (while the panel is filled it changes no
    // element and says nothing) and selects the element's series.
    dataSourceKindRule();
}

// ---------------------------------------------------------------------------------------------
// Write-backs

void ElementPanelCommands::writeBack(const std::function<void(LMNGraphic &, qsizetype)> &apply)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    LMNGraphicView *canvas = sideCanvas();
    const GraphicList selected = canvas->selectedGraphics();
    if (selected.isEmpty())
        return;
    recordEdit([&] {
        for (const GraphicPtr &graphic : selected) {
            apply(*graphic, selected.size());
            canvas->startEditingGraphic(graphic);
        }
    });
    m_host->Refresh_Canvas();
}

void ElementPanelCommands::Update_Shape_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    ShapeTabValues values = panel()->ui.shape_tab->values();
    values.printObject = panel()->ui.print_object_chk->isChecked() ? 1 : 0;
    writeBack([&values](LMNGraphic &graphic, qsizetype) { values.apply(graphic); });
}

void ElementPanelCommands::Update_Line_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    LineTabValues values = panel()->ui.line_tab->values();
    values.printObject = panel()->ui.print_object_chk->isChecked() ? 1 : 0;
    writeBack([&values](LMNGraphic &graphic, qsizetype) { values.apply(graphic); });
}

void ElementPanelCommands::Update_Text_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    TextTabValues values = panel()->ui.text_prop_tab->values();
    values.printObject = panel()->ui.print_object_chk->isChecked() ? 1 : 0;
    const QString text = panel()->ui.text_edtng_tab->text();
    writeBack([&values, &text](LMNGraphic &graphic, qsizetype count) {
        // Only a single selected element takes the typed text.
        TextTabValues own = values;
        if (count == 1)
            own.text = text;
        own.apply(graphic);
    });
}

void ElementPanelCommands::Update_Image_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    ImageTabValues values = panel()->ui.image_tab->values();
    values.printObject = panel()->ui.print_object_chk->isChecked() ? 1 : 0;
    values.path = panel()->ui.datasource_tab->ui.Manual_image_path->toPlainText();
    writeBack([&values](LMNGraphic &graphic, qsizetype) { values.apply(graphic); });
}

void ElementPanelCommands::Update_Sign_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    SignTabValues values = panel()->ui.sign_tab->values();
    values.printObject = panel()->ui.print_object_chk->isChecked() ? 1 : 0;
    writeBack([&values](LMNGraphic &graphic, qsizetype) { values.apply(graphic); });
}

// ---------------------------------------------------------------------------------------------
// Picture and signature

void ElementPanelCommands::Reset_Image_Editing_Controls()
{
    panel()->ui.image_tab->resetEffectControls();
}

void ElementPanelCommands::Image_reset_Button()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")) != 1)
        return;
    recordEdit([this] {
        Reset_Image_Editing_Controls();
        Update_Image_Graphics();
    }, tr("Reset Picture Effects"));
}

bool ElementPanelCommands::readablePicture(const QString &path)
{
    // Read whole under the one rule for pictures, so that a file the element could not take
    // (not a picture, damaged, too large) is named with the reason here; the element then
    // takes the picture read (PaintStyles::checkPicture).
    QString message;
    if (PaintStyles::checkPicture(path, &message))
        return true;
    Show_Warning_MessageBox(message);
    return false;
}

bool ElementPanelCommands::Browse_User_Image_Manually()
{
    const QString path = ModalSeam::instance().openFileName(m_host->panelWindow(), tr("Choose a Picture"), QString(),
                                                            pictureFilter(tr("Pictures"), kPictureTypes));
    if (path.isEmpty() || !readablePicture(path)) {
        Library_Selected_Image.clear();
        return false;
    }
    Library_Selected_Image = path;
    panel()->ui.datasource_tab->ui.Manual_image_path->setPlainText(path);
    return true;
}

void ElementPanelCommands::Manual_Image_Browse_Btn()
{
    // The write-back loads the path shown into every selected picture.
    if (Browse_User_Image_Manually())
        Update_Image_Graphics();
}

void ElementPanelCommands::Manual_Library_Browse_Btn()
{
    if (Open_Image_Library_Window(QStringLiteral("C")) != 1 || !readablePicture(lib_window_sel_file))
        return;
    Library_Selected_Image = lib_window_sel_file;
    panel()->ui.datasource_tab->ui.Manual_image_path->setPlainText(Library_Selected_Image);
    Update_Image_Graphics();
}

void ElementPanelCommands::Sign_Browse_Btn()
{
    const QString path = ModalSeam::instance().openFileName(m_host->panelWindow(), tr("Choose a Signature"), QString(),
                                                            pictureFilter(tr("PNG pictures"), {QStringLiteral("png")}));
    if (path.isEmpty() || !readablePicture(path))
        return;
    panel()->ui.sign_tab->ui.Sign_image_path->setPlainText(path);
    Update_Sign_Graphics();
}

int ElementPanelCommands::Open_Image_Library_Window(const QString &mode)
{
    Image_Library *library = Image_Library::defaultInstance();
    library->control_or_BG = mode;
    const int result = library->Open_Library_Window();
    if (result == 1)
        lib_window_sel_file = library->selected_image;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Text

void ElementPanelCommands::Text_Font_Changed()
{
    TextPropPage *page = panel()->ui.text_prop_tab;
    CardFont font = page->Text_font;
    if (!FontChoice::ask(m_host->panelWindow(), font))
        return;
    page->setTextFont(font);   // changeTextFont:
    Update_Text_Graphics();
}

void ElementPanelCommands::Text_Insert_Date()
{
    const QString pattern = Trim_Str(panel()->ui.text_edtng_tab->chosenDatePattern());
    if (pattern.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Date format."));
        return;
    }
    panel()->ui.text_edtng_tab->insertAtCaret(DatePattern::Get_date_Value(pattern));
    Update_Text_Graphics();
}

void ElementPanelCommands::Text_Insert_Time()
{
    const QString pattern = Trim_Str(panel()->ui.text_edtng_tab->chosenTimePattern());
    if (pattern.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Time format."));
        return;
    }
    panel()->ui.text_edtng_tab->insertAtCaret(DatePattern::Get_time_Value(pattern));
    Update_Text_Graphics();
}

void ElementPanelCommands::Insert_Template_Button()
{
    TextEditPage *page = panel()->ui.text_edtng_tab;
    const QString mode = page->ui.insert_template_btn->text() == QLatin1String("Use Template Title") ? QStringLiteral("T")
                                                                                                        : QStringLiteral("M");
    const std::optional<QString> chosen = m_host->openStockTextPicker(mode);
    if (!chosen)
        return;
    page->showText(*chosen);
    Update_Text_Graphics();
}

// ---------------------------------------------------------------------------------------------
// Combo dispatch

void ElementPanelCommands::comboBoxSelectionDidChange(QComboBox *combo)
{
    try {
        SettingsPanel *p = panel();
        if (combo == p->ui.Card_image_layout || combo == p->ui.Card_border_style || combo == p->ui.Card_hatch_style)
            m_host->Update_Card_Graphics();
        else if (combo == p->ui.line_tab->ui.Line_border_style || combo == p->ui.line_tab->ui.Line_ori_style
                 || combo == p->ui.line_tab->ui.Line_cap_style)
            Update_Line_Graphics();
        else if (combo == p->ui.text_prop_tab->ui.Text_border_style || combo == p->ui.text_prop_tab->ui.Text_align_combo
                 || combo == p->ui.text_prop_tab->ui.Text_case_combo)
            Update_Text_Graphics();
        else if (combo == p->ui.shape_tab->ui.shape_border_style || combo == p->ui.shape_tab->ui.shape_hatch_style)
            Update_Shape_Graphics();
        else if (combo == p->ui.image_tab->ui.Image_border_style)
            Update_Image_Graphics();
        else if (combo == p->ui.sign_tab->ui.Sign_border_style)
            Update_Sign_Graphics();
        else if (combo == p->ui.datasource_tab->ui.Data_source_type)
            recordEdit([this] { dataSourceKindRule(); });
        else if (combo == p->ui.datasource_tab->ui.Batch_Series)
            recordEdit([this] { seriesOrColumnRule(); });
    } catch (const std::exception &error) {
        Show_NSLog_Message(QString::fromUtf8(error.what()));
    }
}

void ElementPanelCommands::dataSourceKindRule()
{
    SettingsPanel *p = panel();
    Ui::DataSourcePage &source = p->ui.datasource_tab->ui;
    // While the panel is filled the rule only sets controls: the element keeps its binding
    // and its text, and nothing is said.
    const bool filling = Not_Draw_Only_Prop_Change;
    const GraphicPtr element = sideCanvas()->_Selected_Graphic;
    const QString kind = source.Data_source_type->currentText();
    const bool manual = kind == QLatin1String("Manual");

    source.Batch_Series->setEnabled(!manual);
    p->ui.text_edtng_tab->ui.Text_value_Edit->setReadOnly(!manual);
    p->ui.text_edtng_tab->ui.insert_template_btn->setEnabled(manual);
    SetObjEnabled(source.manual_brws_box, manual ? 1 : 0);
    source.view_series_btn->setEnabled(!manual && bool(View_batch_Series_Button));

    const QSignalBlocker blocker(source.Batch_Series);
    if (manual) {
        if (element && !filling)
            element->Set_Data_source_type(0);
        return;
    }
    source.Batch_Series->clear();
    if (kind == QLatin1String("Series")) {
        const QStringList names = DataSeries::Get_datasheet_File_Name_Array();
        if (names.isEmpty()) {
            if (!filling)
                Show_MessageBox(QStringLiteral("Please create batch processing series first."));
            return;
        }
        source.Batch_Series->addItems(names);
        source.Batch_Series->setCurrentIndex(-1);
        if (element && !element->batch_list_name.isEmpty()) {
            source.Batch_Series->setCurrentIndex(source.Batch_Series->findText(element->batch_list_name));
            seriesOrColumnRule();
        }
        if (element && !filling)
            element->Set_Data_source_type(1);
        return;
    }
    // The spreadsheet kind: its column titles come from the spreadsheet binding.
    if (Fill_Excel_Col_Name_In_Combo)
        Fill_Excel_Col_Name_In_Combo(source.Batch_Series);
    source.Batch_Series->setCurrentIndex(-1);
    if (element) {
        if (element->excel_col_indx >= 0 && element->excel_col_indx < source.Batch_Series->count())
            source.Batch_Series->setCurrentIndex(element->excel_col_indx);
        seriesOrColumnRule();
        if (!filling)
            element->Set_Data_source_type(2);
    }
}

void ElementPanelCommands::seriesOrColumnRule()
{
    SettingsPanel *p = panel();
    Ui::DataSourcePage &source = p->ui.datasource_tab->ui;
    const QString kind = source.Data_source_type->currentText();
    const QString name = Trim_Str(source.Batch_Series->currentText());
    const int index = source.Batch_Series->currentIndex();
    LMNGraphicView *canvas = sideCanvas();
    const GraphicPtr element = canvas->_Selected_Graphic;
    // While the panel is filled the element already holds its binding and its value.
    if (name.isEmpty() || index < 0 || !element || Not_Draw_Only_Prop_Change)
        return;

    QString value;
    if (kind == QLatin1String("Series")) {
        element->Set_Data_source_type(1);
        element->Set_Batch_List_Name(name);
        element->Set_Batch_List_Index(index);
        // A series too large to be read gives the cards no values: say so now, and keep the
        // element's own value rather than show one no card will get.
        const QString refusal = DataSeries::refusal(name);
        if (!refusal.isEmpty()) {
            Show_Warning_MessageBox(refusal + QLatin1Char('.'));
            m_host->Refresh_Canvas();
            return;
        }
        value = DataSeries::readFirstValue(name);
    } else if (kind == QLatin1String("Excel")) {
        element->Set_Data_source_type(2);
        element->Set_Excel_binding_Index(index);
        if (Get_First_Value_Of_Excel_Binding)
            value = Get_First_Value_Of_Excel_Binding(index);
    } else {
        return;
    }
    if (element->kind() == GraphicKind::Text) {
        element->setText(value);
        p->ui.text_edtng_tab->showText(value);
    } else if (element->kind() == GraphicKind::Image) {
        static_cast<LMNImage &>(*element).setFilePath(value);
        source.Manual_image_path->setPlainText(value);
        Update_Image_Graphics();
    }
    m_host->Refresh_Canvas();
    canvas->startEditingGraphic(element);
    m_host->Refresh_Canvas();
}

void ElementPanelCommands::sidesRule()
{
    SettingsPanel *p = panel();
    const bool twoSides = p->ui.Sides_ComboBox->currentIndex() == 0;
    CARD_SIDE_STR = twoSides ? QStringLiteral("2") : QStringLiteral("1");
    p->ui.Back_Side_btn->setEnabled(twoSides);
    // The card has one number of sides: both records keep it, so a design saved on either
    // side reads back the same.
    m_host->cardRecord(0).Card_Side = CARD_SIDE_STR;
    m_host->cardRecord(1).Card_Side = CARD_SIDE_STR;
}

// ---------------------------------------------------------------------------------------------
// Standard edit buttons, lock and stacking

void ElementPanelCommands::setStandardButtons(bool cutCopy, bool paste, bool editing, bool unlock)
{
    Ui::SettingsPanel &ui = panel()->ui;
    ui.Cut_btn->setEnabled(cutCopy);
    ui.Copy_btn->setEnabled(cutCopy);
    if (paste)
        Set_Paste_Button_Status();
    else
        ui.Paste_btn->setEnabled(false);
    for (QToolButton *button : {ui.Delete_btn, ui.Begin_Front_btn, ui.Send_Back_btn, ui.Lock_btn})
        button->setEnabled(editing);
    ui.Unlock_btn->setEnabled(unlock);
}

void ElementPanelCommands::Enable_Standard_Button_For_Control()
{
    m_host->Undo_Redo_Button_state();
    setStandardButtons(true, true, true, false);
}

void ElementPanelCommands::Enable_Standard_Button_For_Unlock()
{
    m_host->Undo_Redo_Button_state();
    setStandardButtons(true, true, true, false);
}

void ElementPanelCommands::Disable_Standard_Button_For_Card()
{
    setStandardButtons(false, true, false, false);
}

void ElementPanelCommands::Disable_Standard_Button_For_Lock()
{
    setStandardButtons(false, false, false, true);
}

void ElementPanelCommands::Set_Paste_Button_Status()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    const QStringList formats = data ? data->formats() : QStringList();
    const qsizetype elements = formats.indexOf(LMNGraphicViewPasteboardType);
    const qsizetype files = formats.indexOf(QStringLiteral("text/uri-list"));
    panel()->ui.Paste_btn->setEnabled(elements >= 0 && (files < 0 || elements < files));
}

void ElementPanelCommands::Print_object_chk_changed()
{
    sideCanvas()->print_contol_or_not(panel()->ui.print_object_chk->isChecked() ? 1 : 0);
}

void ElementPanelCommands::setLocked(bool locked)
{
    LMNGraphicView *canvas = sideCanvas();
    const GraphicList selected = canvas->selectedGraphics();
    if (selected.isEmpty())
        return;
    recordEdit([&selected, locked] {
        for (const GraphicPtr &graphic : selected)
            graphic->ctrl_is_locked = locked;
    }, locked ? tr("Lock") : tr("Unlock"));
    // Read the shown element again: its pages change with the lock.
    panel()->Last_Selected_Graphic.reset();
    Show_RHS_Properties(canvas->_Selected_Graphic ? canvas->_Selected_Graphic : selected.first());
    canvas->update();
}

void ElementPanelCommands::Lock_Clicked()
{
    setLocked(true);
}

void ElementPanelCommands::Unlock_Clicked()
{
    setLocked(false);
}

void ElementPanelCommands::restack(bool toFront)
{
    LMNGraphicView *canvas = sideCanvas();
    auto *command = new StackOrderCommand(m_host->panelDocument(), &canvas->graphics(), canvas->selectedGraphics(), toFront,
                                          toFront ? tr("Bring to Front") : tr("Send to Back"));
    if (command->isEmpty()) {
        delete command;
        return;
    }
    m_host->panelDocument()->perform(command);
    m_host->Undo_Redo_Button_state();
    canvas->update();
}

void ElementPanelCommands::Bring_To_Front_Clicked()
{
    restack(true);
}

void ElementPanelCommands::Send_To_Back_Clicked()
{
    restack(false);
}
