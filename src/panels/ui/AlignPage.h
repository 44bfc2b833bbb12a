#pragma once

#include "ui_AlignPage.h"

#include <QWidget>

// The alignment page: the layout commands on the selection and the grid window.
class AlignPage : public QWidget
{
    Q_OBJECT

public:
    explicit AlignPage(QWidget *parent = nullptr);
    Ui::AlignPage ui;
};
