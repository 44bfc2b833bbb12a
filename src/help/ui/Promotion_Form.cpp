#include "help/ui/Promotion_Form.h"
#include "dialogs/ui/SharedWindow.h"

#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "help/ui/HelpCommands.h"
#include "help/HelpLinks.h"
#include "help/ui/HelpLinkLook.h"
#include "help/ui/Review_Form.h"

#include <QApplication>

static void initPromotionResources()
{
    Q_INIT_RESOURCE(resources);
}

Promotion_Form::Promotion_Form(QWidget *parent)
    : QDialog(parent)
{
    initPromotionResources();
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    HelpLinkLook::apply(ui.website_1);
    HelpLinkLook::apply(ui.support_id);
    // The links are made once: a later change of the application's name does not change them.
    setProducts(PromotionProducts::make(QApplication::applicationDisplayName()));

    connect(ui.website_1, &QPushButton::clicked, this, [] { HelpCommands::Open_Website_1(); });
    connect(ui.support_id, &QPushButton::clicked, this, [] { HelpCommands::Open_Support_Mail(); });
    connect(ui.Mail_btn, &QPushButton::clicked, this, &Promotion_Form::Mail_Clicked);
    connect(ui.Contact_us_btn, &QPushButton::clicked, this, &Promotion_Form::Contact_us_Clicked);
    connect(ui.youtube_btn, &QPushButton::clicked, this, &Promotion_Form::youtube_Clicked);
    connect(ui.OK_btn, &QPushButton::clicked, this, &Promotion_Form::OK_Clicked);
}

Promotion_Form *Promotion_Form::defaultInstance()
{
    return sharedWindow<Promotion_Form>();
}

void Promotion_Form::setProducts(const QList<PromotionProduct> &products)
{
    m_products = products;
    m_pictures.clear();
    for (const PromotionProduct &product : m_products)
        m_pictures.append(QPixmap(product.picture));
}

const PromotionProduct *Promotion_Form::current() const
{
    return PromotionProducts::find(m_products, software_type);
}

int Promotion_Form::Open_Promotion_Window()
{
    if (const PromotionProduct *product = current()) {
        ui.bundle_image->setPixmap(m_pictures.at(int(product - m_products.constData())));
        ui.Software_title->setText(product->title);
        ui.short_descp->setText(product->shortText);
        ui.long_descp->setText(product->longText);
    }
    const int code = ModalSeam::instance().execDialog(this);
    hide();
    return code;
}

void Promotion_Form::Mail_Clicked()
{
    if (const PromotionProduct *product = current())
        Open_Link(product->mailLink);
}

void Promotion_Form::Contact_us_Clicked()
{
    if (const PromotionProduct *product = current())
        Open_Link(product->contactLink);
}

void Promotion_Form::youtube_Clicked()
{
    Open_Link(HelpLinks::channelPage().toString(QUrl::FullyEncoded));
}

void Promotion_Form::OK_Clicked()
{
    done(1);
}

void Promotion_Form::Open_Link(const QString &address)
{
    Review_Form::Open_Link(address);
}
