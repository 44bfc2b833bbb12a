#include "help/ui/Share_It_Dlg.h"

#include "dialogs/ui/UiUtilities.h"
#include "help/ui/HelpCommands.h"

Share_It_Dlg::Share_It_Dlg(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    connect(ui.Facebook, &QPushButton::clicked, this, &Share_It_Dlg::Facebook_Clicked);
    connect(ui.Twitter, &QPushButton::clicked, this, &Share_It_Dlg::Twitter_Clicked);
    connect(ui.FB_Like, &QPushButton::clicked, this, &Share_It_Dlg::FB_Like_Clicked);
    connect(ui.OK_btn, &QPushButton::clicked, this, &Share_It_Dlg::OK_Pressed);
    connect(ui.Go_Share_It, &QPushButton::clicked, this, &Share_It_Dlg::Go_Share_It_Pressed);
}

void Share_It_Dlg::Facebook_Clicked()
{
    HelpCommands::Open_FaceBook();
}

void Share_It_Dlg::Twitter_Clicked()
{
    HelpCommands::Open_Twitter();
}

void Share_It_Dlg::FB_Like_Clicked()
{
    HelpCommands::Open_FB_Like();
}

void Share_It_Dlg::OK_Pressed()
{
    done(1);
}

void Share_It_Dlg::Go_Share_It_Pressed()
{
    HelpCommands::Open_Share_It_Dl();
}
