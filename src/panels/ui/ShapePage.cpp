#include "panels/ui/ShapePage.h"

#include "dialogs/ui/UiUtilities.h"
#include "panels/ui/PanelControls.h"

#include <QHash>

ShapePage::ShapePage(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);
    ui.Shape_prop_title->hide();   // the page's tab carries the same words
    // Shape_Border_ChkBox: and Shape_Fill_Chk_Box:
    connect(ui.Shape_border_chk, &QCheckBox::clicked, this, [this](bool on) {
        SetObjEnabled(ui.Shape_Border_Box, on);
        emit edited();
    });
    connect(ui.Shape_fill_chk, &QCheckBox::clicked, this, [this](bool on) {
        SetObjEnabled(ui.Shape_Fill_Box, on);
        emit edited();
    });
    // The fill radios.
    connect(ui.Shape_solid_fill_rd, &QRadioButton::clicked, this, [this] { showFill(QStringLiteral("S")); emit edited(); });
    connect(ui.Shape_gradient_fill_rd, &QRadioButton::clicked, this, [this] { showFill(QStringLiteral("G")); emit edited(); });
    connect(ui.Shape_Style_fill_rd, &QRadioButton::clicked, this, [this] { showFill(QStringLiteral("H")); emit edited(); });
    // The steppers (each spin box shows its own value) and Set_Control_Clr:
    for (QSpinBox *spin : {ui.shape_bor_Stepper, ui.shape_grad_Stepper, ui.shape_alpha_Stepper, ui.double_star_Stepper,
                           ui.polygon_Stepper})
        connect(spin, &QSpinBox::valueChanged, this, &ShapePage::edited);
    connect(ui.shape_cor_radius_Stepper, &QDoubleSpinBox::valueChanged, this, &ShapePage::edited);
    for (ColorWell *well : {ui.shape_bordr_clr, ui.shape_fill_clr, ui.shape_fill_Grd_1_clr, ui.shape_fill_Grd_2_clr,
                            ui.shape_hatch_bk_clr})
        connect(well, &ColorWell::colorChanged, this, &ShapePage::edited);
}

QString ShapePage::titleOf(const QString &shapeCode)
{
    static const QHash<QString, QString> titles = {
        {QStringLiteral("R"), QStringLiteral("Rectangle Properties")},
        {QStringLiteral("C"), QStringLiteral("Ellipse Properties")},
        {QStringLiteral("RR"), QStringLiteral("Rounded Rectangle Properties")},
        {QStringLiteral("T"), QStringLiteral("Triangle Properties")},
        {QStringLiteral("D"), QStringLiteral("Diamond Properties")},
        {QStringLiteral("S"), QStringLiteral("Star Properties")},
        {QStringLiteral("DS"), QStringLiteral("Double Star Properties")},
        {QStringLiteral("P"), QStringLiteral("Polygon Properties")}};
    return titles.value(shapeCode);
}

void ShapePage::showExtrasFor(const QString &shapeCode, bool locked)
{
    const QList<QWidget *> radius = {ui.shape_cor_radius_Label, ui.shape_cor_radius_Stepper};
    const QList<QWidget *> star = {ui.double_star_Label, ui.double_star_Stepper};
    const QList<QWidget *> polygon = {ui.polygon_Label, ui.polygon_Stepper};
    for (const QList<QWidget *> &group : {radius, star, polygon})
        for (QWidget *w : group)
            w->setVisible(false);
    if (locked)
        return;
    const QList<QWidget *> *shown = shapeCode == QLatin1String("RR")   ? &radius
                                    : shapeCode == QLatin1String("DS") ? &star
                                    : shapeCode == QLatin1String("P")  ? &polygon
                                                                       : nullptr;
    if (shown)
        for (QWidget *w : *shown)
            w->setVisible(true);
}

void ShapePage::showFill(const QString &fillCode)
{
    const bool gradient = fillCode == QLatin1String("G");
    const bool hatch = fillCode == QLatin1String("H");
    ui.Shape_gradient_fill_rd->setChecked(gradient);
    ui.Shape_Style_fill_rd->setChecked(hatch);
    ui.Shape_solid_fill_rd->setChecked(!gradient && !hatch);
    ui.shape_fill_clr->setEnabled(!gradient && !hatch);
    for (QWidget *w : {static_cast<QWidget *>(ui.shape_fill_Grd_1_clr), static_cast<QWidget *>(ui.shape_fill_Grd_2_clr),
                       static_cast<QWidget *>(ui.shape_grad_Stepper)})
        w->setEnabled(gradient);
    ui.shape_hatch_style->setEnabled(hatch);
    ui.shape_hatch_bk_clr->setEnabled(hatch);
}

void ShapePage::fillHatchStyles(const QStringList &names)
{
    ui.shape_hatch_style->clear();
    ui.shape_hatch_style->addItems(names);
}

void ShapePage::load(const LMNGraphic &graphic)
{
    ui.Shape_border_chk->setChecked(graphic._isDrawingStroke);
    ui.shape_bor_Stepper->setValue(int(graphic._strokeWidth));
    ui.shape_bordr_clr->setColor(graphic._strokeColor);
    PanelControls::showBorderCode(ui.shape_border_style, graphic._stroke_border_type);
    ui.Shape_fill_chk->setChecked(graphic._isDrawingFill);
    ui.shape_fill_clr->setColor(graphic._fillColor);
    ui.shape_fill_Grd_1_clr->setColor(graphic._fill_Grad_clr1);
    ui.shape_fill_Grd_2_clr->setColor(graphic._fill_Grad_clr2);
    ui.shape_hatch_bk_clr->setColor(graphic._fill_htch_clr);
    PanelControls::showText(ui.shape_hatch_style, graphic._fill_hatch_type);
    ui.shape_grad_Stepper->setValue(qRound(graphic._fill_grad_angle));
    ui.shape_alpha_Stepper->setValue(qRound(graphic.alpha_val * 100.0f));
    ui.shape_cor_radius_Stepper->setValue(graphic.cor_rad_val_val);
    ui.double_star_Stepper->setValue(graphic.double_star_type);
    ui.polygon_Stepper->setValue(graphic.polygon_type);
    SetObjEnabled(ui.Shape_Border_Box, graphic._isDrawingStroke);
    SetObjEnabled(ui.Shape_Fill_Box, graphic._isDrawingFill);
    showFill(graphic._fill_type);
}

ShapeTabValues ShapePage::values() const
{
    ShapeTabValues v;
    v.stroke = {ui.Shape_border_chk->isChecked(), ui.shape_bordr_clr->color(), ui.shape_bor_Stepper->value(),
                ui.shape_border_style->currentIndex()};
    v.fillOn = ui.Shape_fill_chk->isChecked();
    v.fillColor = ui.shape_fill_clr->color();
    v.gradientRadio = ui.Shape_gradient_fill_rd->isChecked();
    v.hatchRadio = ui.Shape_Style_fill_rd->isChecked();
    v.gradient1 = ui.shape_fill_Grd_1_clr->color();
    v.gradient2 = ui.shape_fill_Grd_2_clr->color();
    v.gradientAngle = ui.shape_grad_Stepper->value();
    v.hatchBackground = ui.shape_hatch_bk_clr->color();
    v.hatchName = ui.shape_hatch_style->currentIndex() >= 0 ? ui.shape_hatch_style->currentText() : QString();
    v.opacityPercent = ui.shape_alpha_Stepper->value();
    v.cornerRadius = ui.shape_cor_radius_Stepper->value();
    v.doubleStar = ui.double_star_Stepper->value();
    v.polygon = ui.polygon_Stepper->value();
    return v;
}
