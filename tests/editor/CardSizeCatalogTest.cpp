// The card-size lists: real sizes, checked against Qt's own page-size table where it has them.

#include "editor/CardSizeCatalog.h"

#include <QPageSize>
#include <QSet>

#include <gtest/gtest.h>

namespace {

void expectSameSize(const QString &name, QPageSize::PageSizeId id)
{
    const std::optional<CardSize> size = CardSizeCatalog::find(name);
    ASSERT_TRUE(size.has_value()) << name.toStdString();
    const QSizeF reference = QPageSize::size(id, QPageSize::Millimeter).transposed(); // lying down
    EXPECT_NEAR(size->widthMM, reference.width(), 0.5) << name.toStdString();
    EXPECT_NEAR(size->heightMM, reference.height(), 0.5) << name.toStdString();
}

} // namespace

TEST(CardSizeCatalog, ListsStartWithTheCreditCardAndHoldUsableSizes)
{
    const QStringList pvc = CardSizeCatalog::pvc_card_arry();
    ASSERT_FALSE(pvc.isEmpty());
    EXPECT_EQ(pvc.first(), "CR80-Credit Card Size");
    EXPECT_FALSE(CardSizeCatalog::paper_card_arry().isEmpty());

    QSet<QString> names;
    for (const QList<CardSize> *list : {&CardSizeCatalog::pvcCards(), &CardSizeCatalog::paperCards()}) {
        for (const CardSize &size : *list) {
            EXPECT_FALSE(names.contains(size.name)) << "duplicate " << size.name.toStdString();
            names.insert(size.name);
            EXPECT_GE(size.widthMM, size.heightMM) << size.name.toStdString() << " is listed lying down";
            EXPECT_GT(size.heightMM, 20.0) << size.name.toStdString();
            EXPECT_LT(size.widthMM, 300.0) << size.name.toStdString();
        }
    }
    EXPECT_FALSE(CardSizeCatalog::find("No Such Size").has_value());
}

TEST(CardSizeCatalog, SizesAreThoseOfIso7810AndQtsPageSizeTable)
{
    for (const auto &[name, width, height] : {std::tuple{"CR80-Credit Card Size", 85.60, 53.98},
                                              {"ID-2-Identity Card Size", 105.0, 74.0},
                                              {"ID-3-Passport Card Size", 125.0, 88.0}}) {
        const auto size = CardSizeCatalog::find(name);
        ASSERT_TRUE(size.has_value()) << name;
        EXPECT_DOUBLE_EQ(size->widthMM, width) << name;
        EXPECT_DOUBLE_EQ(size->heightMM, height) << name;
    }
    // The credit card is about the editor's default card of 243 x 154 points.
    const auto id1 = CardSizeCatalog::find("CR80-Credit Card Size");
    EXPECT_NEAR(id1->sizeInPoints().width(), 242.65, 0.01);
    EXPECT_NEAR(id1->sizeInPoints().height(), 153.01, 0.01);
    EXPECT_EQ(id1->sizeInPoints(true), id1->sizeInPoints().transposed());

    expectSameSize("A4 Sheet", QPageSize::A4);
    expectSameSize("A5 Card", QPageSize::A5);
    expectSameSize("A6 Card", QPageSize::A6);
    expectSameSize("A7 Card", QPageSize::A7);
    expectSameSize("US Letter Sheet", QPageSize::Letter);
    expectSameSize("Half Letter Card", QPageSize::Statement);
    // The US business card is 3.5 x 2 inches.
    const auto business = CardSizeCatalog::find("US Business Card Size");
    ASSERT_TRUE(business.has_value());
    EXPECT_NEAR(business->sizeInPoints().width(), 252.0, 0.01);
    EXPECT_NEAR(business->sizeInPoints().height(), 144.0, 0.01);
}
