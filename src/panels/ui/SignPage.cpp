#include "panels/ui/SignPage.h"

#include "dialogs/ui/UiUtilities.h"
#include "panels/ui/PanelControls.h"

SignPage::SignPage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    connect(ui.Sign_border_chk, &QCheckBox::clicked, this, [this](bool on) {
        SetObjEnabled(ui.Sign_Border_Box, on);
        emit edited();
    });
    connect(ui.Sign_bor_Stepper, &QSpinBox::valueChanged, this, &SignPage::edited);
    connect(ui.Sign_bordr_clr, &ColorWell::colorChanged, this, &SignPage::edited);
    connect(ui.Sign_Browse_Btn, &QPushButton::clicked, this, &SignPage::browseRequested);
}

void SignPage::load(const LMNGraphic &graphic)
{
    ui.Sign_border_chk->setChecked(graphic._isDrawingStroke);
    ui.Sign_bor_Stepper->setValue(int(graphic._strokeWidth));
    ui.Sign_bordr_clr->setColor(graphic._strokeColor);
    PanelControls::showBorderCode(ui.Sign_border_style, graphic._stroke_border_type);
    ui.Sign_image_path->setPlainText(graphic._file_path);
    SetObjEnabled(ui.Sign_Border_Box, graphic._isDrawingStroke);
}

SignTabValues SignPage::values() const
{
    SignTabValues v;
    v.stroke = {ui.Sign_border_chk->isChecked(), ui.Sign_bordr_clr->color(), ui.Sign_bor_Stepper->value(),
                ui.Sign_border_style->currentIndex()};
    v.path = ui.Sign_image_path->toPlainText();
    return v;
}
