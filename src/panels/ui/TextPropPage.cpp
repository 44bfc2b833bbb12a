#include "panels/ui/TextPropPage.h"

#include "dialogs/ui/UiUtilities.h"
#include "panels/ui/PanelControls.h"
#include "panels/ui/SettingsPanel.h"

TextPropPage::TextPropPage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.Text_border_chk, &QCheckBox::clicked, this, [this](bool on) {
        SetObjEnabled(ui.Text_Border_Box, on);
        emit edited();
    });
    connect(ui.Text_fill_chk, &QCheckBox::clicked, this, [this](bool on) {
        SetObjEnabled(ui.Text_Fill_Box, on);
        emit edited();
    });
    connect(ui.Text_solid_fill_rd, &QRadioButton::clicked, this, [this] { showFill(QStringLiteral("S")); emit edited(); });
    connect(ui.Text_gradient_fill_rd, &QRadioButton::clicked, this, [this] { showFill(QStringLiteral("G")); emit edited(); });
    for (QSpinBox *spin : {ui.Text_bor_Stepper, ui.Text_grad_Stepper, ui.Text_alpha_Stepper})
        connect(spin, &QSpinBox::valueChanged, this, &TextPropPage::edited);
    connect(ui.Text_Kern_Stepper, &QDoubleSpinBox::valueChanged, this, &TextPropPage::edited);
    for (ColorWell *well : {ui.Text_clr, ui.Text_bordr_clr, ui.Text_fill_clr, ui.Text_fill_Grd_1_clr, ui.Text_fill_Grd_2_clr})
        connect(well, &ColorWell::colorChanged, this, &TextPropPage::edited);
    connect(ui.Text_font_btn, &QPushButton::clicked, this, &TextPropPage::fontRequested);
}

void TextPropPage::setTextFont(const CardFont &font)
{
    Text_font = font;
    SettingsPanel::showFont(ui.Text_font_value, font);
}

void TextPropPage::showFill(const QString &fillCode)
{
    const bool gradient = fillCode == QLatin1String("G");
    ui.Text_gradient_fill_rd->setChecked(gradient);
    ui.Text_solid_fill_rd->setChecked(!gradient);
    ui.Text_fill_clr->setEnabled(!gradient);
    ui.Text_fill_Grd_1_clr->setEnabled(gradient);
    ui.Text_fill_Grd_2_clr->setEnabled(gradient);
    ui.Text_grad_Stepper->setEnabled(gradient);
}

void TextPropPage::load(const LMNGraphic &graphic)
{
    ui.Text_border_chk->setChecked(graphic._isDrawingStroke);
    ui.Text_fill_chk->setChecked(graphic._isDrawingFill);
    ui.Text_bor_Stepper->setValue(int(graphic._strokeWidth));
    ui.Text_bordr_clr->setColor(graphic._strokeColor);
    PanelControls::showBorderCode(ui.Text_border_style, graphic._stroke_border_type);
    ui.Text_fill_clr->setColor(graphic._fillColor);
    ui.Text_fill_Grd_1_clr->setColor(graphic._fill_Grad_clr1);
    ui.Text_fill_Grd_2_clr->setColor(graphic._fill_Grad_clr2);
    ui.Text_grad_Stepper->setValue(qRound(graphic._fill_grad_angle));
    ui.Text_alpha_Stepper->setValue(qRound(graphic.alpha_val * 100.0f));
    ui.Text_clr->setColor(graphic.txt_clr);
    setTextFont(graphic.text_ctrl_font);
    PanelControls::showIndex(ui.Text_align_combo, graphic.text_alignmnet);
    PanelControls::showIndex(ui.Text_case_combo, graphic.text_transfrom_case);
    ui.Text_Kern_Stepper->setValue(graphic.text_kerning);
    SetObjEnabled(ui.Text_Fill_Box, graphic._isDrawingFill);
    SetObjEnabled(ui.Text_Border_Box, graphic._isDrawingStroke);
    showFill(graphic._fill_type);
}

TextTabValues TextPropPage::values() const
{
    TextTabValues v;
    v.stroke = {ui.Text_border_chk->isChecked(), ui.Text_bordr_clr->color(), ui.Text_bor_Stepper->value(),
                ui.Text_border_style->currentIndex()};
    v.fillOn = ui.Text_fill_chk->isChecked();
    v.fillColor = ui.Text_fill_clr->color();
    v.gradientRadio = ui.Text_gradient_fill_rd->isChecked();
    v.gradient1 = ui.Text_fill_Grd_1_clr->color();
    v.gradient2 = ui.Text_fill_Grd_2_clr->color();
    v.gradientAngle = ui.Text_grad_Stepper->value();
    v.textColor = ui.Text_clr->color();
    v.font = Text_font;
    v.opacityPercent = ui.Text_alpha_Stepper->value();
    v.alignment = ui.Text_align_combo->currentIndex();
    v.textCase = ui.Text_case_combo->currentIndex();
    v.kerning = ui.Text_Kern_Stepper->value();
    return v;
}
