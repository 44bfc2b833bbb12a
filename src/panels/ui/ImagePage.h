#pragma once

#include "panels/ElementTabValues.h"
#include "ui_ImagePage.h"

#include <QWidget>

// The picture page: border and image effects of a picture element. Its file lives on the
// source page (Manual_image_path).
class ImagePage : public QWidget
{
    Q_OBJECT

public:
    explicit ImagePage(QWidget *parent = nullptr);
    Ui::ImagePage ui;

    void load(const LMNGraphic &graphic);
    // Border and effects; the caller adds the path.
    ImageTabValues values() const;
    // Reset_Image_Editing_Controls: the effect controls to their neutral values (border and
    // path untouched); nothing is written into elements.
    void resetEffectControls();

signals:
    void edited();
    void resetRequested();

private:
    void showEffects(const ImageTabValues &values);
};
