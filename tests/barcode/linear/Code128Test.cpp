#include "LinearTestSupport.h"

#include "barcode/linear/NKDCode128Barcode.h"

using namespace LinearTest;

namespace {

NKDCode128Barcode *code128(const std::unique_ptr<NKDBarcode> &barcode)
{
    return static_cast<NKDCode128Barcode *>(barcode.get());
}

} // namespace

TEST(Code128, AutomaticSetChoiceAndTheWorkedExamples)
{
    const std::pair<const char *, NKDCode128Barcode::CodeSet> choices[] = {
        {"12345", NKDCode128Barcode::SetC}, {"abc", NKDCode128Barcode::SetB},
        {"\x01\x02\x03z", NKDCode128Barcode::SetA}, {"\x01z", NKDCode128Barcode::SetB}}; // a tie goes to B
    for (const auto &[text, set] : choices) {
        auto barcode = make("Code 128", QString::fromLatin1(text));
        ASSERT_TRUE(barcode);
        EXPECT_EQ(code128(barcode)->codeSet(), set) << text;
    }

    auto setB = make("Code 128 SET B", "AB");
    ASSERT_TRUE(setB);
    EXPECT_EQ(setB->checkDigit(), 102); // (104 + 1 x 33 + 2 x 34) mod 103
    auto setC = make("Code 128 SET C", "1234");
    ASSERT_TRUE(setC);
    EXPECT_EQ(setC->checkDigit(), 82); // (105 + 1 x 12 + 2 x 34) mod 103
    // Start, two pairs, check, stop.
    EXPECT_EQ(setC->completeBarcode().size(), 11 + 2 * 11 + 11 + 13);
    EXPECT_EQ(setC->initiator(), QByteArray("11010011100"));
    EXPECT_EQ(setC->terminator(), QByteArray("1100011101011"));
}

TEST(Code128, OddDigitCountsAndCharactersOutsideTheSetAreShiftedAndCounted)
{
    // A leading zero would change the number; the last digit goes through a change to set B.
    auto odd = make("Code 128 SET C", "12345");
    ASSERT_TRUE(odd);
    EXPECT_EQ(code128(odd)->dataSymbols(), (std::vector<int>{12, 34, 100, 21}));
    auto shifted = make("Code 128 SET A", "Ab");
    ASSERT_TRUE(shifted);
    EXPECT_EQ(code128(shifted)->dataSymbols(), (std::vector<int>{33, 98, 66}));
    expectReads("Code 128 SET C", "12345", ZXing::BarcodeFormat::Code128, "12345");
    expectReads("Code 128 SET A", "Ab", ZXing::BarcodeFormat::Code128, "Ab");
    expectReads("Code 128 SET B", "x\ty", ZXing::BarcodeFormat::Code128, "x\ty");
}
