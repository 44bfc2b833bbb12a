#pragma once

#include "ui_Load_Num_Info.h"

#include <QDialog>

// The manager's replace-or-add prompt: Yes (1) replaces the values, No (0) adds to them,
// Cancel (2) opens nothing.
class Load_Num_Info : public QDialog
{
    Q_OBJECT

public:
    enum Answer { Add = 0, Replace = 1, Cancelled = 2 };
    explicit Load_Num_Info(QWidget *parent = nullptr);
    Ui::Load_Num_Info ui;

    // Closing the prompt (Escape, the window's close button) is Cancel, never "add".
    void reject() override { done(Cancelled); }
};
