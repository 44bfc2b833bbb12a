#pragma once

#include "ui_Help_Support.h"

#include <QDialog>

// The help and support window: the user guide, the maker's mail and web links and the social
// share pages. The editor owns one (its HelpWindow) and runs it from the Help command;
// closing it ends the run with 1.
class Help_Support : public QDialog
{
    Q_OBJECT

public:
    explicit Help_Support(QWidget *parent = nullptr);

    Ui::Help_Support ui;

    void HelpFilePressed();
    void Facebook_Clicked();
    void Twitter_Clicked();
    void FB_Like_Clicked();
    // Opens the maker's social-comments page, as the editor's share command does.
    void Social_Comments_Clicked();

    void reject() override;
};
