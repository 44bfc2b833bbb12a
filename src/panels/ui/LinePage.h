#pragma once

#include "panels/ElementTabValues.h"
#include "ui_LinePage.h"

#include <QWidget>

// The line page: width, colour, dash style, ends, direction and opacity of a line element.
class LinePage : public QWidget
{
    Q_OBJECT

public:
    explicit LinePage(QWidget *parent = nullptr);
    Ui::LinePage ui;

    void load(const LMNGraphic &graphic);
    LineTabValues values() const;

signals:
    // A control of the page was changed: the page must be written back.
    void edited();
};
