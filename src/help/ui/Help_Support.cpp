#include "help/ui/Help_Support.h"

#include "dialogs/ui/UiUtilities.h"
#include "help/ui/HelpCommands.h"
#include "help/ui/HelpLinkLook.h"

Help_Support::Help_Support(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    for (QAbstractButton *link : {static_cast<QAbstractButton *>(ui.website_1), static_cast<QAbstractButton *>(ui.reseller_1),
                                  static_cast<QAbstractButton *>(ui.reseller_2), static_cast<QAbstractButton *>(ui.support_id),
                                  static_cast<QAbstractButton *>(ui.support_id_2), static_cast<QAbstractButton *>(ui._Help_File_Label)})
        HelpLinkLook::apply(link);

    connect(ui._Help_File_Label, &QPushButton::clicked, this, &Help_Support::HelpFilePressed);
    connect(ui.website_1, &QPushButton::clicked, this, [] { HelpCommands::Open_Website_1(); });
    connect(ui.reseller_1, &QPushButton::clicked, this, [] { HelpCommands::Open_Reseller_Mail(); });
    connect(ui.reseller_2, &QPushButton::clicked, this, [] { HelpCommands::Open_Reseller_Mail(); });
    connect(ui.support_id, &QPushButton::clicked, this, [] { HelpCommands::Open_Support_Mail(); });
    connect(ui.support_id_2, &QPushButton::clicked, this, [] { HelpCommands::Open_Support_Mail(); });
    connect(ui.Facebook, &QPushButton::clicked, this, &Help_Support::Facebook_Clicked);
    connect(ui.Twitter, &QPushButton::clicked, this, &Help_Support::Twitter_Clicked);
    connect(ui.FB_Like, &QPushButton::clicked, this, &Help_Support::FB_Like_Clicked);
    connect(ui.Social_Comments, &QPushButton::clicked, this, &Help_Support::Social_Comments_Clicked);
    connect(ui.close_btn, &QPushButton::clicked, this, [this] { done(1); });
}

void Help_Support::HelpFilePressed()
{
    Open_Help_File();
}

void Help_Support::Facebook_Clicked()
{
    HelpCommands::Open_FaceBook();
}

void Help_Support::Twitter_Clicked()
{
    HelpCommands::Open_Twitter();
}

void Help_Support::FB_Like_Clicked()
{
    HelpCommands::Open_FB_Like();
}

void Help_Support::Social_Comments_Clicked()
{
    HelpCommands::Open_Share_It_Dl();
}

void Help_Support::reject()
{
    done(1);
}
