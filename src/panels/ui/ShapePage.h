#pragma once

#include "panels/ElementTabValues.h"
#include "ui_ShapePage.h"

#include <QWidget>

// The shape page: border, fill (solid, gradient, hatch pattern), opacity and the extra
// control of rounded rectangles, multi-point stars and polygons.
class ShapePage : public QWidget
{
    Q_OBJECT

public:
    explicit ShapePage(QWidget *parent = nullptr);
    Ui::ShapePage ui;

    void load(const LMNGraphic &graphic);
    ShapeTabValues values() const;

    // The page title of a shape code ("Rectangle Properties", ...); empty for an unknown code.
    static QString titleOf(const QString &shapeCode);
    // Hides the nine extra controls, then shows the group of the shape code when unlocked.
    void showExtrasFor(const QString &shapeCode, bool locked);
    // Radios and enabled fill controls for a fill code ("S", "G", "H").
    void showFill(const QString &fillCode);
    void fillHatchStyles(const QStringList &names);

signals:
    void edited();
};
