#include "help/ui/HelpCommands.h"

#include "document/MessageLog.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "help/HelpLinks.h"
#include "help/ui/Help_Support.h"
#include "help/ui/Promotion_Form.h"
#include "help/ui/Review_Form.h"
#include "help/ui/Share_It_Dlg.h"

HelpCommands::HelpCommands(QWidget *window)
    : m_window(window)
{
}

void HelpCommands::Help_Button()
{
    if (!HelpWindow)
        HelpWindow = new Help_Support(m_window);
    ModalSeam::instance().execDialog(HelpWindow);
    HelpWindow->hide();
}

void HelpCommands::Open_Support_Mail()
{
    Open_Address(HelpLinks::supportMail());
}

void HelpCommands::Open_Reseller_Mail()
{
    Open_Address(HelpLinks::resellerMail());
}

void HelpCommands::Open_Website_1()
{
    Open_Address(HelpLinks::website1());
}

void HelpCommands::Open_Website_2()
{
    Open_Address(HelpLinks::website2());
}

void HelpCommands::Open_Website_3()
{
    Open_Address(HelpLinks::website3());
}

void HelpCommands::Open_FaceBook()
{
    Open_Address(HelpLinks::facebookShare());
}

void HelpCommands::Open_Twitter()
{
    Open_Address(HelpLinks::twitterShare());
}

void HelpCommands::Open_FB_Like()
{
    Open_Address(HelpLinks::facebookLike());
}

void HelpCommands::Open_Share_It_Dl()
{
    Open_Address(HelpLinks::socialComments());
}

void HelpCommands::Share_It_Button_Clicked()
{
    Open_Share_It_Dl();
}

void HelpCommands::Show_Share_It_Window()
{
    if (!Share_It_Dlg_Window)
        Share_It_Dlg_Window = new Share_It_Dlg(m_window);
    ModalSeam::instance().execDialog(Share_It_Dlg_Window);
    Share_It_Dlg_Window->hide();
}

void HelpCommands::Open_Promotion(const QString &code)
{
    Promotion_Form *form = Promotion_Form::defaultInstance();
    form->software_type = code;
    form->Open_Promotion_Window();
}

void HelpCommands::Show_Review_Window()
{
    if (!Review_Window)
        Review_Window = Review_Form::defaultInstance();
    Review_Window->Open_Review_Form_Window();
}
