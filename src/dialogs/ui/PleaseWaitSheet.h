#pragma once

#include "ui_PleaseWaitSheet.h"

#include <QDialog>

// The please-wait sheet ("It may take a while, Please wait..") shown over a window while long
// work runs on the main thread. It never blocks: show it, work, hide it.
class PleaseWaitSheet : public QDialog
{
    Q_OBJECT

public:
    explicit PleaseWaitSheet(QWidget *parent = nullptr);

    Ui::PleaseWaitSheet ui;

    // Shows the sheet over its window and lets it paint before the work starts.
    void begin();
    void end();
};
