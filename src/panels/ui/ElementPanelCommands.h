#pragma once

#include "document/LMNGraphic.h"

#include <QObject>

#include <functional>

class EditRun;
class PanelHost;
class SettingsPanel;
class LMNGraphicView;
class QComboBox;

// The element side of the settings panel: showing the card or one element
// (Show_RHS_Properties), the write-backs of the element pages into every selected element,
// the picture and text commands, the combo dispatch with the data-source rules, the
// standard edit buttons and the lock and stacking commands.
class ElementPanelCommands : public QObject
{
    Q_OBJECT

public:
    ElementPanelCommands(PanelHost *host, QObject *parent = nullptr);

    // --- Showing ---
    // The card of the side in work for none, else the element's pages filled from it.
    void Show_RHS_Properties(const GraphicPtr &graphic);

    // --- Write-backs: each page into every selected element of the side in work ---
    void Update_Shape_Graphics();
    void Update_Line_Graphics();
    void Update_Text_Graphics();
    void Update_Image_Graphics();
    void Update_Sign_Graphics();

    // --- Picture and signature ---
    void Reset_Image_Editing_Controls();
    void Image_reset_Button();
    // Asks for a picture file; on a readable choice it becomes Library_Selected_Image and
    // the source page's path, and the answer is true.
    bool Browse_User_Image_Manually();
    void Manual_Image_Browse_Btn();
    void Manual_Library_Browse_Btn();
    void Sign_Browse_Btn();
    // Runs the picture library ("C" element pictures, "B" backgrounds); on OK its choice is
    // left in lib_window_sel_file. 1 for OK, else 0.
    int Open_Image_Library_Window(const QString &mode);
    // Whether a chosen picture can be read; says so, naming the file and the reason, when it
    // cannot.
    bool readablePicture(const QString &path);

    // --- Text ---
    void Text_Font_Changed();
    void Text_Insert_Date();
    void Text_Insert_Time();
    void Insert_Template_Button();

    // --- Combo dispatch ---
    void comboBoxSelectionDidChange(QComboBox *combo);
    void dataSourceKindRule();
    void seriesOrColumnRule();
    void sidesRule();

    // --- Standard edit buttons ---
    void Enable_Standard_Button_For_Control();
    void Enable_Standard_Button_For_Unlock();
    void Disable_Standard_Button_For_Card();
    void Disable_Standard_Button_For_Lock();
    void Set_Paste_Button_Status();
    void Print_object_chk_changed();
    void Lock_Clicked();
    void Unlock_Clicked();
    void Bring_To_Front_Clicked();
    void Send_To_Back_Clicked();

    // --- Entry points other parts of the program fill in ---
    // The spreadsheet branch of the source page ("Excel" kind): lists the column titles in
    // the combo, and gives the first record's value of a column.
    std::function<void(QComboBox *)> Fill_Excel_Col_Name_In_Combo;
    std::function<QString(int)> Get_First_Value_Of_Excel_Binding;
    // The source page's view button (series viewer or spreadsheet data); the button stays
    // disabled while this is not set.
    std::function<void()> View_batch_Series_Button;
    // The barcode page's designer button; disabled while this is not set.
    std::function<void()> View_barcode_prop_Button;

    // --- Undo ---
    // Runs `edit`, which changes elements of the side in work directly, and records what it
    // changed in the selected elements (and the primary one) as one undo step; edits of one
    // run of the user's (EditRun) fold into one step. `text` names the step; empty names it
    // after what changed. Nested calls are recorded by the outermost one.
    void recordEdit(const std::function<void()> &edit, const QString &text = {});
    // The run of edits the panel is in; the card commands record their edits in it too.
    EditRun *editRun() const { return m_run; }

private:
    LMNGraphicView *sideCanvas() const;
    SettingsPanel *panel() const;
    void connectPages();
    void showCard();
    void showElement(const GraphicPtr &graphic);
    void showDataSource(const LMNGraphic &graphic);
    void setStandardButtons(bool cutCopy, bool paste, bool editing, bool unlock);
    void setLocked(bool locked);
    void restack(bool toFront);
    // The write-back frame: nothing while the panel is filled or nothing is selected.
    void writeBack(const std::function<void(LMNGraphic &, qsizetype selectedCount)> &apply);

    // Shows the restored values once undo or redo have put elements or the card back.
    void followHistory();

    PanelHost *m_host;
    EditRun *m_run = nullptr;
    int m_recording = 0;
    bool m_reloadAfterHistory = false;
    QString m_shapeLabel = QStringLiteral("Rectangle Properties");
};
