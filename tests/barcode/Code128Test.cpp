#include "LinearTestSupport.h"

#include "barcode/NKDCode128Barcode.h"

using namespace LinearTest;

namespace {

NKDCode128Barcode *code128(const std::unique_ptr<NKDBarcode> &barcode)
{
    return static_cast<NKDCode128Barcode *>(barcode.get());
}

} // namespace

TEST(Code128, AutomaticSetChoice)
{
    auto digits = make(QStringLiteral("Code 128"), QStringLiteral("12345"));
    ASSERT_TRUE(digits);
    EXPECT_EQ(code128(digits)->codeSet(), NKDCode128Barcode::SetC);
    auto lower = make(QStringLiteral("Code 128"), QStringLiteral("abc"));
    EXPECT_EQ(code128(lower)->codeSet(), NKDCode128Barcode::SetB);
    auto controls = make(QStringLiteral("Code 128"), QStringLiteral("\x01\x02\x03z"));
    EXPECT_EQ(code128(controls)->codeSet(), NKDCode128Barcode::SetA);
    auto tie = make(QStringLiteral("Code 128"), QStringLiteral("\x01z"));
    EXPECT_EQ(code128(tie)->codeSet(), NKDCode128Barcode::SetB);
}

TEST(Code128, CheckValuesOfTheWorkedExamples)
{
    auto setB = make(QStringLiteral("Code 128 SET B"), QStringLiteral("AB"));
    ASSERT_TRUE(setB);
    EXPECT_EQ(setB->checkDigit(), 102);  // (104 + 1 x 33 + 2 x 34) mod 103
    auto setC = make(QStringLiteral("Code 128 SET C"), QStringLiteral("1234"));
    ASSERT_TRUE(setC);
    EXPECT_EQ(setC->checkDigit(), 82);  // (105 + 1 x 12 + 2 x 34) mod 103
    // Start, two pairs, check, stop.
    EXPECT_EQ(setC->completeBarcode().size(), 11 + 2 * 11 + 11 + 13);
    EXPECT_EQ(setC->initiator(), QByteArray("11010011100"));
    EXPECT_EQ(setC->terminator(), QByteArray("1100011101011"));
}

TEST(Code128, OddDigitCountInSetCKeepsTheData)
{
    // A leading zero would change the number; the last digit goes through a change to set B.
    auto barcode = make(QStringLiteral("Code 128 SET C"), QStringLiteral("12345"));
    ASSERT_TRUE(barcode);
    const std::vector<int> symbols = code128(barcode)->dataSymbols();
    EXPECT_EQ(symbols, (std::vector<int>{12, 34, 100, 21}));
    EXPECT_EQ(barcode->checkDigit(), (105 + 12 + 2 * 34 + 3 * 100 + 4 * 21) % 103);
    EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Code128), "12345");
}

TEST(Code128, CharactersOutsideTheSetAreShiftedAndCounted)
{
    auto barcode = make(QStringLiteral("Code 128 SET A"), QStringLiteral("Ab"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(code128(barcode)->dataSymbols(), (std::vector<int>{33, 98, 66}));
    EXPECT_EQ(barcode->checkDigit(), (103 + 33 + 2 * 98 + 3 * 66) % 103);
    EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Code128), "Ab");

    auto setB = make(QStringLiteral("Code 128 SET B"), QStringLiteral("x\ty"));
    ASSERT_TRUE(setB);
    EXPECT_EQ(read(barsPicture(*setB), ZXing::BarcodeFormat::Code128), "x\ty");
}

TEST(Code128, RefusedContent)
{
    for (const char *text : {"12A4", "12 34", ""}) {
        auto barcode = LinearBarcodes::create(QStringLiteral("Code 128 SET C"), QString::fromLatin1(text), true);
        ASSERT_TRUE(barcode);
        EXPECT_FALSE(barcode->isContentValid()) << text;
        EXPECT_TRUE(barcode->barcode().isEmpty()) << text;
    }
    auto accented = LinearBarcodes::create(QStringLiteral("Code 128"), QStringLiteral("caf\u00e9"), true);
    EXPECT_FALSE(accented->isContentValid());
    EXPECT_EQ(LinearBarcodes::create(QStringLiteral("Code 128"), QString(), true), nullptr);
}

TEST(Code128, ZXingReadsEverySet)
{
    QRandomGenerator random(128);
    QString printable;
    for (char c = ' '; c <= '~'; ++c)
        printable.append(QLatin1Char(c));
    QString setAChars;
    for (int c = 0; c <= 95; ++c) {
        if (c != 0)  // a NUL would end the text in readers that hand out C strings
            setAChars.append(QChar(c));
    }
    struct Case
    {
        QString title;
        QString alphabet;
    };
    const QList<Case> cases{{QStringLiteral("Code 128 SET A"), setAChars},
                            {QStringLiteral("Code 128 SET B"), printable},
                            {QStringLiteral("Code 128 SET C"), QStringLiteral("0123456789")},
                            {QStringLiteral("Code 128"), printable + QStringLiteral("\x01\x02\x1f")},
                            {QStringLiteral("Code 128 SET A"), printable},
                            {QStringLiteral("Code 128 SET B"), setAChars}};
    for (const Case &c : cases) {
        for (int i = 0; i < 40; ++i) {
            const QString value = randomText(random, c.alphabet, 1 + random.bounded(20));
            auto barcode = make(c.title, value);
            ASSERT_TRUE(barcode);
            EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Code128), value.toStdString())
                << c.title.toStdString() << " " << value.toStdString();
        }
    }
}
