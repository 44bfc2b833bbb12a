#include "help/ui/Review_Form.h"
#include "dialogs/ui/SharedWindow.h"

#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "document/MessageLog.h"
#include "help/ui/HelpCommands.h"
#include "help/HelpLinks.h"
#include "help/ui/HelpLinkLook.h"

Review_Form::Review_Form(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    HelpLinkLook::apply(ui.website_1);
    HelpLinkLook::apply(ui.support_id);
    connect(ui.website_1, &QPushButton::clicked, this, [] { HelpCommands::Open_Website_1(); });
    connect(ui.support_id, &QPushButton::clicked, this, [] { HelpCommands::Open_Support_Mail(); });
    connect(ui.OK_btn, &QPushButton::clicked, this, &Review_Form::OK_Clicked);
    connect(ui.Review_btn, &QPushButton::clicked, this, &Review_Form::Review_Clicked);
}

Review_Form *Review_Form::defaultInstance()
{
    return sharedWindow<Review_Form>();
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
