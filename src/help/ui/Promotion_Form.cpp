#include "help/ui/Promotion_Form.h"

#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "editor/EditorGlobals.h"
#include "editor/ui/LMNWindowController.h"
#include "help/HelpLinks.h"
#include "help/ui/HelpLinkLook.h"
#include "help/ui/Review_Form.h"

Promotion_Form *Promotion_DefaultInstance = nullptr;

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
    setProducts(PromotionProducts::make(Main_App_wnd ? Main_App_wnd->App_Name : QStringLiteral("Festiloom")));

    connect(ui.website_1, &QPushButton::clicked, this, [] { Main_App_wnd->Open_Website_1(); });
    connect(ui.support_id, &QPushButton::clicked, this, [] { Main_App_wnd->Open_Support_Mail(); });
    connect(ui.Mail_btn, &QPushButton::clicked, this, &Promotion_Form::Mail_Clicked);
    connect(ui.Contact_us_btn, &QPushButton::clicked, this, &Promotion_Form::Contact_us_Clicked);
    connect(ui.youtube_btn, &QPushButton::clicked, this, &Promotion_Form::youtube_Clicked);
    connect(ui.OK_btn, &QPushButton::clicked, this, &Promotion_Form::OK_Clicked);
    Promotion_DefaultInstance = this;
}

Promotion_Form *Promotion_Form::defaultInstance()
{
    if (!Promotion_DefaultInstance)
        new Promotion_Form;
    return Promotion_DefaultInstance;
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
