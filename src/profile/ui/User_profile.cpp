#include "profile/ui/User_profile.h"
#include "dialogs/ui/SharedWindow.h"

#include "document/DocumentGlobals.h"
#include "profile/ProfileGlobals.h"

#include <QComboBox>

User_profile::User_profile(QWidget *parent)
    : ProfileDialogBase(parent)
{
    ui.setupUi(this);
    bindControls();
}

User_profile *User_profile::defaultInstance()
{
    return sharedWindow<User_profile>();
}

void User_profile::selectSides(int entry)
{
    for (ProfileRow &row : rows)
        if (row.side)
            row.side->setCurrentIndex(entry);
}

void User_profile::Reset_all_Ctrl()
{
    ProfileDialogBase::Reset_all_Ctrl();
    ui.Template_picture->clear();
    selectSides(2);
}

void User_profile::opened(bool load)
{
    ui.select_side_label->setVisible(!load);
    for (ProfileRow &row : rows)
        row.side->setVisible(!load);
    if (!load) {
        setWindowTitle(QStringLiteral("User Profile Information"));
        return;
    }
    setWindowTitle(Card_Front_Or_Back != 0 ? QStringLiteral("Back Side User Profile Information")
                                           : QStringLiteral("Front Side User Profile Information"));
    Create_and_Set_template_picture();
    selectSides(Card_Front_Or_Back != 0 ? 1 : 0);
}

void User_profile::Create_and_Set_template_picture()
{
    const QImage picture = renderGraphics();
    showPicture(ui.Template_picture, picture);
    showPicture(ui.Preivew_picture, picture);
}
