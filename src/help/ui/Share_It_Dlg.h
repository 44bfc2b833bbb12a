#pragma once

#include "ui_Share_It_Dlg.h"

#include <QDialog>

// The share window: the social networks' share pages. The editor keeps one as its
// Share_It_Dlg_Window and shows it from the Help menu.
class Share_It_Dlg : public QDialog
{
    Q_OBJECT

public:
    explicit Share_It_Dlg(QWidget *parent = nullptr);

    Ui::Share_It_Dlg ui;

    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    void OK_Pressed();
    // Opens the maker's social-comments page.
    void Go_Share_It_Pressed();
};
