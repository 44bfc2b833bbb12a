#include "barcode/ui/Barcode_Gen.h"

#include "barcode/generator/BarcodeGenerator.h"
#include "barcode/BarcodeGlobals.h"
#include "barcode/BarcodeLists.h"
#include "barcode/BarcodeUnits.h"
#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "data/ui/DataSourceServices.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/DocumentGlobals.h"
#include "document/LMNGraphic.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/Long_SMS_Dlg.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"

#include <QFileInfo>
#include <QFontDialog>
#include <QFormLayout>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QStandardItemModel>

#include <algorithm>
#include <cstdio>

namespace {

// The forms of one tab share their label column's width, so fields line up from box to box.
void alignFormLabels(QWidget *page)
{
    QList<QWidget *> labels;
    for (const QFormLayout *form : page->findChildren<QFormLayout *>())
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem *item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget())
                labels.append(item->widget());
    int widest = 0;
    for (const QWidget *label : std::as_const(labels))
        widest = std::max(widest, label->sizeHint().width());
    for (QWidget *label : std::as_const(labels))
        label->setMinimumWidth(widest);
}

bool isAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() > 127)
            return false;
    return true;
}

QString fontLabel(const CardFont &font)
{
    return QStringLiteral("%1 ( %2 )").arg(font.toQFont().family()).arg(font.pointSize, 0, 'f', 2);
}

// Preview alignments by the item texts of bar_align_combo.
Qt::Alignment previewAlignment(const QString &item, bool *known)
{
    static const QList<std::pair<QString, Qt::Alignment>> table{
        {QStringLiteral("Center"), Qt::AlignCenter},
        {QStringLiteral("Top"), Qt::AlignTop | Qt::AlignHCenter},
        {QStringLiteral("TopLeft"), Qt::AlignTop | Qt::AlignLeft},
        {QStringLiteral("TopRight"), Qt::AlignTop | Qt::AlignRight},
        {QStringLiteral("Left"), Qt::AlignLeft | Qt::AlignVCenter},
        {QStringLiteral("Bottom"), Qt::AlignBottom | Qt::AlignHCenter},
        {QStringLiteral("BottomLeft"), Qt::AlignBottom | Qt::AlignLeft},
        {QStringLiteral("BottomRight"), Qt::AlignBottom | Qt::AlignRight},
        {QStringLiteral("Right"), Qt::AlignRight | Qt::AlignVCenter},
    };
    for (const auto &[text, alignment] : table) {
        if (text == item) {
            *known = true;
            return alignment;
        }
    }
    *known = false;
    return Qt::AlignCenter;
}

} // namespace

Barcode_Gen::Barcode_Gen(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);

    ui.image_scroll->setWidget(ui.barcodeImage);
    // The picture's label always fills the viewport (and grows past it with a larger picture),
    // so the preview alignment places the picture in the whole visible area, also before the
    // window was first shown and after it was resized.
    ui.image_scroll->setWidgetResizable(true);
    ui.image_scroll->setMinimumSize(360, 240);
    alignFormLabels(ui.text_page);
    alignFormLabels(ui.size_page);
    ui.image_scroll->setFrameShadow(QFrame::Sunken);
    ui.barcode_error_label->hide();
    // The resolution tab is shown for the 2D symbologies only.
    ui.sett_tab->removeTab(ui.sett_tab->indexOf(ui.dpi_tab_item));
    fillLists();
    {
        QScopedValueRollback<bool> loading(m_loading, true);
        setControlsFromSettings(BarcodeElementSettings{});
    }
    connectControls();
}

Barcode_Gen::~Barcode_Gen()
{
}

Barcode_Gen *Barcode_Gen::defaultInstance()
{
    return sharedWindow<Barcode_Gen>();
}

void Barcode_Gen::fillLists()
{
    for (const QString &title : BarcodeLists::symbologyTitles())
        ui.barcodeTypePopup->addItem(tr(qPrintable(title)));
    ui.qr_version_ComboBox->addItems(BarcodeLists::qrVersions());
    ui.qr_ec_lvl_ComboBox->addItems(BarcodeLists::qrErrorCorrectionLevels());
    ui.dm_format_ComboBox->addItems(BarcodeLists::dataMatrixFormats());
    ui.dm_encoding_ComboBox->addItems(BarcodeLists::dataMatrixEncodings());
    ui.align_hdr_combo->addItems(BarcodeLists::textAlignments());
    ui.align_ftr_combo->addItems(BarcodeLists::textAlignments());
    ui.DPI_ComboBox->addItems(BarcodeLists::resolutions());
    ui.Data_source_type->addItems(BarcodeLists::dataSources());
}

void Barcode_Gen::connectControls()
{
    for (QComboBox *combo : findChildren<QComboBox *>()) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo] {
            if (!m_loading)
                comboBoxSelectionDidChange(combo);
        });
    }
    const auto guarded = [this](void (Barcode_Gen::*handler)()) {
        return [this, handler] {
            if (!m_loading)
                (this->*handler)();
        };
    };
    connect(ui.dataText, &QLineEdit::textChanged, this, guarded(&Barcode_Gen::controlTextDidChange));
    connect(ui.HeaderText, &QLineEdit::textChanged, this, guarded(&Barcode_Gen::controlTextDidChange));
    connect(ui.FooterText, &QLineEdit::textChanged, this, guarded(&Barcode_Gen::controlTextDidChange));
    connect(ui.dataText_2D, &QPlainTextEdit::textChanged, this, guarded(&Barcode_Gen::textDidChange));
    connect(ui.val_font_btn, &QPushButton::clicked, this, guarded(&Barcode_Gen::Value_Font_Changed));
    connect(ui.hdr_font_btn, &QPushButton::clicked, this, guarded(&Barcode_Gen::Header_Font_Changed));
    connect(ui.ftr_font_btn, &QPushButton::clicked, this, guarded(&Barcode_Gen::Footer_Font_Changed));
    connect(ui.captionCheckbox, &QCheckBox::toggled, this, guarded(&Barcode_Gen::captionChanged));
    connect(ui.showinTopCheckbox, &QCheckBox::toggled, this, guarded(&Barcode_Gen::showinTopChanged));
    connect(ui.hideHeaderCheckbox, &QCheckBox::toggled, this, guarded(&Barcode_Gen::hideHeaderChanged));
    connect(ui.hideFooterCheckbox, &QCheckBox::toggled, this, guarded(&Barcode_Gen::hideFooterChanged));
    connect(ui.kerning_value_Checkbox, &QCheckBox::toggled, this, guarded(&Barcode_Gen::captionChanged));
    connect(ui.bar_hdr_clr, &ColorWell::colorChanged, this, guarded(&Barcode_Gen::Header_Color_Changed));
    for (ColorWell *well : {ui.barcode_clr, ui.bar_back_clr, ui.bar_val_clr, ui.bar_ftr_clr})
        connect(well, &ColorWell::colorChanged, this, guarded(&Barcode_Gen::Set_Font_Clr));
    const std::pair<QDoubleSpinBox *, void (Barcode_Gen::*)()> floatPairs[] = {
        {ui.HeightStepper, &Barcode_Gen::heightChanged},          {ui.widthStepper, &Barcode_Gen::widthChanged},
        {ui.val_mar_Stepper, &Barcode_Gen::Value_Margin_Changed}, {ui.hdr_mar_Stepper, &Barcode_Gen::Header_Margin_Changed},
        {ui.ftr_mar_Stepper, &Barcode_Gen::Footer_Margin_Changed}, {ui.TB_mar_Stepper, &Barcode_Gen::TB_Margin_Changed},
        {ui.LR_mar_Stepper, &Barcode_Gen::LR_Margin_Changed}};
    for (const auto &[spin, handler] : floatPairs)
        connect(spin, &QDoubleSpinBox::valueChanged, this, guarded(handler));
    const std::pair<QSpinBox *, void (Barcode_Gen::*)()> integerPairs[] = {
        {ui.HeightStepper_2D, &Barcode_Gen::heightChanged},        {ui.Pdf_widthStepper_2D, &Barcode_Gen::widthChanged},
        {ui.pdf_HeightStepper_2D, &Barcode_Gen::pdf_heightChanged}, {ui.pdf_row_Stepper, &Barcode_Gen::PDF_Row_Changed},
        {ui.pdf_col_Stepper, &Barcode_Gen::PDF_Col_Changed},       {ui.pdf_ec_lvl_Stepper, &Barcode_Gen::PDF_EC_Lvl_Changed},
        {ui.dm_widthStepper_2D, &Barcode_Gen::dm_widthChanged},    {ui.dm_HeightStepper_2D, &Barcode_Gen::dm_heightChanged}};
    for (const auto &[spin, handler] : integerPairs)
        connect(spin, &QSpinBox::valueChanged, this, guarded(handler));
    connect(ui.dm_moduleStepper_2D, &QSpinBox::valueChanged, this, guarded(&Barcode_Gen::dm_modulesizeChanged));
    connect(ui.dpi_Stepper, &QSpinBox::valueChanged, this, guarded(&Barcode_Gen::DPI_Value_Changed));
    connect(ui.view_series_btn, &QPushButton::clicked, this, &Barcode_Gen::View_batch_Series_Button);
    connect(ui.data_source_help_btn, &QToolButton::clicked, this, &DataSourceServices::Data_Source_Help_Button);
    connect(ui.qr_version_help_btn, &QToolButton::clicked, this, &Barcode_Gen::QR_Version_Help_Btn);
    connect(ui.qr_ec_help_btn, &QToolButton::clicked, this, &Barcode_Gen::QR_EC_Lvl_Help_Btn);
    connect(ui.pdf_row_help_btn, &QToolButton::clicked, this, &Barcode_Gen::PDF_row_Help_btn);
    connect(ui.pdf_col_help_btn, &QToolButton::clicked, this, &Barcode_Gen::PDF_col_Help_btn);
    connect(ui.pdf_ec_help_btn, &QToolButton::clicked, this, &Barcode_Gen::PDF_ec_lvl_Help_btn);
    connect(ui.dm_format_help_btn, &QToolButton::clicked, this, &Barcode_Gen::DM_format_Help_btn);
    connect(ui.dm_encoding_help_btn, &QToolButton::clicked, this, &Barcode_Gen::DM_Encoding_Help_btn);
    connect(ui.dpi_help_btn, &QToolButton::clicked, this, &Barcode_Gen::DPI_Help_Label);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Barcode_Gen::OK_Btn_Clicked);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Barcode_Gen::Cancel_Btn_Clicked);
}

// --- Loading and the modal run ---

void Barcode_Gen::setControlsFromSettings(const BarcodeElementSettings &s)
{
    ui.barcodeTypePopup->setCurrentIndex(s.barcode_font_index);
    ui.dataText->setText(s.linear_font_val);
    ui.dataText_2D->setPlainText(s.two_d_font_val);
    ui.HeaderText->setText(s.header_val);
    ui.FooterText->setText(s.footer_val);
    ui.hideHeaderCheckbox->setChecked(s.show_hide_hdr == 1);
    ui.hideFooterCheckbox->setChecked(s.show_hide_ftr == 1);
    ui.captionCheckbox->setChecked(s.show_hide_val == 1);
    ui.showinTopCheckbox->setChecked(s.show_val_on_top == 1);
    ui.kerning_value_Checkbox->setChecked(s.kerning_value_val == 1);
    ui.align_hdr_combo->setCurrentIndex(s.align_hdr_index);
    ui.align_ftr_combo->setCurrentIndex(s.align_ftr_index);
    ui.HeightStepper->setValue(s.linear_height_val);
    ui.widthStepper->setValue(s.linear_width_val);
    ui.qr_version_ComboBox->setCurrentIndex(s.qr_version_index);
    Check_And_Set_QR_size_Acc_Version(s.qr_version_index);
    ui.HeightStepper_2D->setValue(s.qr_size_val);
    ui.qr_ec_lvl_ComboBox->setCurrentIndex(s.qr_ec_index);
    ui.pdf_HeightStepper_2D->setValue(s.pdf_hgt_val);
    ui.Pdf_widthStepper_2D->setValue(s.pdf_wdt_val);
    ui.pdf_ec_lvl_Stepper->setValue(s.pdf_ec_val);
    ui.dm_moduleStepper_2D->setValue(s.dm_module_val);
    ui.dm_format_ComboBox->setCurrentIndex(s.dm_format_index);
    ui.dm_encoding_ComboBox->setCurrentIndex(s.dm_encoding_index);
    data_matrix_barcode_size_acc_format();
    ui.hdr_mar_Stepper->setValue(s.hdr_margin_val);
    ui.ftr_mar_Stepper->setValue(s.ftr_margin_val);
    ui.val_mar_Stepper->setValue(s.val_margin_val);
    ui.TB_mar_Stepper->setValue(s.TB_marging_val);
    ui.LR_mar_Stepper->setValue(s.LR_margin_val);
    value_font = s.value_font_val;
    header_font = s.header_font_val;
    footer_font = s.footer_font_val;
    showFontLabels();
    ui.bar_hdr_clr->setColor(s.barcode_hdr_clr_val);
    ui.bar_ftr_clr->setColor(s.barcode_ftr_clr_val);
    ui.bar_val_clr->setColor(s.barcode_val_clr_val);
    ui.bar_back_clr->setColor(s.barcode_back_clr_val);
    ui.barcode_clr->setColor(s.barcode_clr_val);
    ui.DPI_ComboBox->setCurrentIndex(s.dpi_val_index);
    bool customOk = false;
    const int custom = s.dpi_custom_val.trimmed().toInt(&customOk);
    ui.dpi_Stepper->setValue(customOk && custom >= BarcodeLists::kMinResolution && custom <= BarcodeLists::kMaxResolution
                                 ? custom
                                 : BarcodeLists::kAutoResolution);
    const bool custom_ = ui.DPI_ComboBox->currentText() == QLatin1String("Custom");
    ui.dpi_Stepper->setVisible(custom_);
    ui.dpi_custom_label->setVisible(custom_);

    if (s.isTwoDimensional())
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    _setLabels();
    Get_Print_State();
}

void Barcode_Gen::Set_Barcode_Prop_To_Control(const LMNGraphic &element)
{
    QScopedValueRollback<bool> loading(m_loading, true);
    setControlsFromSettings(BarcodeElementSettings::fromGraphic(element));
    sourceType = std::clamp(element.data_source_type, 0, 2);
    batchListName = element.batch_list_name;
    batchListIndex = element.batch_list_index;
    excelColumn = element.excel_col_indx;
    // Spreadsheet columns are offered as on the panel (and kept for a barcode bound to one).
    if (auto *model = qobject_cast<QStandardItemModel *>(ui.Data_source_type->model()))
        model->item(2)->setEnabled(DataSourceServices::spreadsheetSourceOffered() || sourceType == 2);
    ui.Data_source_type->setCurrentIndex(sourceType);
    applySourceState(true);
}

LMNGraphic *Barcode_Gen::Open_Wnd(LMNGraphic *element)
{
    if (!element)
        return nullptr;
    pass_barcode_control = element;
    Set_Barcode_Prop_To_Control(*element);
    testBarcode.reset();
    goButtonActionPerformed();
    const int result = ModalSeam::instance().execDialog(this);
    hide();
    pass_barcode_control = nullptr;
    if (result != QDialog::Accepted)
        return nullptr;
    settingsFromControls().applyTo(*element);
    element->Set_Data_source_type(sourceType);
    if (sourceType == 1) {
        element->Set_Batch_List_Name(batchListName);
        element->Set_Batch_List_Index(batchListIndex);
    } else if (sourceType == 2) {
        element->Set_Excel_binding_Index(excelColumn);
    }
    return element;
}

BarcodeElementSettings Barcode_Gen::settingsFromControls() const
{
    BarcodeElementSettings s;
    s.barcode_font_index = ui.barcodeTypePopup->currentIndex();
    s.linear_or_2d = BarcodeLists::isTwoDimensional(BarcodeLists::symbologyTitle(s.barcode_font_index)) ? 1 : 0;
    s.linear_font_val = ui.dataText->text();
    s.two_d_font_val = ui.dataText_2D->toPlainText();
    s.header_val = ui.HeaderText->text();
    s.footer_val = ui.FooterText->text();
    s.show_hide_hdr = ui.hideHeaderCheckbox->isChecked() ? 1 : 0;
    s.show_hide_ftr = ui.hideFooterCheckbox->isChecked() ? 1 : 0;
    s.show_hide_val = ui.captionCheckbox->isChecked() ? 1 : 0;
    s.show_val_on_top = ui.showinTopCheckbox->isChecked() ? 1 : 0;
    s.align_hdr_index = ui.align_hdr_combo->currentIndex();
    s.align_ftr_index = ui.align_ftr_combo->currentIndex();
    s.linear_height_val = float(ui.HeightStepper->value());
    s.linear_width_val = float(ui.widthStepper->value());
    s.qr_size_val = ui.HeightStepper_2D->value();
    s.qr_version_index = ui.qr_version_ComboBox->currentIndex();
    s.qr_ec_index = ui.qr_ec_lvl_ComboBox->currentIndex();
    s.pdf_hgt_val = ui.pdf_HeightStepper_2D->value();
    s.pdf_wdt_val = ui.Pdf_widthStepper_2D->value();
    s.pdf_ec_val = ui.pdf_ec_lvl_Stepper->value();
    s.dm_module_val = ui.dm_moduleStepper_2D->value();
    s.dm_format_index = ui.dm_format_ComboBox->currentIndex();
    s.dm_encoding_index = ui.dm_encoding_ComboBox->currentIndex();
    s.hdr_margin_val = float(ui.hdr_mar_Stepper->value());
    s.ftr_margin_val = float(ui.ftr_mar_Stepper->value());
    s.val_margin_val = float(ui.val_mar_Stepper->value());
    s.TB_marging_val = float(ui.TB_mar_Stepper->value());
    s.LR_margin_val = float(ui.LR_mar_Stepper->value());
    s.value_font_val = value_font;
    s.header_font_val = header_font;
    s.footer_font_val = footer_font;
    s.barcode_hdr_clr_val = ui.bar_hdr_clr->color();
    s.barcode_ftr_clr_val = ui.bar_ftr_clr->color();
    s.barcode_val_clr_val = ui.bar_val_clr->color();
    s.barcode_back_clr_val = ui.bar_back_clr->color();
    s.barcode_clr_val = ui.barcode_clr->color();
    s.dpi_val_index = ui.DPI_ComboBox->currentIndex();
    s.dpi_custom_val = QString::number(ui.dpi_Stepper->value());
    // Kept while the box is disabled: EAN and UPC captions and 2D symbols never stretch, and
    // the box comes back as it was when the element returns to a one-group caption.
    s.kerning_value_val = ui.kerning_value_Checkbox->isChecked() ? 1 : 0;
    return s;
}

QString Barcode_Gen::currentValue() const
{
    return liner_or_2D_font != 0 ? ui.dataText_2D->toPlainText() : ui.dataText->text();
}

// --- Generation ---

std::shared_ptr<NKDBarcode> Barcode_Gen::Generate_Barcode_Variable(bool show, const QString &value,
                                                                   const QString &header, const QString &footer)
{
    if (m_loading)
        return testBarcode;
    if (value.isEmpty())
        return nullptr;
    if (show)
        ui.barcode_error_label->hide();
    Get_Print_State();
    const BarcodeElementSettings settings = settingsFromControls();
    BarcodeGenerator::Result result = BarcodeGenerator::generate(settings, value, header, footer);
    if (!show)
        return result.barcode;
    image_2d = result.symbol;
    if (result.picture.isNull()) {
        if (result.dataMatrix.refused) {
            const BarcodeGenerator::DataMatrixReport &r = result.dataMatrix;
            std::fputs("No barcode produced\n", stderr);
            std::printf("Size    : %dx%d\n", r.width, r.height);
            std::printf("Encoded : %d of %d bytes with %d bytes of ecc\n", r.encoded, r.capacity, r.ecc);
            std::printf("Barcode : %s\n", value.toUtf8().constData());
            std::printf("Encoding: %s\n", r.encoding.constData());
            std::fflush(stdout);
        }
        Set_Blank_Image(result.failure);
    } else {
        Set_Barcode_On_Panel(result.picture);
    }
    return result.barcode;
}

QImage Barcode_Gen::Get_Image_From_Val(const QString &value, const QString &header, const QString &footer) const
{
    return BarcodeGenerator::picture(settingsFromControls(), value, header, footer);
}

bool Barcode_Gen::Check_And_Validat_Barcode(bool, bool)
{
    ui.barcode_error_label->hide();
    const QString value = currentValue();
    if (value.isEmpty()) {
        Set_Blank_Image(tr("Please enter barcode value"));
        return false;
    }
    if (liner_or_2D_font == 0 && !isAscii(value)) {
        Set_Blank_Image(tr("%1 cannot encode this value.").arg(BarcodeLists::symbologyTitle(ui.barcodeTypePopup->currentIndex())));
        return false;
    }
    return true;
}

void Barcode_Gen::goButtonActionPerformed()
{
    if (m_loading || !Check_And_Validat_Barcode())
        return;
    testBarcode = Generate_Barcode_Variable(true, currentValue(), ui.HeaderText->text(), ui.FooterText->text());
}

void Barcode_Gen::regenerate()
{
    goButtonActionPerformed();
}

void Barcode_Gen::OK_Btn_Clicked()
{
    if (!Check_And_Validat_Barcode())
        return;
    goButtonActionPerformed();
    // A blank preview (a value the symbology refuses, a symbol that does not fit) is not a
    // barcode: the dialog stays open and the label says why.
    if (m_picture.isNull())
        return;
    Barcode_output_image = m_picture;
    done(QDialog::Accepted);
}

void Barcode_Gen::Cancel_Btn_Clicked()
{
    Barcode_output_image = QImage();
    done(QDialog::Rejected);
}

// --- Panels, labels and the preview ---

void Barcode_Gen::Liner_Barcode_Opt_Select()
{
    liner_or_2D_font = 0;
    ui.dataText->setEnabled(true);
    ui.dataText->show();
    ui.dataText_2D->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui.showinTopCheckbox, ui.captionCheckbox, ui.kerning_value_Checkbox, ui.val_mar_Stepper, ui.val_mar_label,
             ui.val_font_label, ui.val_font_btn, ui.value_font_value, ui.barcode_clr, ui.bar_back_clr, ui.bar_val_clr,
             ui.val_clr_label, ui.bar_clr_label, ui.bar_bk_clr_label, ui.linear_sett_box})
        w->show();
    for (QWidget *w : {ui.two_d_sett_box, ui.pdf_2d_sett_box, ui.dm_2d_sett_box})
        w->hide();
    const int dpiTab = ui.sett_tab->indexOf(ui.dpi_tab_item);
    if (dpiTab >= 0)
        ui.sett_tab->removeTab(dpiTab);
    ui.sett_tab->setCurrentIndex(0);
    const QString title = BarcodeLists::symbologyTitle(ui.barcodeTypePopup->currentIndex());
    // The UPC and EAN captions are grouped under their bars and never stretched.
    ui.kerning_value_Checkbox->setEnabled(title != QLatin1String("UPCE") && title != QLatin1String("UPCA")
                                          && title != QLatin1String("EAN-8") && title != QLatin1String("EAN-13"));
}

void Barcode_Gen::two_d_barcode_Opt_Select()
{
    liner_or_2D_font = 1;
    ui.dataText->setEnabled(false);
    ui.dataText->hide();
    ui.dataText_2D->show();
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui.showinTopCheckbox, ui.captionCheckbox, ui.kerning_value_Checkbox, ui.val_mar_Stepper, ui.val_mar_label,
             ui.val_font_label, ui.val_font_btn, ui.value_font_value, ui.barcode_clr, ui.bar_back_clr, ui.bar_val_clr,
             ui.val_clr_label, ui.bar_clr_label, ui.bar_bk_clr_label, ui.linear_sett_box})
        w->hide();
    if (ui.sett_tab->indexOf(ui.dpi_tab_item) < 0)
        ui.sett_tab->insertTab(3, ui.dpi_tab_item, tr("Resolution"));
    const QString title = BarcodeLists::symbologyTitle(ui.barcodeTypePopup->currentIndex());
    ui.two_d_sett_box->setVisible(title == QLatin1String("QR Code"));
    ui.pdf_2d_sett_box->setVisible(title == QLatin1String("PDF417"));
    ui.dm_2d_sett_box->setVisible(title == QLatin1String("DataMatrix"));
}

void Barcode_Gen::_setLabels()
{
    if (liner_or_2D_font != 0) {
        ui.barHeightLabel->setText(tr("Bar Height :"));
        ui.barWidthLabel->setText(tr("Bar Width :"));
        return;
    }
    // Linear barcodes are measured in centimetres.
    ui.barHeightLabel->setText(tr("Bar Height (cm):"));
    ui.margin_box->setTitle(tr("Margins (cm)"));
    ui.barWidthLabel->setText(tr("Bar Width (Mils):"));
}

bool Barcode_Gen::Get_Print_State()
{
    if (!ui.captionCheckbox->isEnabled())
        return false;
    const bool printed = !ui.captionCheckbox->isChecked();
    ui.showinTopCheckbox->setEnabled(printed);
    return printed;
}

void Barcode_Gen::Set_Barcode_On_Panel(const QImage &picture)
{
    m_picture = picture;
    // Shown at its size in points: one point a device-independent pixel.
    QPixmap pixmap = QPixmap::fromImage(picture);
    const QSizeF points = BarcodeUnits::pointSize(picture);
    if (points.width() > 0)
        pixmap.setDevicePixelRatio(double(picture.width()) / points.width());
    ui.barcodeImage->setPixmap(pixmap);
    bool known = false;
    ui.barcodeImage->setAlignment(previewAlignment(ui.bar_align_combo->currentText(), &known));
    ui.barcode_error_label->hide();
}

void Barcode_Gen::Set_Blank_Image(const QString &reason)
{
    image_2d = QImage();
    m_picture = QImage();
    ui.barcodeImage->clear();
    ui.barcode_error_label->setText(reason.isEmpty() ? tr("Invalid barcode value") : reason);
    ui.barcode_error_label->show();
}

// --- Sizes ---

void Barcode_Gen::Check_And_Set_QR_size_Acc_Version(int version)
{
    const int bound = std::max(21, (version - 1) * 4 + 21);
    ui.HeightStepper_2D->setMinimum(bound);
    if (ui.HeightStepper_2D->value() < bound)
        ui.HeightStepper_2D->setValue(bound);
}

void Barcode_Gen::data_matrix_barcode_size_acc_format()
{
    const int module = ui.dm_moduleStepper_2D->value();
    int rows = 0;
    int columns = 0;
    BarcodeLists::dataMatrixSize(ui.dm_format_ComboBox->currentText(), &rows, &columns);
    if (ui.dm_widthStepper_2D->value() < columns * module)
        ui.dm_widthStepper_2D->setValue(columns * module);
    if (ui.dm_HeightStepper_2D->value() < rows * module)
        ui.dm_HeightStepper_2D->setValue(rows * module);
}

// --- Control handlers ---

void Barcode_Gen::barcodeTypeChanged()
{
    const QString title = BarcodeLists::symbologyTitle(ui.barcodeTypePopup->currentIndex());
    if (BarcodeLists::isTwoDimensional(title))
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    _setLabels();
    if (currentValue().isEmpty()) {
        Show_MessageBox(tr("Please enter barcode value"));
        Set_Blank_Image(tr("Please enter barcode value"));
        return;
    }
    goButtonActionPerformed();
}

void Barcode_Gen::comboBoxSelectionDidChange(QComboBox *combo)
{
    if (combo == ui.barcodeTypePopup) {
        barcodeTypeChanged();
    } else if (combo == ui.DPI_ComboBox) {
        const QString item = combo->currentText();
        const bool custom = item == QLatin1String("Custom");
        ui.dpi_Stepper->setVisible(custom);
        ui.dpi_custom_label->setVisible(custom);
        regenerate();
    } else if (combo == ui.Data_source_type) {
        setDataSourceIndex(combo->currentIndex());
    } else if (combo == ui.Batch_Series) {
        if (sourceType == 2)
            selectColumn(combo->currentIndex(), true);
        else
            selectSeries(Trim_Str(combo->currentText()), true);
    } else if (combo == ui.qr_enc_mode_ComboBox) {
        regenerate();
    } else if (combo == ui.qr_version_ComboBox) {
        {
            QScopedValueRollback<bool> loading(m_loading, true);
            Check_And_Set_QR_size_Acc_Version(combo->currentIndex());
        }
        regenerate();
    } else if (combo == ui.qr_ec_lvl_ComboBox) {
        regenerate();
    } else if (combo == ui.dm_format_ComboBox) {
        {
            QScopedValueRollback<bool> loading(m_loading, true);
            data_matrix_barcode_size_acc_format();
        }
        regenerate();
    } else if (combo == ui.bar_align_combo) {
        bool known = false;
        const Qt::Alignment alignment = previewAlignment(combo->currentText(), &known);
        if (known)
            ui.barcodeImage->setAlignment(alignment);
    } else {
        regenerate();
    }
}

void Barcode_Gen::setDataSourceIndex(int index)
{
    if (index == 1) {
        const QStringList names = DataSeries::Get_datasheet_File_Name_Array();
        if (names.isEmpty()) {
            Show_MessageBox(tr("Please create batch processing series first."));
            // Nothing to bind to: the source stays as it was and the value stays editable.
            QScopedValueRollback<bool> loading(m_loading, true);
            ui.Data_source_type->setCurrentIndex(sourceType);
            applySourceState(true);
            return;
        }
        sourceType = 1;
    } else {
        sourceType = index == 2 ? 2 : 0;
    }
    applySourceState(false);
    regenerate();
}

void Barcode_Gen::applySourceState(bool loading)
{
    const bool bound = sourceType != 0;
    ui.Batch_Series->setEnabled(bound);
    ui.view_series_btn->setEnabled(bound);
    ui.dataText->setReadOnly(bound);
    ui.dataText_2D->setReadOnly(bound);
    QScopedValueRollback<bool> guard(m_loading, true);
    ui.Batch_Series->clear();
    if (sourceType == 1) {
        DataSourceServices::Fill_Data_Set_File_Name_In_Combo(ui.Batch_Series);
        ui.Batch_Series->setCurrentIndex(-1);
        if (!batchListName.isEmpty())
            ui.Batch_Series->setCurrentIndex(ui.Batch_Series->findText(batchListName));
        if (!loading && ui.Batch_Series->currentIndex() >= 0)
            selectSeries(batchListName, true);
    } else if (sourceType == 2) {
        DataSourceServices::Fill_Excel_Col_Name_In_Combo(ui.Batch_Series);
        ui.Batch_Series->setCurrentIndex(-1);
        if (excelColumn >= 0 && excelColumn < ui.Batch_Series->count())
            ui.Batch_Series->setCurrentIndex(excelColumn);
        if (!loading && ui.Batch_Series->currentIndex() >= 0)
            selectColumn(excelColumn, true);
    }
}

void Barcode_Gen::selectSeries(const QString &name, bool takeFirstValue)
{
    if (name.isEmpty())
        return;
    batchListName = name;
    batchListIndex = std::max(0, ui.Batch_Series->findText(name));
    if (takeFirstValue)
        showBoundValue(DataSeries::readFirstValue(name));
}

void Barcode_Gen::selectColumn(int column, bool takeFirstValue)
{
    if (column < 0)
        return;
    excelColumn = column;
    if (takeFirstValue)
        showBoundValue(DataSourceServices::Get_First_Value_Of_Excel_Binding(column));
}

void Barcode_Gen::showBoundValue(const QString &value)
{
    {
        QScopedValueRollback<bool> loading(m_loading, true);
        if (liner_or_2D_font != 0)
            ui.dataText_2D->setPlainText(value);
        else
            ui.dataText->setText(value);
    }
    if (value.isEmpty())
        Set_Blank_Image(tr("Please enter barcode value"));
    else
        goButtonActionPerformed();
}

void Barcode_Gen::controlTextDidChange()
{
    // The 2D value has its own handler.
    goButtonActionPerformed();
}

void Barcode_Gen::textDidChange()
{
    if (liner_or_2D_font != 0)
        goButtonActionPerformed();
}

void Barcode_Gen::chooseFont(CardFont &font)
{
    QFontDialog dialog(font.toQFont(), this);
    if (ModalSeam::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    font = CardFont::fromQFont(dialog.currentFont());
    showFontLabels();
    regenerate();
}

void Barcode_Gen::Value_Font_Changed()
{
    chooseFont(value_font);
}

void Barcode_Gen::Header_Font_Changed()
{
    chooseFont(header_font);
}

void Barcode_Gen::Footer_Font_Changed()
{
    chooseFont(footer_font);
}

void Barcode_Gen::showFontLabels()
{
    ui.value_font_value->setText(fontLabel(value_font));
    ui.header_font_value->setText(fontLabel(header_font));
    ui.footer_font_value->setText(fontLabel(footer_font));
}

void Barcode_Gen::captionChanged()
{
    Get_Print_State();
    regenerate();
}

void Barcode_Gen::showinTopChanged()
{
    if (liner_or_2D_font == 0)
        regenerate();
}

void Barcode_Gen::hideHeaderChanged()
{
    regenerate();
}

void Barcode_Gen::hideFooterChanged()
{
    regenerate();
}

void Barcode_Gen::Set_Font_Clr()
{
    regenerate();
}

void Barcode_Gen::Header_Color_Changed()
{
    Set_Font_Clr();
}

void Barcode_Gen::Value_Margin_Changed()
{
    // 2D pictures print no value: its margin changes nothing there.
    if (liner_or_2D_font == 0)
        regenerate();
}

void Barcode_Gen::Header_Margin_Changed()
{
    regenerate();
}

void Barcode_Gen::Footer_Margin_Changed()
{
    regenerate();
}

void Barcode_Gen::TB_Margin_Changed()
{
    regenerate();
}

void Barcode_Gen::LR_Margin_Changed()
{
    regenerate();
}

void Barcode_Gen::heightChanged()
{
    regenerate();
}

void Barcode_Gen::widthChanged()
{
    regenerate();
}

void Barcode_Gen::pdf_heightChanged()
{
    regenerate();
}

void Barcode_Gen::PDF_Row_Changed()
{
    regenerate();
}

void Barcode_Gen::PDF_Col_Changed()
{
    regenerate();
}

void Barcode_Gen::PDF_EC_Lvl_Changed()
{
    regenerate();
}

void Barcode_Gen::dm_widthChanged()
{
    regenerate();
}

void Barcode_Gen::dm_heightChanged()
{
    regenerate();
}

void Barcode_Gen::dm_modulesizeChanged()
{
    {
        QScopedValueRollback<bool> loading(m_loading, true);
        data_matrix_barcode_size_acc_format();
    }
    regenerate();
}

void Barcode_Gen::DPI_Value_Changed()
{
    regenerate();
}

void Barcode_Gen::View_batch_Series_Button()
{
    DataSourceServices::View_batch_Series_Button(ui.Data_source_type, ui.Batch_Series);
}

void Barcode_Gen::showHelp(const QString &title, const QString &text)
{
    Cutom_Msg_Title = title;
    Cutom_Msg_Val = text;
    Long_SMS_Dlg *box = Long_SMS_Dlg::defaultInstance();
    box->title_val.clear();
    box->Open_Long_sms_Dialog();
}

void Barcode_Gen::QR_Version_Help_Btn()
{
    showHelp(tr("Version :"),
             tr("Version is configuration or number of modules (combination of black and white dots)."));
}

void Barcode_Gen::QR_EC_Lvl_Help_Btn()
{
    showHelp(tr("Error correction (EC) level :"),
             tr("An error-correction mechanism is built in each symbol so that the symbol can still be decoded even "
                "if it is damaged."));
}

void Barcode_Gen::PDF_row_Help_btn()
{
    showHelp(tr("PDF Rows :"), tr("Number of rows in the PDF barcode."));
}

void Barcode_Gen::PDF_col_Help_btn()
{
    showHelp(tr("PDF Columns :"), tr("Number of columns in the PDF barcode."));
}

void Barcode_Gen::PDF_ec_lvl_Help_btn()
{
    showHelp(tr("PDF EC Level :"),
             tr("An error-correction mechanism is built in each symbol so that the symbol can still be decoded even "
                "if it is damaged in PDF barcode."));
}

void Barcode_Gen::DM_format_Help_btn()
{
    showHelp(tr("Preferred Format :"), tr("Preferred Mode determines the smallest size of the symbol."));
}

void Barcode_Gen::DM_Encoding_Help_btn()
{
    showHelp(tr("Encoding Mode :"), tr("Encoding Mode is mode of compaction to encode data in the symbol."));
}

void Barcode_Gen::DPI_Help_Label()
{
    showHelp(tr("DPI (Dots Per Inch) :"),
             tr("Dots per inch is a measure of the resolution of printers in terms of Print Quality.\n\nBigger the DPI, "
                "Better the Print Quality. But File size of image also increases, as you choose bigger DPI."));
}

// --- Picture utilities ---

bool Barcode_Gen::Save_Barcode_image(const QImage &picture, const QString &path, QString *error)
{
    const auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (picture.isNull())
        return fail(tr("There is no barcode picture to save."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(tr("%1 cannot be written: %2").arg(QFileInfo(path).fileName(), file.errorString()));
    // PNG keeps the dots per metre, so the picture keeps its size in points.
    if (!picture.save(&file, "PNG")) {
        file.cancelWriting();
        return fail(tr("%1 cannot be written.").arg(QFileInfo(path).fileName()));
    }
    if (!file.commit())
        return fail(tr("%1 cannot be written: %2").arg(QFileInfo(path).fileName(), file.errorString()));
    return true;
}

QImage Barcode_Gen::Resize_Image(const QImage &picture, const QSize &size)
{
    if (picture.isNull() || size.isEmpty())
        return {};
    QImage resized(size, QImage::Format_ARGB32_Premultiplied);
    if (resized.isNull())
        return {};
    resized.fill(Qt::transparent);
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
    painter.end();
    return resized;
}

QImage Barcode_Gen::flipImageVertically(const QImage &picture)
{
    return picture.mirrored(false, true);
}

QImage Barcode_Gen::flipImageHorizontally(const QImage &picture)
{
    return picture.mirrored(true, false);
}
