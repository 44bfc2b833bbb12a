#include "help/PromotionProducts.h"

#include "help/HelpLinks.h"

namespace {

struct Text
{
    const char *code, *picture, *title, *shortText, *longText, *address, *question, *about, *team;
};

const Text kProducts[] = {
    {"S", ":/promotion/partyline.png", "Partyline Messenger",
     "Invitations and reminders as text messages, to the whole guest list at once.",
     "Partyline Messenger sends your invitations, reminders and thank-you notes as text messages. "
     "Import the guest list from a spreadsheet, write one message with the guest's name in it, and "
     "send it to everyone in one go. Replies are collected in one place, so you always know who is coming.",
     "partyline@festiloom.example.com", "How do I send my first invitation with Partyline Messenger?",
     "I would like to know more about Partyline Messenger:\nhow to import my guest list,\nhow to personalise the message,\nand how replies are collected.",
     "Partyline Messenger"},
    {"R", ":/promotion/rsvp-keeper.png", "RSVP Keeper",
     "Every guest's reply, meal choice and plus-one in one tidy list.",
     "RSVP Keeper records who replied, who is coming and who brings a guest. Print seating cards and "
     "name badges straight from the list, see at a glance how many places to lay, and send a friendly "
     "nudge to those who have not answered yet.",
     "rsvp@festiloom.example.com", "How do I record replies with RSVP Keeper?",
     "I would like to know more about RSVP Keeper:\nhow to add replies,\nhow to print seating cards,\nand how to remind guests who have not answered.",
     "RSVP Keeper"},
    {"B", ":/promotion/labelwright.png", "Labelwright Barcode Studio",
     "Barcode labels, price tags and stickers in every common symbology.",
     "Labelwright Barcode Studio designs labels with linear and two-dimensional barcodes, serial "
     "numbers and pictures, and prints them on sheets of any size. Fill hundreds of labels from a "
     "spreadsheet in one run.",
     "labelwright@festiloom.example.com", "How do I design my first label with Labelwright Barcode Studio?",
     "I would like to know more about Labelwright Barcode Studio:\nwhich barcodes it makes,\nhow to fill labels from a spreadsheet,\nand which label sheets it prints on.",
     "Labelwright Barcode Studio"},
};

} // namespace

QList<PromotionProduct> PromotionProducts::make(const QString &appName)
{
    QList<PromotionProduct> products;
    for (const Text &t : kProducts) {
        PromotionProduct p;
        p.code = QLatin1String(t.code);
        p.picture = QLatin1String(t.picture);
        p.title = QString::fromUtf8(t.title);
        p.shortText = QString::fromUtf8(t.shortText);
        p.longText = QString::fromUtf8(t.longText);
        const QString address = QLatin1String(t.address);
        p.mailLink = HelpLinks::mailLink(address, QString::fromUtf8(t.question), QString::fromUtf8(t.about));
        p.contactLink = HelpLinks::mailLink(
            address, QStringLiteral("User Enquiry from App: ") + appName,
            QStringLiteral("Dear %1 team,\nI read about %1 in %2 and would like to know more.\nKind regards")
                .arg(QString::fromUtf8(t.team), appName));
        products.append(p);
    }
    return products;
}

const PromotionProduct *PromotionProducts::find(const QList<PromotionProduct> &products, const QString &code)
{
    for (const PromotionProduct &p : products)
        if (p.code == code)
            return &p;
    return nullptr;
}
