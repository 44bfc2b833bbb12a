#include "LinearTestSupport.h"

#include "barcode/linear/NKDModifiedPlesseyHexBarcode.h"

using namespace LinearTest;

namespace {

constexpr int kZintIndustrial2of5 = 7;
constexpr int kZintMsiPlessey = 47;

// `fixed` and `count` random values of 1 + [0, spread) digits (from `minimum` on).
QStringList digitValues(QRandomGenerator &random, QStringList fixed, int count, int minimum, int spread)
{
    for (int i = 0; i < count; ++i)
        fixed << randomText(random, "0123456789", minimum + random.bounded(spread));
    return fixed;
}

} // namespace

TEST(TwoOfFive, InterleavedPadsOddLengthsWithALeadingZero)
{
    auto barcode = make("Interleaved 2 of 5", "123");
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->completeBarcode().size(), 4 + 2 * 18 + 5);
    EXPECT_EQ(barcode->checkDigit(), -1);
    EXPECT_EQ(barcode->caption(), "0123"); // what a scanner reads

}

TEST(TwoOfFive, IndustrialMatchesZint)
{
    auto barcode = make("Industrial 2 of 5", "12");
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->completeBarcode().size(), 47);
    EXPECT_EQ(barcode->caption(), "12");
    QRandomGenerator random(7);
    for (const QString &value : digitValues(random, {"12", "0", "1234567890"}, 25, 1, 20))
        expectZintRow("Industrial 2 of 5", value, kZintIndustrial2of5);
}

TEST(Plessey, ModifiedPlesseyCheckDigitsAndZint)
{
    auto barcode = make("Modified Plessey", "1234");
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->checkDigit(), '4');
    EXPECT_EQ(barcode->initiator(), QByteArray("110"));
    EXPECT_EQ(barcode->terminator(), QByteArray("1001"));
    QRandomGenerator random(47);
    for (const QString &value : digitValues(random, {"1234", "0", "80523"}, 25, 1, 20)) {
        for (const char *title : {"Modified Plessey", "Modified Plessey (Hex)"})
            expectZintRow(title, value, kZintMsiPlessey, {"--vers=1"});
    }

    // Hex letters: F = 1111, then the Luhn check modulo 16: F doubled is 30 -> 15, plus 1 = 16 -> check 0.
    auto hex = make("Modified Plessey (Hex)", "1F");
    ASSERT_TRUE(hex);
    EXPECT_EQ(hex->checkDigit(), '0');
    EXPECT_EQ(hex->completeBarcode(), QByteArray("110") + "100100100110" + "110110110110" + "100100100100" + "1001");
    EXPECT_EQ(NKDModifiedPlesseyHexBarcode::modulo16CheckDigit("A"), 'B'); // 20 -> 5, 16 - 5 = 11
}
