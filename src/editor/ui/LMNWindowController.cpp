#include "editor/ui/LMNWindowController.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/generator/BarcodeGenerator.h"
#include "barcode/ui/BarcodeHandOver.h"
#include "data/SpreadsheetTable.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/DataSourceServices.h"
#include "data/ui/SeriesCommands.h"
#include "document/DocumentGlobals.h"
#include "document/FileUtilities.h"
#include "document/LMNDocument.h"
#include "document/LMNGrid.h"
#include "document/LMNBarcode.h"
#include "document/LMNSignature.h"
#include "document/LMNText.h"
#include "document/MessageLog.h"
#include "document/PaintStyles.h"
#include "document/PictureReading.h"
#include "document/ui/LMNDeskView.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "editor/CardSizeCatalog.h"
#include "document/DatePattern.h"
#include "editor/DesignFile.h"
#include "editor/EditorGlobals.h"
#include "editor/ResourceFolder.h"
#include "editor/WindowPlacement.h"
#include "editor/ui/DesignFileCommands.h"
#include "editor/ui/EditorColumns.h"
#include "editor/ui/EditorMenus.h"
#include "editor/ui/Grid_Wizard.h"
#include "editor/ui/Insert_Template.h"
#include "editor/ui/Invitation_Wizard.h"
#include "dialogs/ui/PleaseWaitSheet.h"
#include "editor/ui/Template_Wizard.h"
#include "help/ui/HelpCommands.h"
#include "profile/ui/ProfileCommands.h"
#include "dialogs/ui/SharedWindow.h"
#include "output/MailGlobals.h"
#include "output/ui/MailCommands.h"
#include "output/ui/PrintCommands.h"
#include "panels/CardBackgroundPainter.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/BackgroundGallery.h"
#include "panels/ui/CardPanelCommands.h"
#include "panels/ui/DataSourcePage.h"
#include "panels/ui/ElementPanelCommands.h"
#include "panels/ui/LayoutCommands.h"
#include "panels/ui/SettingsPanel.h"
#include "profile/PartyLayout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <QUndoStack>

namespace {
const QSizeF kDefaultCardSize(243, 154);
} // namespace

LMNWindowController::LMNWindowController(LMNDocument *document, QWidget *parent)
    : QMainWindow(parent)
    , m_document(document)
{
    Main_App_wnd = this;
    // A barcode not designed yet shows what the designer opens with.
    LMNBarcode::setSampleMaker([] { return BarcodeGenerator::picture(BarcodeElementSettings{}); });
    ui.setupUi(this);
    Front_back_label = ui.Front_back_label;
    App_Name = QApplication::applicationDisplayName();
    act_path_location = ResourceFolder::defaultLocation();

    grid = new LMNGrid(this);
    Front_card_Prop = Card_Property();
    Back_card_Prop = Card_Property();
    m_pleaseWait = new PleaseWaitSheet(this);
    m_help = std::make_unique<HelpCommands>(this);
    m_profile = std::make_unique<ProfileCommands>(
        *this, *this,
        ProfileCommands::Tools{[this] { return _graphicView_TEMP; }, [this] { return Selected_Control_Tool_value; },
                               [this](int tool) { setSelected_Control_Tool(tool); },
                               [this] { return DesignFile::roomForRecords(m_files->currentDesign()); }});
    setSharedWindowParent(this);
    m_files = new DesignFileCommands(this);
    // Data series: the data-source view button opens the spreadsheet data table.
    DataSourceServices::openSpreadsheetRecords() = [] { SeriesCommands::openDataTable(); };

    for (const CardSize &size : CardSizeCatalog::pvcCards())
        pvc_card_arry.append(size.name);
    for (const CardSize &size : CardSizeCatalog::paperCards())
        paper_card_arry.append(size.name);

    createCanvases();
    m_zoomLabel = new QLabel(this);
    m_zoomLabel->setObjectName(QStringLiteral("zoom_label"));
    m_zoomLabel->setTextFormat(Qt::PlainText);
    ui.statusbar->addPermanentWidget(m_zoomLabel);
    for (LMNDeskView *desk : std::as_const(m_desks))
        connect(desk->canvas(), &LMNGraphicView::zoomChanged, this, &LMNWindowController::showZoom);
    connect(ui.myTargetView, &QStackedWidget::currentChanged, this, &LMNWindowController::showZoom);
    showZoom();
    m_menus = new EditorMenus(this);
    Undo_btn = m_menus->undo();
    Redo_btn = m_menus->redo();
    Align_with_grid_btn = m_menus->alignWithGrid();
    // The card gets the room; the settings panel keeps a comfortable column on the right, which
    // scrolls where the window is too narrow for it.
    ui.main_splitter->setStretchFactor(0, 1);
    ui.main_splitter->setStretchFactor(1, 0);
    ui.settings_scroll->setMaximumWidth(380);
    ui.settings_scroll->setMinimumWidth(190);
    ui.main_splitter->setSizes({640, 340});

    m_elementCommands = new ElementPanelCommands(this, this);
    // Barcode designer: the barcode page's button opens it as a double click does.
    m_elementCommands->View_barcode_prop_Button = [this] { BarcodeHandOver::View_barcode_prop_Button(*this, canvasInWork()); };
    // Data binding: the source page's column list, first values, view and help buttons.
    m_elementCommands->Fill_Excel_Col_Name_In_Combo = &DataSourceServices::Fill_Excel_Col_Name_In_Combo;
    m_elementCommands->Get_First_Value_Of_Excel_Binding = &DataSourceServices::Get_First_Value_Of_Excel_Binding;
    m_elementCommands->View_batch_Series_Button = [this] {
        const auto &source = settingsPanel()->ui.datasource_tab->ui;
        DataSourceServices::View_batch_Series_Button(source.Data_source_type, source.Batch_Series);
    };
    connect(settingsPanel()->ui.datasource_tab, &DataSourcePage::helpRequested, this, &DataSourceServices::Data_Source_Help_Button);
    m_layoutCommands = new LayoutCommands(this, this);
    m_cardCommands = new CardPanelCommands(this, m_elementCommands, this);
    m_gallery = m_cardCommands->createBackgroundGallery(this);
    // Narrower, the tool bar's commands and the settings column no longer fit.
    setMinimumWidth(540);
    new EditorColumns(this, findChild<QDockWidget *>(QStringLiteral("background_gallery_dock")), ui.main_splitter,
                      m_gallery->parentWidget()->sizeHint().width(), 340);
    SettingsPanel *panel = settingsPanel();
    // The card commands read the card panel back (cardPanelEdited) and record every change
    // of the card pages as an undo step, the size list's too.
    connect(panel, &SettingsPanel::cardSizeRowChosen, this,
            [this](int row) {
                m_cardCommands->recordCardEdit([this, row] { applyCardSizeRow(row); },
                                               CardPanelCommands::stepName(QT_TRANSLATE_NOOP("CardPanelCommands", "Card Size")));
            });
    connect(panel, &SettingsPanel::backSideRequested, this, &LMNWindowController::Select_back_side);
    connect(panel->ui.Category_ComboBox, &QComboBox::textActivated, this, [this](const QString &category) {
        m_cardCommands->recordCardEdit([this, category] {
            fillCardSizeList(category);
            Mark_List_New_Selection(0);
        }, CardPanelCommands::stepName(QT_TRANSLATE_NOOP("CardPanelCommands", "Card Size")));
    });
    connect(panel->ui.Preset_ComboBox, &QComboBox::activated, this, [this] {
        m_cardCommands->recordCardEdit([this] { applyCardSizeRow(settingsPanel()->selectedSizeRow()); },
                                       CardPanelCommands::stepName(QT_TRANSLATE_NOOP("CardPanelCommands", "Orientation")));
    });
    connect(grid, &LMNGrid::alwaysShownChanged, this, &LMNWindowController::setAlignWithGridEnabled);
    connect(m_document->undoManager(), &QUndoStack::indexChanged, this, &LMNWindowController::Undo_Redo_Button_state);
    connect(m_document->undoManager(), &QUndoStack::cleanChanged, this, &LMNWindowController::Undo_Redo_Button_state);
}

LMNWindowController::~LMNWindowController()
{
    if (Main_App_wnd == this)
        Main_App_wnd = nullptr;
}

SettingsPanel *LMNWindowController::settingsPanel() const
{
    return ui.settings_panel;
}

// ---------------------------------------------------------------------------------------------
// Construction

void LMNWindowController::createCanvases()
{
    struct Side
    {
        QWidget *page;
        GraphicList *list;
        LMNGraphicView **canvas;
        QString code;
    };
    const Side sides[] = {{ui.first_view, &m_document->graphics, &_graphicView, QStringLiteral("F")},
                          {ui.second_view, &m_document->graphics_back, &_graphicView_BACK, QStringLiteral("B")},
                          {ui.temp_design_view, &m_document->graphics_temp, &_graphicView_TEMP, QStringLiteral("TEMP")}};
    for (const Side &side : sides) {
        auto *canvas = new LMNGraphicView(m_document, side.list);
        canvas->setHost(this);
        canvas->setGrid(grid);
        canvas->setCardSide(side.code);
        auto *desk = new LMNDeskView(canvas, side.page);
        side.page->layout()->addWidget(desk);
        m_desks.append(desk);
        *side.canvas = canvas;
    }
}

void LMNWindowController::showZoom()
{
    m_zoomLabel->setText(tr("Zoom %1%").arg(qRound(currentCanvas()->zoom() * 100.0)));
}

void LMNWindowController::placeWindow()
{
    const QByteArray remembered = ResourceFolder::windowGeometry(Resource_Path);
    if (remembered.isEmpty() || !restoreGeometry(remembered)) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
    }
    m_watchFraming = true;
    keepFrameOnScreen();
}

void LMNWindowController::keepFrameOnScreen()
{
    if (isMaximized() || isFullScreen() || isMinimized())
        return;
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect client = geometry();
    const QRect outer = frameGeometry();
    const QMargins frame(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                         outer.bottom() - client.bottom());
    const QRect fitted = WindowPlacement::fitted(client, frame, screen->availableGeometry());
    if (fitted != client)
        setGeometry(fitted);
    // Framed: from now on the user places the window.
    if (isVisible() && !frame.isNull())
        m_watchFraming = false;
}

void LMNWindowController::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_watchFraming)
        return;
    QTimer::singleShot(0, this, &LMNWindowController::keepFrameOnScreen);
    // A last look once the window manager has surely framed it; a window manager that adds
    // no frame leaves the placement as it is.
    QTimer::singleShot(2000, this, [this] {
        if (!m_watchFraming)
            return;
        keepFrameOnScreen();
        m_watchFraming = false;
    });
}

void LMNWindowController::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (m_watchFraming && isVisible())
        keepFrameOnScreen();
}

void LMNWindowController::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_watchFraming && isVisible())
        keepFrameOnScreen();
}

void LMNWindowController::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A window manager activates a new window once it has framed it, often without moving it.
    if (event->type() == QEvent::ActivationChange && m_watchFraming && isVisible())
        keepFrameOnScreen();
}

// ---------------------------------------------------------------------------------------------
// Tools

void LMNWindowController::setSelected_Control_Tool(int tool)
{
    Selected_Control_Tool_value = tool;
    m_menus->checkTool(tool);
}

void LMNWindowController::selectArrowTool()
{
    setSelected_Control_Tool(0);
}

void LMNWindowController::selectToolNumber(int tool)
{
    setSelected_Control_Tool(tool);
    selectedToolDidChange(tool);
}

void LMNWindowController::selectedToolDidChange(int tool)
{
    // The picture tools ask for their picture before an element is drawn: from a file, or
    // from the picture library.
    if (tool == 8 && !m_elementCommands->Browse_User_Image_Manually()) {
        selectArrowTool();
    } else if (tool == 9) {
        if (m_elementCommands->Open_Image_Library_Window(QStringLiteral("C")) == 1
            && m_elementCommands->readablePicture(lib_window_sel_file))
            Library_Selected_Image = lib_window_sel_file;
        else
            selectArrowTool();
    }
}

// ---------------------------------------------------------------------------------------------
// Sides

void LMNWindowController::changeViewController(int side)
{
    ui.myTargetView->setCurrentIndex(std::clamp(side, 0, 2));
}

void LMNWindowController::Select_front_side()
{
    Front_back_label->setText(QStringLiteral("Front"));
    Card_Front_Or_Back = 0;
    changeViewController(0);
    Show_RHS_Properties(nullptr);
}

void LMNWindowController::Select_back_side()
{
    Front_back_label->setText(QStringLiteral("Back"));
    Card_Front_Or_Back = 1;
    changeViewController(1);
    Show_RHS_Properties(nullptr);
}

void LMNWindowController::Select_temp_design_side()
{
    Front_back_label->setText(QStringLiteral("TEMP"));
    Temp_Design_Control_Assign();
    changeViewController(2);
    Show_RHS_Properties(nullptr);
}

LMNGraphicView *LMNWindowController::currentCanvas() const
{
    switch (ui.myTargetView->currentIndex()) {
    case 1: return _graphicView_BACK;
    case 2: return _graphicView_TEMP;
    default: return _graphicView;
    }
}

LMNGraphicView *LMNWindowController::canvasInWork() const
{
    // The working side's elements belong to another canvas: commands leave them alone.
    if (_graphicView_TEMP && currentCanvas() == _graphicView_TEMP)
        return nullptr;
    return Card_Front_Or_Back != 0 ? _graphicView_BACK : _graphicView;
}

Card_Property &LMNWindowController::currentCardProperty()
{
    return Card_Front_Or_Back != 0 ? Back_card_Prop : Front_card_Prop;
}

GraphicList &LMNWindowController::Get_Front_Controls_Array()
{
    return m_document->graphics;
}

GraphicList &LMNWindowController::Get_Back_Controls_Array()
{
    return m_document->graphics_back;
}

GraphicList LMNWindowController::Get_Temp_Controls_Array() const
{
    return m_document->graphics_temp;
}

void LMNWindowController::Temp_Design_Control_Assign()
{
    m_document->graphics_temp = Card_Front_Or_Back != 0 ? m_document->graphics_back : m_document->graphics;
    _graphicView_TEMP->Clear_Control_Selection();
    _graphicView_TEMP->update();
}

// ---------------------------------------------------------------------------------------------
// Card size

QString LMNWindowController::Get_Item_Text(int row) const
{
    if (row < 0 || row >= settingsPanel()->ListData.size()) {
        Show_NSLog_Message(QStringLiteral("No card size in row %1.").arg(row));
        return {};
    }
    return settingsPanel()->Get_Item_Text(row);
}

void LMNWindowController::Create_List(const QString &name)
{
    settingsPanel()->Create_List(name);
}

void LMNWindowController::Mark_List_New_Selection(int row)
{
    settingsPanel()->Mark_List_New_Selection(row);
}

void LMNWindowController::fillCardSizeList(const QString &category)
{
    SettingsPanel *panel = settingsPanel();
    const QSignalBlocker blocker(panel->ui.ColList->selectionModel());
    panel->Clear_List();
    for (const QString &name : category == QLatin1String("Paper Card") ? paper_card_arry : pvc_card_arry)
        Create_List(name);
}

void LMNWindowController::applyCardSizeRow(int row)
{
    SettingsPanel *panel = settingsPanel();
    const QList<CardSize> sizes = panel->ui.Category_ComboBox->currentText() == QLatin1String("Paper Card")
                                      ? CardSizeCatalog::paperCards()
                                      : CardSizeCatalog::pvcCards();
    if (row < 0 || row >= sizes.size())
        return;
    QSizeF mm(sizes.at(row).widthMM, sizes.at(row).heightMM);
    const bool vertical = panel->ui.Preset_ComboBox->currentText() == QLatin1String("Vertical");
    if (vertical != (mm.height() > mm.width()))
        mm.transpose();
    SetDocumentCanvasSize(QSizeF(MM_to_Points_Convert(float(mm.width())), MM_to_Points_Convert(float(mm.height()))));
    panel->ui.width_Stepper->setValue(mm.width());
    panel->ui.height_Stepper->setValue(mm.height());
    Update_Card_Graphics();
    fitCardInWindow();
}

float LMNWindowController::MM_to_Points_Convert(float millimetres)
{
    return float(millimetres * 2.834645669291);
}

void LMNWindowController::Set_Document_Size(const QSizeF &size)
{
    m_document->setCanvasSize(size);
}

void LMNWindowController::SetDocumentCanvasSize(const QSizeF &size)
{
    for (LMNGraphicView *canvas : {_graphicView, _graphicView_BACK, _graphicView_TEMP})
        canvas->setCanvasSize(size);
    Front_card_Prop.Card_Size = size;
    Back_card_Prop.Card_Size = size;
}

void LMNWindowController::fitCardInWindow()
{
    for (LMNDeskView *desk : std::as_const(m_desks))
        desk->fitCanvas();
}

QSizeF LMNWindowController::cardSize() const
{
    return _graphicView->canvasSize();
}

// ---------------------------------------------------------------------------------------------
// Card background

LMNRenderingView::BackgroundPainter LMNWindowController::backgroundPainterForSide(int side) const
{
    return CardBackgroundPainter(side != 0 ? Back_card_Prop : Front_card_Prop, Card_Shape.load(), Resource_Path);
}

bool LMNWindowController::twoSided() const
{
    return CARD_SIDE_STR == QLatin1String("2");
}

int LMNWindowController::sideInWork() const
{
    return Card_Front_Or_Back.load();
}

void LMNWindowController::Card_Base_Drawing(QPainter &painter, const QRectF &rect)
{
    const Card_Property &record = Card_Front_Or_Back != 0 ? Back_card_Prop : Front_card_Prop;
    CardBackgroundPainter::Card_Base_Drawing(painter, record, Card_Shape.load(), QRectF(QPointF(0, 0), cardSize()), rect,
                                             Resource_Path);
}

void LMNWindowController::Update_Card_Graphics()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    const int side = Card_Front_Or_Back.load();
    settingsPanel()->readCardPanel(side != 0 ? Back_card_Prop : Front_card_Prop, side,
                                   QRectF(QPointF(0, 0), cardSize()), Card_Shape.load());
    CARD_SIDE_STR = Front_card_Prop.Card_Side;
    Refresh_Canvas();
}

void LMNWindowController::Refresh_Canvas()
{
    (Card_Front_Or_Back != 0 ? _graphicView_BACK : _graphicView)->update();
}

// Stock templates name their background picture by its place inside the resource folder
// ("Background/Starry Night.jpg"), since where that folder lies is known only on the user's
// machine; a design read back takes such a path from the resource folder in use.
static QString resourcePicturePath(const QString &path)
{
    return ResourceFolder::resolvedPath(path, Resource_Path);
}

static void setBackgroundPicture(Card_Property &record, const QString &path, QString *message = nullptr)
{
    record.Card_BG_Image = PaintStyles::readPicture(path, message);
    record.Card_fill_chk = true;
    record.Card_fill_style = QStringLiteral("I");
    record.Card_BG_Image_Path = path;
}

void LMNWindowController::set_Front_BG_Image(const QString &path)
{
    m_cardCommands->set_Front_BG_Image(path);
}

void LMNWindowController::set_Back_BG_Image(const QString &path)
{
    m_cardCommands->set_Back_BG_Image(path);
}

// ---------------------------------------------------------------------------------------------
// Property panel

void LMNWindowController::Show_RHS_Properties(const GraphicPtr &graphic)
{
    m_elementCommands->Show_RHS_Properties(graphic);
}

void LMNWindowController::Undo_Redo_Button_state()
{
    Undo_btn->setEnabled(m_document->undoManager()->canUndo());
    Redo_btn->setEnabled(m_document->undoManager()->canRedo());
}

// --- Barcode designer ---
void LMNWindowController::Open_Barcode_Window()
{
    BarcodeHandOver::Open_Barcode_Window(*this, canvasInWork());
}

void LMNWindowController::Reset_Image_Editing_Controls()
{
    m_elementCommands->Reset_Image_Editing_Controls();
}

void LMNWindowController::setAlignWithGridEnabled(bool enabled)
{
    if (Align_with_grid_btn)
        Align_with_grid_btn->setEnabled(enabled);
}

CardFont LMNWindowController::All_Text_font() const
{
    return settingsPanel()->All_Text_font;
}

QColor LMNWindowController::All_Text_clr() const
{
    return settingsPanel()->ui.All_Text_clr->color();
}

QPointF LMNWindowController::Control_New_Point(const QString &)
{
    const QPointF point(last_ctrl_X, last_ctrl_Y);
    // Each new element starts a little further down and right, wrapping inside the card.
    last_ctrl_X += 10.0f;
    last_ctrl_Y += 10.0f;
    const QSizeF size = cardSize();
    if (last_ctrl_X > size.width() - 40 || last_ctrl_Y > size.height() - 40) {
        last_ctrl_X = 10.0f;
        last_ctrl_Y = 10.0f;
    }
    return point;
}

// ---------------------------------------------------------------------------------------------
// Start-up, new design, start screen, exit

void LMNWindowController::loadLists()
{
    date_format_arry = {QStringLiteral("EEEE, MMMM d, y"), QStringLiteral("MMMM d, y"), QStringLiteral("d MMMM y"),
                        QStringLiteral("EEE, d MMM y"), QStringLiteral("MM/dd/y"), QStringLiteral("dd/MM/y"),
                        QStringLiteral("dd.MM.y"), QStringLiteral("y-MM-dd")};
    time_format_arry = {QStringLiteral("h:mm a"), QStringLiteral("h a"), QStringLiteral("HH:mm"),
                        QStringLiteral("h 'o''clock' a")};
    Invitation_Wizard *wizard = Invitation_Wizard::defaultInstance();
    wizard->setDateFormats(date_format_arry);
    wizard->setTimeFormats(time_format_arry);
    wizard->loadBackgrounds(QDir(Resource_Path).filePath(QStringLiteral("Background")));
    settingsPanel()->fillHatchStyles(QDir(Resource_Path).filePath(QStringLiteral("Fill_Style_Image")));
    m_gallery->Load_and_fill_backgrounds(Resource_Path);
    no_image_picture = PictureReading::readFile(QDir(Resource_Path).filePath(QStringLiteral("no.png"))).picture;
}

bool LMNWindowController::windowDidLoad(const QString &designPath)
{
    Resource_Path = ResourceFolder::defaultLocation();
    act_path_location = Resource_Path;
    QString error;
    if (!ResourceFolder::prepare(Resource_Path, &error)) {
        Show_Warning_MessageBox(tr("Festiloom cannot use its resource folder.\n%1").arg(error));
        return false;
    }
    placeWindow();
    Data_Folder_Path = QDir(Resource_Path).filePath(QStringLiteral("DataSet"));
    Get_Email_Details();

    {
        Not_Draw_Only_Prop_Change = true;
        loadLists();
        SettingsPanel *panel = settingsPanel();
        panel->ui.Card_image_layout->setCurrentIndex(1);
        panel->ui.Card_bor_Stepper->setValue(3);
        panel->ui.Card_border_style->setCurrentIndex(0);
        panel->ui.Sides_ComboBox->setCurrentIndex(0);
        panel->card_prop_set(QStringLiteral("S"));
        Not_Draw_Only_Prop_Change = false;
    }

    SetDocumentCanvasSize(kDefaultCardSize);
    Undo_Redo_Button_state();
    const bool opened = !designPath.isEmpty() && Read_and_load_design_Log(QFileInfo(designPath).absoluteFilePath(), true);
    if (opened)
        Undo_Redo_Button_state();
    else if (Open_Start_Window() != 1)
        return false;
    Select_front_side();
    // The desks know their room once the window is on the screen.
    QTimer::singleShot(0, this, &LMNWindowController::fitCardInWindow);
    return true;
}

void LMNWindowController::New_Project_Setting_Reset()
{
    Not_Draw_Only_Prop_Change = false;
    SettingsPanel *panel = settingsPanel();
    panel->ui.All_Text_clr->setColor(Qt::black);
    panel->All_Text_font = CardFont(Text_Ctrl_Font, 14);
    SettingsPanel::showFont(panel->ui.All_Text_font_value, panel->All_Text_font);
    for (Card_Property *record : {&Front_card_Prop, &Back_card_Prop}) {
        const QSizeF size = record->Card_Size;
        *record = Card_Property();
        record->Card_Content_clr = Qt::black;
        record->Card_Content_font = panel->All_Text_font;
        record->Card_Size = size;
    }
    panel->All_Text_clr_COPY = Qt::black;
    panel->All_Text_font_COPY = panel->All_Text_font;
    Card_Shape = 0;
    CARD_SIDE_STR = QStringLiteral("2");
    m_files->setPath(QString());
    m_profile->reset();

    for (LMNGraphicView *canvas : {_graphicView, _graphicView_BACK, _graphicView_TEMP})
        canvas->Clear_Control_Selection();
    m_document->graphics.clear();
    m_document->graphics_back.clear();
    m_document->graphics_temp.clear();
    m_document->undoManager()->clear();
    panel->Last_Selected_Graphic.reset();
    Check_Path_And_Create_Files();
    Card_Front_Or_Back = 0;
    changeViewController(0);
    Front_back_label->setText(QStringLiteral("Front"));
    Refresh_Canvas();
}

int LMNWindowController::Open_Start_Window(bool keepOpenDesign)
{
    // At launch the window starts empty. From the New command the open design stays until the
    // start screen is finished: opening a design or a template replaces it as it loads, the
    // wizard's card replaces it below, and Cancel leaves it as it was.
    if (!keepOpenDesign)
        New_Project_Setting_Reset();
    const int shapeBefore = Card_Shape;
    m_profile->forgetWizardProfile();
    Invitation_Wizard *wizard = Invitation_Wizard::defaultInstance();
    const auto openProfile = [this] { m_profile->Open_User_Profile_Window(false, QString()); };
    wizard->openProfile = openProfile;
    Template_Wizard::defaultInstance()->openProfile = openProfile;

    // The start page's other two roads end the start screen with OK once a design is loaded.
    QMetaObject::Connection openConnection = connect(wizard, &Invitation_Wizard::openDesignRequested, this, [this, wizard] {
        const QString path = m_files->chooseDesignToOpen(wizard);
        if (!path.isEmpty() && Read_and_load_design_Log(path, true))
            wizard->designReady();
    });
    QMetaObject::Connection templateConnection = connect(wizard, &Invitation_Wizard::templateRequested, this, [this, wizard] {
        Template_Wizard *gallery = Template_Wizard::defaultInstance();
        const int chosen = gallery->Open_Wnd(QDir(Resource_Path).filePath(QStringLiteral("Templates")));
        Card_Shape = 0;
        if (chosen == 1 && Read_and_load_design_Log(gallery->selected_template, false))
            wizard->designReady();
    });
    const int result = wizard->Open_Wnd();
    disconnect(openConnection);
    disconnect(templateConnection);
    if (result != 1) {
        Card_Shape = shapeBefore;   // a template that failed to load may have reset it
        return 0;
    }

    if (wizard->start_option == QLatin1String("W")) {
        if (keepOpenDesign)
            New_Project_Setting_Reset();
        m_document->disableUndoRegistration();
        applyWizardCardSettings();
        Fill_Party_Invidation_Details(wizard->answers());
        Show_RHS_Properties(nullptr);
        m_document->enableUndoRegistration();
    }
    m_profile->placeWizardProfile();
    m_files->markSaved();   // a design just started has nothing to lose yet
    Undo_Redo_Button_state();
    return 1;
}

void LMNWindowController::applyWizardCardSettings()
{
    Invitation_Wizard *wizard = Invitation_Wizard::defaultInstance();
    const QSizeF mm = wizard->chosenSizeMm();
    SetDocumentCanvasSize(QSizeF(MM_to_Points_Convert(float(mm.width())), MM_to_Points_Convert(float(mm.height()))));
    Card_Shape = wizard->chosenShape();
    for (Card_Property *record : {&Front_card_Prop, &Back_card_Prop}) {
        record->Card_Category = wizard->chosenCategory();
        record->Card_Preset = wizard->chosenPreset();
        record->Card_Sub_Category = wizard->chosenSizeName();
        record->Card_Cat_index = wizard->chosenSizeRow();
        record->Card_Shape = Card_Property::shapeCode(Card_Shape);
    }
    Select_front_side();
}

void LMNWindowController::Fill_Party_Invidation_Details(const Invitation_Wizard::Answers &answers)
{
    setSelected_Control_Tool(2);
    // A stack taller than the card is squeezed onto it, so nothing lies below the bottom edge.
    float factor = 1.0f;
    const QList<PartyElement> stack =
        PartyLayout::fitted(PartyLayout::layout(float(Front_card_Prop.Card_Size.width()), answers.party),
                            float(Front_card_Prop.Card_Size.height()), PartyLayout::kMargin, &factor);
    for (const PartyElement &element : stack) {
        _graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, element.rect, QStringLiteral("F"),
                                           element.text, element.controlId);
        const GraphicPtr placed = _graphicView->Selcect_Ctrl_With_ID(element.controlId);
        if (!placed || placed->kind() != GraphicKind::Text)
            continue;
        if (factor < 1.0f) {
            placed->text_ctrl_font.pointSize =
                PartyLayout::fittedFontSize(element, float(placed->text_ctrl_font.pointSize), factor);
        }
        // Each answer's text fits its own box too: a long date or title is set smaller rather
        // than wrapped onto a line its box has no room for. On a narrow card a box may also
        // take the width the stack leaves on its right, then the card's side margins.
        auto &text = static_cast<LMNText &>(*placed);
        const double cardWidth = Front_card_Prop.Card_Size.width();
        const QRectF box = text.bounds();
        for (const double inset : {box.left(), double(PartyLayout::kMargin)}) {
            if (text.shrinkFontToFit(PartyLayout::kSmallestFont))
                break;
            const QRectF wider(std::min(box.left(), inset), box.top(), cardWidth - 2.0 * std::min(box.left(), inset),
                               box.height());
            if (wider.width() > text.bounds().width())
                text.setBounds(wider);
        }
        text.shrinkFontToFit(PartyLayout::kSmallestFont);
    }
    set_Front_BG_Image(answers.background);
}

void LMNWindowController::newDesignCommand()
{
    // Starting over drops the open design: offer to keep it first.
    if (!m_files->offerToSave())
        return;
    // Cancel on the start screen keeps the design that was open.
    if (Open_Start_Window(true) != 1)
        return;
    Select_front_side();
    fitCardInWindow();
}

void LMNWindowController::Exit_App()
{
    if (!m_files->offerToSave())
        return;   // cancelled, or the save was cancelled or failed: keep the window and the design
    ResourceFolder::rememberWindowGeometry(Resource_Path, saveGeometry());
    m_help->Show_Review_Window();
    emit applicationEndRequested();
}

void LMNWindowController::closeEvent(QCloseEvent *event)
{
    // Closing the window is the Exit command; the application decides when it really ends.
    event->ignore();
    Exit_App();
}

// ---------------------------------------------------------------------------------------------
// Design files and templates

QString LMNWindowController::designFilePath() const
{
    return m_files->path();
}

bool LMNWindowController::saveDesignTo(const QString &path)
{
    return m_files->saveTo(path);
}

bool LMNWindowController::Read_and_load_design_Log(const QString &path, bool log_or_template)
{
    return m_files->read(path, log_or_template);
}

bool LMNWindowController::saveAsTemplate(const QString &name)
{
    return m_files->saveAsTemplate(name);
}

QStringList LMNWindowController::applyDesign(const CardDesign &design)
{
    New_Project_Setting_Reset();
    Not_Draw_Only_Prop_Change = true;
    Front_card_Prop = design.Front_card_Prop;
    Back_card_Prop = design.Back_card_Prop;
    Card_Shape = design.Card_Shape;
    CARD_SIDE_STR = design.Front_card_Prop.Card_Side;
    m_document->graphics = design.graphics;
    m_document->graphics_back = design.graphics_back;
    // Element pictures named inside the resource folder take this account's copy.
    for (GraphicList *side : {&m_document->graphics, &m_document->graphics_back}) {
        for (const GraphicPtr &graphic : *side) {
            const QString resolved = resourcePicturePath(graphic->_file_path);
            if (resolved == graphic->_file_path)
                continue;
            if (auto *signature = dynamic_cast<LMNSignature *>(graphic.get()); signature && QFileInfo(resolved).isFile())
                signature->setFilePath(resolved);
            else
                graphic->_file_path = resolved;
        }
    }
    // The design's spreadsheet records replace the data table whole.
    ::Excel_Binding_Use = design.Excel_Binding_Use;
    ::Excel_Source_Path = design.Excel_Source_Path;
    SpreadsheetTable loaded;
    loaded.titles = design.Excel_Column_Titles;
    loaded.records = design.Excel_Records;
    SpreadsheetTable::live() = loaded;
    m_profile->offerSpreadsheetSource();
    SetDocumentCanvasSize(design.Front_card_Prop.Card_Size.isEmpty() ? kDefaultCardSize : design.Front_card_Prop.Card_Size);
    Not_Draw_Only_Prop_Change = false;
    // A background picture is read again from its file; one that cannot be is named.
    QStringList lost;
    const auto readBackground = [&](Card_Property &record, const char *side) {
        if (!record.Card_fill_chk || record.Card_fill_style != QLatin1String("I"))
            return;
        QString message;
        setBackgroundPicture(record, resourcePicturePath(record.Card_BG_Image_Path), &message);
        if (record.Card_BG_Image.isNull() && !message.isEmpty())
            lost << tr(side).arg(message);
    };
    readBackground(Front_card_Prop, QT_TR_NOOP("The background of the front side: %1"));
    readBackground(Back_card_Prop, QT_TR_NOOP("The background of the back side: %1"));
    Select_front_side();
    fitCardInWindow();
    return lost;
}

// ---------------------------------------------------------------------------------------------
// Sheets, panels and small services

void LMNWindowController::Show_Create_Modeless()
{
    m_pleaseWait->begin();
}

void LMNWindowController::Hide_Destroy_Modeless()
{
    m_pleaseWait->end();
}

// ---------------------------------------------------------------------------------------------
// E-mail

void LMNWindowController::Mail_Button()
{
    MailCommands::Mail_Button(this);
}

void LMNWindowController::Get_Email_Details()
{
    ::Get_Email_Details();
}

void LMNWindowController::Save_gen_image(const QImage &image, const QString &path)
{
    // PNG data whatever the extension says, written whole or not at all.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && !image.isNull() && image.save(&file, "PNG") && file.commit())
        return;
    file.cancelWriting();
    Show_Warning_MessageBox(path);
    Show_Warning_MessageBox(image.isNull() ? tr("There is no picture to save.") : file.errorString());
}

int LMNWindowController::Check_And_Validate_File_Path(const QString &path)
{
    return DataSourceServices::Check_And_Validate_File_Path(path);
}

void LMNWindowController::Delete_Excel_File_Temp_Folder()
{
    SpreadsheetWriter::removeTempFolder();
}

// ---------------------------------------------------------------------------------------------
// Data series

void LMNWindowController::Batch_Series_Button() { SeriesCommands::openSeriesManager(); }
void LMNWindowController::Create_Series_Button() { SeriesCommands::openSeriesGenerator(); }
void LMNWindowController::Import_Wizard_Button() { SeriesCommands::openImportWizard(); }

QString LMNWindowController::Convert_Path_From_URL(const QUrl &url)
{
    return url.toLocalFile();
}

QString LMNWindowController::Get_date_Value(const QString &pattern)
{
    return DatePattern::Get_date_Value(pattern);
}

QString LMNWindowController::Get_time_Value(const QString &pattern)
{
    return DatePattern::Get_time_Value(pattern);
}

// ---------------------------------------------------------------------------------------------
// Printing

void LMNWindowController::Print_Button()
{
    PrintCommands::Print_Button(this);
}

// ---------------------------------------------------------------------------------------------
// Property panels: what they need of the window

void LMNWindowController::applyCardSize(const QSizeF &points)
{
    Set_Document_Size(points);
    SetDocumentCanvasSize(points);
}

std::optional<QString> LMNWindowController::openStockTextPicker(const QString &titleOrMessage)
{
    Insert_Template *picker = Insert_Template::defaultInstance();
    picker->title_or_msg = titleOrMessage;
    if (picker->Open_Template_Dialog() != 1)
        return std::nullopt;
    return Template_Msg_Val;
}

void LMNWindowController::openGridWindow()
{
    Grid_Wizard::defaultInstance()->Open_Wnd(grid);
}
