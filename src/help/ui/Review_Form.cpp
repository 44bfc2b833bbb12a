#include "help/ui/Review_Form.h"

#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "document/MessageLog.h"
#include "editor/EditorGlobals.h"
#include "editor/ui/LMNWindowController.h"
#include "help/HelpLinks.h"
#include "help/ui/HelpLinkLook.h"

Review_Form *review_DefaultInstance = nullptr;

Review_Form::Review_Form(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    HelpLinkLook::apply(ui.website_1);
    HelpLinkLook::apply(ui.support_id);
    connect(ui.website_1, &QPushButton::clicked, this, [] { Main_App_wnd->Open_Website_1(); });
    connect(ui.support_id, &QPushButton::clicked, this, [] { Main_App_wnd->Open_Support_Mail(); });
    connect(ui.OK_btn, &QPushButton::clicked, this, &Review_Form::OK_Clicked);
    connect(ui.Review_btn, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
    review_DefaultInstance = this;
}

Review_Form *Review_Form::defaultInstance()
{
    if (!review_DefaultInstance)
        new Review_Form;
    return review_DefaultInstance;
}

void Review_Form::OK_Clicked()
{
    Open_Link(HelpLinks::reviewPage().toString(QUrl::FullyEncoded));
    done(1);
}

void Review_Form::Review_Clicked()
{
    Open_Link(HelpLinks::reviewPage().toString(QUrl::FullyEncoded));
    done(1);
}

void Review_Form::Open_Link(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid()) {
        Show_NSLog_Message(QStringLiteral("Not an address: ") + address);
        return;
    }
    Open_Address(url);
}

int Review_Form::Open_Review_Form_Window()
{
    const int code = ModalSeam::instance().execDialog(this);
    hide();
    return code;
}
