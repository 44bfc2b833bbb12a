// The editor window's help, sharing and link commands.

#include "document/MessageLog.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "editor/ui/LMNWindowController.h"
#include "help/HelpLinks.h"
#include "help/ui/Help_Support.h"
#include "help/ui/Promotion_Form.h"
#include "help/ui/Review_Form.h"
#include "help/ui/Share_It_Dlg.h"

void LMNWindowController::Help_Button()
{
    if (!HelpWindow)
        HelpWindow = new Help_Support(this);
    ModalSeam::instance().execDialog(HelpWindow);
    HelpWindow->hide();
}

void LMNWindowController::Open_Support_Mail()
{
    Open_Address(HelpLinks::supportMail());
}

void LMNWindowController::Open_Reseller_Mail()
{
    Open_Address(HelpLinks::resellerMail());
}

void LMNWindowController::Open_Website_1()
{
    Open_Address(HelpLinks::website1());
}

void LMNWindowController::Open_Website_2()
{
    Open_Address(HelpLinks::website2());
}

void LMNWindowController::Open_Website_3()
{
    Open_Address(HelpLinks::website3());
}

void LMNWindowController::Open_Google_Plus()
{
    Open_Address(HelpLinks::googlePlusShare());
}

void LMNWindowController::Open_FaceBook()
{
    Open_Address(HelpLinks::facebookShare());
}

void LMNWindowController::Open_Twitter()
{
    Open_Address(HelpLinks::twitterShare());
}

void LMNWindowController::Open_FB_Like()
{
    Open_Address(HelpLinks::facebookLike());
}

void LMNWindowController::Open_Share_It_Dl()
{
    Open_Address(HelpLinks::socialComments());
}

void LMNWindowController::Share_It_Button_Clicked()
{
    Open_Share_It_Dl();
}

void LMNWindowController::Show_Share_It_Window()
{
    if (!Share_It_Dlg_Window)
        Share_It_Dlg_Window = new Share_It_Dlg(this);
    ModalSeam::instance().execDialog(Share_It_Dlg_Window);
    Share_It_Dlg_Window->hide();
}

void LMNWindowController::Open_Promotion(const QString &code)
{
    Promotion_Form *form = Promotion_Form::defaultInstance();
    form->software_type = code;
    form->Open_Promotion_Window();
}

void LMNWindowController::Show_Review_Window()
{
    if (!Review_Window)
        Review_Window = Review_Form::defaultInstance();
    Review_Window->Open_Review_Form_Window();
}
