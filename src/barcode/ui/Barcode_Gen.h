#pragma once

#include "barcode/BarcodeElementSettings.h"
#include "barcode/linear/NKDBarcode.h"
#include "document/CardFont.h"
#include "ui_Barcode_Gen.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <memory>

class LMNGraphic;
class QComboBox;

// The barcode designer: the modal dialog in which the user designs one barcode element. It
// loads the element's settings into its controls, shows a live preview made by
// BarcodeGenerator from those controls, and on OK writes the settings and the data binding
// back into the element and publishes the picture in Barcode_output_image. Cancel changes
// nothing. One dialog per process (defaultInstance); main thread only. Batch runs never use
// it: they call BarcodeGenerator with each element's own settings.
class Barcode_Gen : public QDialog
{
    Q_OBJECT

public:
    explicit Barcode_Gen(QWidget *parent = nullptr);
    ~Barcode_Gen() override;

    // The process-wide dialog, made on first use.
    static Barcode_Gen *defaultInstance();

    Ui::Barcode_Gen ui;

    // --- Loading, the modal run and the generation ---
    // Loads the element's settings and binding into the controls without generating; every
    // dependent state (enabled and read-only controls, series list, panels, resolution and QR
    // variables) is set here, under a loading guard.
    void Set_Barcode_Prop_To_Control(const LMNGraphic &element);
    // Loads the element, shows its picture and runs the dialog through ModalSeam. On OK the
    // settings and the binding are written into the element, Barcode_output_image holds the
    // picture and the element is returned; on Cancel nothing changes and the answer is null.
    LMNGraphic *Open_Wnd(LMNGraphic *element);

    // The settings the controls hold, as an element would store them.
    BarcodeElementSettings settingsFromControls() const;
    // The value of the current mode (the 2D text in 2D mode).
    QString currentValue() const;

    // The central generation: with `show` the preview is refreshed (or blanked with the
    // reason). Answers the linear barcode object, null in 2D mode or when there is none.
    std::shared_ptr<NKDBarcode> Generate_Barcode_Variable(bool show, const QString &value, const QString &header,
                                                          const QString &footer);
    // The picture of a value with the controls' settings, the preview untouched.
    QImage Get_Image_From_Val(const QString &value, const QString &header, const QString &footer) const;
    // Validates the value of the mode, then generates the preview from the value, header and footer fields.
    void goButtonActionPerformed();
    // The value of the mode is not empty and, for linear codes, ASCII; otherwise blank preview.
    bool Check_And_Validat_Barcode(bool showMessage = false, bool checkImage = false);

    void OK_Btn_Clicked();
    void Cancel_Btn_Clicked();

    // --- Panels, labels and the preview ---
    void Liner_Barcode_Opt_Select();
    void two_d_barcode_Opt_Select();
    void _setLabels();
    // Whether the value is printed; enables the value-on-top box accordingly.
    bool Get_Print_State();
    void Set_Barcode_On_Panel(const QImage &picture);
    void Set_Blank_Image(const QString &reason = QString());
    // The picture the preview shows; null when it is blank.
    QImage currentPicture() const { return m_picture; }

    // --- Sizes ---
    // The QR side is at least the module count of version `version` (21 for automatic).
    void Check_And_Set_QR_size_Acc_Version(int version);
    // The DataMatrix width and height fields are at least the chosen format times the module.
    void data_matrix_barcode_size_acc_format();

    // --- Control handlers ---
    void barcodeTypeChanged();
    void comboBoxSelectionDidChange(QComboBox *combo);
    void controlTextDidChange();
    void textDidChange();
    void Value_Font_Changed();
    void Header_Font_Changed();
    void Footer_Font_Changed();
    void captionChanged();
    void showinTopChanged();
    void hideHeaderChanged();
    void hideFooterChanged();
    void Set_Font_Clr();
    void Header_Color_Changed();
    void Value_Margin_Changed();
    void Header_Margin_Changed();
    void Footer_Margin_Changed();
    void TB_Margin_Changed();
    void LR_Margin_Changed();
    void heightChanged();
    void widthChanged();
    void pdf_heightChanged();
    void PDF_Row_Changed();
    void PDF_Col_Changed();
    void PDF_EC_Lvl_Changed();
    void dm_widthChanged();
    void dm_heightChanged();
    void dm_modulesizeChanged();
    void DPI_Value_Changed();
    void View_batch_Series_Button();
    void QR_Version_Help_Btn();
    void QR_EC_Lvl_Help_Btn();
    void PDF_row_Help_btn();
    void PDF_col_Help_btn();
    void PDF_ec_lvl_Help_btn();
    void DM_format_Help_btn();
    void DM_Encoding_Help_btn();
    void DPI_Help_Label();

    // --- Picture utilities ---
    // Writes the picture as PNG through a temporary file that replaces the target only when
    // complete, keeping its resolution. False with the reason for a null picture or a failed
    // write; a file already at the path then stays as it was.
    static bool Save_Barcode_image(const QImage &picture, const QString &path, QString *error = nullptr);
    // The picture redrawn at `size` pixels without smoothing; null for a null picture or size.
    static QImage Resize_Image(const QImage &picture, const QSize &size);
    static QImage flipImageVertically(const QImage &picture);
    static QImage flipImageHorizontally(const QImage &picture);

    // --- State ---
    int liner_or_2D_font = 0;
    std::shared_ptr<NKDBarcode> testBarcode;
    QImage image_2d;
    LMNGraphic *pass_barcode_control = nullptr;
    CardFont value_font{QStringLiteral("TimesNewRomanPSMT"), 10};
    CardFont header_font{QStringLiteral("TimesNewRomanPSMT"), 10};
    CardFont footer_font{QStringLiteral("TimesNewRomanPSMT"), 10};

    // The data binding as chosen in the dialog; written into the element on OK only.
    int sourceType = 0;
    QString batchListName;
    int batchListIndex = 0;
    int excelColumn = 0;

private:
    void connectControls();
    void fillLists();
    void setControlsFromSettings(const BarcodeElementSettings &settings);
    void applySourceState(bool loading);
    void selectSeries(const QString &name, bool takeFirstValue);
    void selectColumn(int column, bool takeFirstValue);
    void showBoundValue(const QString &value);
    void showFontLabels();
    void chooseFont(CardFont &font);
    void showHelp(const QString &title, const QString &text);
    void setDataSourceIndex(int index);
    void regenerate();

    bool m_loading = false;
    QImage m_picture;
};

// The designer dialog once made (null before); main thread only.
