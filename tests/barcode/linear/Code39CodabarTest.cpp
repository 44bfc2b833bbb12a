#include "LinearTestSupport.h"

#include "barcode/linear/NKDCode39Barcode.h"

using namespace LinearTest;

TEST(Code39, LowerCaseIsUpperCasedAndExtendedCharactersArePairs)
{
    auto barcode = make("Code 39", "code-39");
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->content(), "CODE-39");
    EXPECT_EQ(barcode->completeBarcode().size(), 9 * 13);
    EXPECT_EQ(barcode->checkDigit(), -1);
    EXPECT_EQ(NKDCode39Barcode::patternOf('0'), QByteArray("1010011011010"));
    EXPECT_EQ(barcode->initiator(), QByteArray("1001011011010"));
    expectReads("Code 39", "code-39", ZXing::BarcodeFormat::Code39, "CODE-39");

    auto extended = make("Extended Code 39", "a_");
    ASSERT_TRUE(extended);
    EXPECT_EQ(extended->content(), "a_");
    const auto p = &NKDCode39Barcode::patternOf;
    EXPECT_EQ(extended->completeBarcode(), p('*') + p('+') + p('A') + p('%') + p('O') + p('*'));
}

TEST(Codabar, StartAndStopCharacters)
{
    auto framed = make("Codabar", "A123B");
    ASSERT_TRUE(framed);
    EXPECT_TRUE(framed->initiator().isEmpty());
    // B and C as the published table has them, each character followed by a gap.
    EXPECT_EQ(framed->completeBarcode().right(11), QByteArray("10010010110"));
    auto bare = make("Codabar", "123");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->caption(), "123");
    expectReads("Codabar", "A123B", ZXing::BarcodeFormat::Codabar, "A123B", 2, false, true);
    expectReads("Codabar", "123", ZXing::BarcodeFormat::Codabar, "123");
}
