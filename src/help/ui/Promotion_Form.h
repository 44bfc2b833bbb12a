#pragma once

#include "help/PromotionProducts.h"
#include "ui_Promotion_Form.h"

#include <QDialog>
#include <QPixmap>

// The promotion window: one of the maker's three other products, chosen by software_type
// ("S", "R" or "B") before opening, with its picture, texts and mail links.
class Promotion_Form : public QDialog
{
    Q_OBJECT

public:
    explicit Promotion_Form(QWidget *parent = nullptr);
    static Promotion_Form *defaultInstance();

    Ui::Promotion_Form ui;
    QString software_type;

    int Open_Promotion_Window();
    void Mail_Clicked();
    void Contact_us_Clicked();
    void youtube_Clicked();
    void OK_Clicked();
    static void Open_Link(const QString &address);

    // The products with their links, made once when the window was made.
    const QList<PromotionProduct> &products() const { return m_products; }
    // Replaces the products and loads their pictures (a missing picture stays empty).
    void setProducts(const QList<PromotionProduct> &products);

private:
    const PromotionProduct *current() const;

    QList<PromotionProduct> m_products;
    QList<QPixmap> m_pictures;   // sms_bundle_image, rec_bundle_image, bar_bundle_image
};

