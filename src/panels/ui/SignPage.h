#pragma once

#include "panels/ElementTabValues.h"
#include "ui_SignPage.h"

#include <QWidget>

// The signature page: border and picture file of a signature or fingerprint element.
class SignPage : public QWidget
{
    Q_OBJECT

public:
    explicit SignPage(QWidget *parent = nullptr);
    Ui::SignPage ui;

    void load(const LMNGraphic &graphic);
    SignTabValues values() const;

signals:
    void edited();
    void browseRequested();
};
