#include "panels/ui/LinePage.h"

#include "panels/ui/PanelControls.h"

LinePage::LinePage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    // Line_Width_Changed: and Line_Alpha_Changed: (the spin box shows its own value).
    for (QSpinBox *spin : {ui.Line_Wdt_Stepper, ui.Line_alpha_Stepper})
        connect(spin, &QSpinBox::valueChanged, this, &LinePage::edited);
    // Set_LineControl_Clr:
    connect(ui.Line_clr, &ColorWell::colorChanged, this, &LinePage::edited);
}

void LinePage::load(const LMNGraphic &graphic)
{
    ui.Line_Wdt_Stepper->setValue(int(graphic._strokeWidth));
    ui.Line_clr->setColor(graphic._strokeColor);
    PanelControls::showBorderCode(ui.Line_border_style, graphic._stroke_border_type);
    PanelControls::showIndex(ui.Line_ori_style, graphic._line_ori);
    PanelControls::showIndex(ui.Line_cap_style, graphic._line_cap_style);
    ui.Line_alpha_Stepper->setValue(qRound(graphic.alpha_val_stroke * 100.0f));
}

LineTabValues LinePage::values() const
{
    LineTabValues v;
    v.color = ui.Line_clr->color();
    v.width = ui.Line_Wdt_Stepper->value();
    v.styleIndex = ui.Line_border_style->currentIndex();
    v.capIndex = ui.Line_cap_style->currentIndex();
    v.orientationIndex = ui.Line_ori_style->currentIndex();
    v.opacityPercent = ui.Line_alpha_Stepper->value();
    return v;
}
