#pragma once

#include "document/LMNGraphic.h"
#include "document/ui/CanvasHost.h"
#include "document/EditorHost.h"
#include "editor/ui/Invitation_Wizard.h"
#include "panels/Card_Property.h"
#include "panels/ui/PanelHost.h"
#include "ui_LMNWindowController.h"

#include <QMainWindow>

#include <memory>

class LMNDocument;
class LMNDeskView;
class LMNGraphicView;
class LMNGrid;
class PleaseWaitSheet;
class QLabel;
class QScrollArea;
class SettingsPanel;
struct CardDesign;
class DesignFileCommands;
class EditorMenus;
class ElementPanelCommands;
class LayoutCommands;
class CardPanelCommands;
class BackgroundGallery;
class HelpCommands;
class ProfileCommands;

// The editor window: the one main window of the application. It owns the three canvases
// (front, back, working side), the two card background records, the grid and the shared
// panels, and carries the drawing tools, the side commands and the file commands.
// The feature windows see it as an EditorHost, the canvases as a CanvasHost and the property
// panels as a PanelHost.
class LMNWindowController : public QMainWindow, public CanvasHost, public PanelHost, public EditorHost
{
    Q_OBJECT

public:
    explicit LMNWindowController(LMNDocument *document, QWidget *parent = nullptr);
    ~LMNWindowController() override;

    // Runs the start-up order once the window exists: resource folder, lists, canvases,
    // default card size, then the design at `designPath` when one is given and readable (the
    // reader's message otherwise), else a new design through the start screen. False when the
    // application must end (no resource folder, or the start screen was not finished).
    bool windowDidLoad(const QString &designPath = QString());

    Ui::LMNWindowController ui;
    LMNDocument *document() const override { return m_document; }
    SettingsPanel *settingsPanel() const override;

    // --- Fields other subsystems read and write ---
    LMNGraphicView *_graphicView = nullptr;
    LMNGraphicView *_graphicView_BACK = nullptr;
    LMNGraphicView *_graphicView_TEMP = nullptr;
    Card_Property Front_card_Prop;
    Card_Property Back_card_Prop;
    LMNGrid *grid = nullptr;
    int Selected_Control_Tool_value = 0;
    QString act_path_location;
    QString App_Name;
    QImage no_image_picture;
    QStringList pvc_card_arry;
    QStringList paper_card_arry;
    QStringList date_format_arry;
    QStringList time_format_arry;
    QAction *Undo_btn = nullptr;
    QAction *Redo_btn = nullptr;
    QAction *Align_with_grid_btn = nullptr;
    QLabel *Front_back_label = nullptr;

    // The design file in use; empty for an untitled design.
    QString designFilePath() const;
    DesignFileCommands *files() const { return m_files; }

    // --- Sides ---
    void Select_front_side() override;
    void Select_back_side();
    void Select_temp_design_side();
    void changeViewController(int side);
    LMNGraphicView *currentCanvas() const;
    // The canvas of the side in work (front or back); none while the working side is shown.
    LMNGraphicView *canvasInWork() const;
    Card_Property &currentCardProperty();

    // --- Tools ---
    // Picks a tool as the tool bar does (the picture tools ask for their picture first).
    void selectToolNumber(int tool);
    // Sets the current tool without side effects (code that creates elements).
    void setSelected_Control_Tool(int tool);
    void selectedToolDidChange(int tool);

    // --- Card size and lists ---
    QString Get_Item_Text(int row) const;
    void Create_List(const QString &name);
    void Mark_List_New_Selection(int row);
    void fillCardSizeList(const QString &category) override;
    void applyCardSizeRow(int row);
    static float MM_to_Points_Convert(float millimetres);
    void Set_Document_Size(const QSizeF &size);
    void SetDocumentCanvasSize(const QSizeF &size);
    QSizeF cardSize() const override;
    // Zooms every side so the whole card shows in the window.
    void fitCardInWindow() override;

    GraphicList &Get_Front_Controls_Array();
    GraphicList &Get_Back_Controls_Array();
    GraphicList Get_Temp_Controls_Array() const;
    void Temp_Design_Control_Assign();

    // --- Card background ---
    void Update_Card_Graphics() override;
    void Refresh_Canvas() override;
    void set_Front_BG_Image(const QString &path);
    void set_Back_BG_Image(const QString &path);
    // The background painter of a side, as a snapshot that worker threads may use.
    LMNRenderingView::BackgroundPainter backgroundPainterForSide(int side) const override;

    // --- EditorHost ---
    bool twoSided() const override;
    int sideInWork() const override;
    GraphicList &sideElements(int side) override { return side != 0 ? Get_Back_Controls_Array() : Get_Front_Controls_Array(); }
    QWidget *dialogParent() override { return this; }

    // --- New design, start screen, exit ---
    void New_Project_Setting_Reset();
    // Runs the start screen; 1 when it was finished. With `keepOpenDesign` (the New command)
    // the open design is replaced only when the start screen gives a new one.
    int Open_Start_Window(bool keepOpenDesign = false);
    // Places the wizard's texts as the party stack on the front and its background picture.
    void Fill_Party_Invidation_Details(const Invitation_Wizard::Answers &answers);
    void Exit_App();
    // The New command: offers to save, then starts over through the start screen.
    void newDesignCommand();

    // --- Design files and templates ---
    bool saveDesignTo(const QString &path);
    bool Read_and_load_design_Log(const QString &path, bool log_or_template);
    bool saveAsTemplate(const QString &name);
    // Puts a design that was read into the window, replacing the open one. Gives what it could
    // not take back: a background picture whose file cannot be read, each with the reason.
    QStringList applyDesign(const CardDesign &design);

    // --- Sheets, panels and small services ---
    void Show_Create_Modeless();
    void Hide_Destroy_Modeless();
    void Save_gen_image(const QImage &image, const QString &path);
    int Check_And_Validate_File_Path(const QString &path);
    static void Delete_Excel_File_Temp_Folder();
    static QString Convert_Path_From_URL(const QUrl &url);
    static QString Get_date_Value(const QString &pattern);
    static QString Get_time_Value(const QString &pattern);

    // --- Printing (src/output) ---
    void Print_Button();
    // --- E-mail (src/output) ---
    // The Mail command: the send window on the open design's cards.
    void Mail_Button();
    // Refreshes the e-mail account copies from the settings file.
    void Get_Email_Details();
    // --- Data series (the dialogs live in src/data/ui) ---
    void Batch_Series_Button();
    void Create_Series_Button();
    void Import_Wizard_Button();

    // --- CanvasHost ---
    void Card_Base_Drawing(QPainter &painter, const QRectF &rect) override;
    int Selected_Control_Tool() const override { return Selected_Control_Tool_value; }
    void selectArrowTool() override;
    QPointF Control_New_Point(const QString &cardSide) override;
    void Show_RHS_Properties(const GraphicPtr &graphic) override;
    void Undo_Redo_Button_state() override;
    void Open_Barcode_Window() override;
    void Reset_Image_Editing_Controls() override;
    void setAlignWithGridEnabled(bool enabled) override;
    CardFont All_Text_font() const override;
    QColor All_Text_clr() const override;
    QImage no_image() const override { return no_image_picture; }

    // --- Property panels (src/panels/ui): forwarders ---
    ElementPanelCommands *elementCommands() const { return m_elementCommands; }
    LayoutCommands *layoutCommands() const { return m_layoutCommands; }
    CardPanelCommands *cardCommands() const { return m_cardCommands; }
    BackgroundGallery *backgroundGallery() const { return m_gallery; }
    QWidget *panelWindow() override { return this; }
    LMNDocument *panelDocument() const override { return m_document; }
    LMNGraphicView *sideCanvas(int side) const override { return side != 0 ? _graphicView_BACK : _graphicView; }
    Card_Property &cardRecord(int side) override { return side != 0 ? Back_card_Prop : Front_card_Prop; }
    LMNGrid *panelGrid() const override { return grid; }
    void applyCardSize(const QSizeF &points) override;
    std::optional<QString> openStockTextPicker(const QString &titleOrMessage) override;
    void openGridWindow() override;

    // --- Help, sharing and the maker's links (src/help/ui) ---
    HelpCommands *help() const { return m_help.get(); }

    // --- Sender profile (src/profile/ui) ---
    ProfileCommands *profile() const { return m_profile.get(); }

signals:
    // The application must end now (the start screen was left without a card).
    void applicationEndRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createCanvases();
    // The zoom of the side on show, in the status bar.
    void showZoom();
    // The window at its remembered place and size, else over the screen's available room;
    // either way with its whole frame on the screen.
    void placeWindow();
    // Moves and, where needed, shrinks the window so its frame lies inside the available area
    // of its screen. The window manager frames a window only once it is shown: until then,
    // and while it puts the frame on, the placement is checked again.
    void keepFrameOnScreen();
    bool m_watchFraming = false;
    void loadLists();
    void applyWizardCardSettings();

    LMNDocument *m_document = nullptr;
    DesignFileCommands *m_files = nullptr;
    EditorMenus *m_menus = nullptr;
    ElementPanelCommands *m_elementCommands = nullptr;
    LayoutCommands *m_layoutCommands = nullptr;
    CardPanelCommands *m_cardCommands = nullptr;
    BackgroundGallery *m_gallery = nullptr;
    QList<LMNDeskView *> m_desks;
    QLabel *m_zoomLabel = nullptr;
    PleaseWaitSheet *m_pleaseWait = nullptr;
    std::unique_ptr<HelpCommands> m_help;
    std::unique_ptr<ProfileCommands> m_profile;
};
