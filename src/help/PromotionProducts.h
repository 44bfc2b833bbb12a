#pragma once

#include <QList>
#include <QString>

// The three other products of Festiloom's maker that the promotion window presents, by their
// one-letter code: "S" (text-message invitations), "R" (guest replies) and "B" (barcode labels).
struct PromotionProduct
{
    QString code;
    QString picture;        // resource path of its picture (":/promotion/…")
    QString title;
    QString shortText;
    QString longText;
    QString mailLink;       // asks the product's support how to use it
    QString contactLink;    // a user enquiry naming the application the user read about it in
};

class PromotionProducts
{
public:
    // The products with their links made for an application called `appName`; made once per
    // window, so a later change of the name does not change them.
    static QList<PromotionProduct> make(const QString &appName);
    // The product of `code` ("S", then "R", then "B"), or null.
    static const PromotionProduct *find(const QList<PromotionProduct> &products, const QString &code);
};
