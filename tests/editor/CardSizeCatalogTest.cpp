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

TEST(CardSizeCatalog, IdentityCardSizesAreThoseOfIso7810)
{
    const auto id1 = CardSizeCatalog::find("CR80-Credit Card Size");
    ASSERT_TRUE(id1.has_value());
    EXPECT_DOUBLE_EQ(id1->widthMM, 85.60);
    EXPECT_DOUBLE_EQ(id1->heightMM, 53.98);
    // About the editor's default card of 243 x 154 points.
    EXPECT_NEAR(id1->sizeInPoints().width(), 242.65, 0.01);
    EXPECT_NEAR(id1->sizeInPoints().height(), 153.01, 0.01);
    EXPECT_EQ(id1->sizeInPoints(true), id1->sizeInPoints().transposed());

    const auto id2 = CardSizeCatalog::find("ID-2-Identity Card Size");
    ASSERT_TRUE(id2.has_value());
    EXPECT_DOUBLE_EQ(id2->widthMM, 105.0);
    EXPECT_DOUBLE_EQ(id2->heightMM, 74.0);
    const auto id3 = CardSizeCatalog::find("ID-3-Passport Card Size");
    ASSERT_TRUE(id3.has_value());
    EXPECT_DOUBLE_EQ(id3->widthMM, 125.0);
    EXPECT_DOUBLE_EQ(id3->heightMM, 88.0);
}

TEST(CardSizeCatalog, PaperSizesMatchQtsPageSizeTable)
{
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

TEST(CardSizeCatalog, MillimetresToPoints)
{
    EXPECT_NEAR(CardSizeCatalog::MM_to_Points_Convert(25.4f), 72.0, 1e-5);
    EXPECT_DOUBLE_EQ(CardSizeCatalog::MM_to_Points_Convert(0.0f), 0.0);
    EXPECT_NEAR(CardSizeCatalog::MM_to_Points_Convert(-10.0f), -28.34645669291, 1e-9);
}
