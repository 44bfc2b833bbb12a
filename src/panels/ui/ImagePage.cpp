#include "panels/ui/ImagePage.h"

#include "dialogs/ui/UiUtilities.h"
#include "panels/ui/PanelControls.h"

#include <QSignalBlocker>

ImagePage::ImagePage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.Image_border_chk, &QCheckBox::clicked, this, [this](bool on) {
        SetObjEnabled(ui.Image_Border_Box, on);
        emit edited();
    });
    connect(ui.Image_bor_Stepper, &QSpinBox::valueChanged, this, &ImagePage::edited);
    connect(ui.Image_bordr_clr, &ColorWell::colorChanged, this, &ImagePage::edited);
    for (QCheckBox *check : {ui.Image_Gray_Scale_chk, ui.Image_Sepia_chk, ui.Image_Invert_chk, ui.Image_FIV_chk, ui.Image_FIH_chk})
        connect(check, &QCheckBox::clicked, this, &ImagePage::edited);
    // Transperncy_Slider_Changed:, Rotate_Slider_Changed:, Hue_Slider_Changed: ... each slider
    // shows its value in its field, then the page is written back.
    const auto edited = [this] { emit this->edited(); };
    PanelControls::pairSlider(ui.Trsp_slidr, ui.Trsp_slidr_val, edited);
    PanelControls::pairSlider(ui.Rotate_slidr, ui.Rotate_slidr_val, edited);
    PanelControls::pairSlider(ui.Hue_slidr, ui.Hue_slidr_val, edited);
    PanelControls::pairSlider(ui.Sat_slidr, ui.Sat_slidr_val, edited);
    PanelControls::pairSlider(ui.Brt_slidr, ui.Brt_slidr_val, edited);
    PanelControls::pairSlider(ui.Con_slidr, ui.Con_slidr_val, edited);
    PanelControls::pairSlider(ui.shrp_slidr, ui.shrp_slidr_val, edited);
    PanelControls::pairSlider(ui.ev_slidr, ui.ev_slidr_val, edited);
    PanelControls::pairSlider(ui.blr_slidr, ui.blr_slidr_val, edited);
    connect(ui.Image_reset_btn, &QPushButton::clicked, this, &ImagePage::resetRequested);
    resetEffectControls();
}

void ImagePage::showEffects(const ImageTabValues &v)
{
    PanelControls::setSliderValue(ui.Rotate_slidr, ui.Rotate_slidr_val, v.rotation);
    PanelControls::setSliderValue(ui.Trsp_slidr, ui.Trsp_slidr_val, v.opacity);
    PanelControls::setSliderValue(ui.Hue_slidr, ui.Hue_slidr_val, v.hue);
    PanelControls::setSliderValue(ui.Sat_slidr, ui.Sat_slidr_val, v.saturation);
    PanelControls::setSliderValue(ui.Brt_slidr, ui.Brt_slidr_val, v.brightness);
    PanelControls::setSliderValue(ui.Con_slidr, ui.Con_slidr_val, v.contrast);
    PanelControls::setSliderValue(ui.shrp_slidr, ui.shrp_slidr_val, v.sharpness);
    PanelControls::setSliderValue(ui.ev_slidr, ui.ev_slidr_val, v.exposure);
    PanelControls::setSliderValue(ui.blr_slidr, ui.blr_slidr_val, v.blur);
    ui.Image_Gray_Scale_chk->setChecked(v.grey);
    ui.Image_Sepia_chk->setChecked(v.sepia);
    ui.Image_Invert_chk->setChecked(v.invert);
    ui.Image_FIV_chk->setChecked(v.flipV);
    ui.Image_FIH_chk->setChecked(v.flipH);
}

void ImagePage::resetEffectControls()
{
    ImageTabValues neutral;
    neutral.resetEffects();
    showEffects(neutral);
}

void ImagePage::load(const LMNGraphic &graphic)
{
    ui.Image_border_chk->setChecked(graphic._isDrawingStroke);
    ui.Image_bor_Stepper->setValue(int(graphic._strokeWidth));
    ui.Image_bordr_clr->setColor(graphic._strokeColor);
    PanelControls::showBorderCode(ui.Image_border_style, graphic._stroke_border_type);
    ImageTabValues v;
    v.rotation = graphic.rotate_image;
    v.opacity = graphic.img_trnsp_val;
    v.hue = graphic.hue_val;
    v.saturation = graphic.sat_val;
    v.brightness = graphic.brt_val;
    v.contrast = graphic.con_val;
    v.sharpness = graphic.srp_val;
    v.exposure = graphic.ev_val;
    v.blur = graphic.blr_val;
    v.grey = graphic.gray_Scale;
    v.sepia = graphic.Sepia;
    v.invert = graphic.invert_clr;
    v.flipV = graphic._isFlippedVertically;
    v.flipH = graphic._isFlippedHorizontally;
    showEffects(v);
    SetObjEnabled(ui.Image_Border_Box, graphic._isDrawingStroke);
}

ImageTabValues ImagePage::values() const
{
    ImageTabValues v;
    v.stroke = {ui.Image_border_chk->isChecked(), ui.Image_bordr_clr->color(), ui.Image_bor_Stepper->value(),
                ui.Image_border_style->currentIndex()};
    v.flipH = ui.Image_FIH_chk->isChecked();
    v.flipV = ui.Image_FIV_chk->isChecked();
    v.invert = ui.Image_Invert_chk->isChecked();
    v.grey = ui.Image_Gray_Scale_chk->isChecked();
    v.sepia = ui.Image_Sepia_chk->isChecked();
    v.opacity = float(ui.Trsp_slidr_val->value());
    v.rotation = float(ui.Rotate_slidr_val->value());
    v.hue = float(ui.Hue_slidr_val->value());
    v.saturation = float(ui.Sat_slidr_val->value());
    v.brightness = float(ui.Brt_slidr_val->value());
    v.contrast = float(ui.Con_slidr_val->value());
    v.sharpness = float(ui.shrp_slidr_val->value());
    v.exposure = float(ui.ev_slidr_val->value());
    v.blur = float(ui.blr_slidr_val->value());
    return v;
}
