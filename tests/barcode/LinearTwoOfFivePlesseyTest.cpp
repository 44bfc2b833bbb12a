#include "LinearTestSupport.h"

#include "barcode/NKDModifiedPlesseyHexBarcode.h"

using namespace LinearTest;

namespace {

constexpr int kZintIndustrial2of5 = 7;
constexpr int kZintMsiPlessey = 47;

} // namespace

TEST(TwoOfFive, InterleavedPadsOddLengthsWithALeadingZero)
{
    auto barcode = make(QStringLiteral("Interleaved 2 of 5"), QStringLiteral("123"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->completeBarcode().size(), 4 + 2 * 18 + 5);
    EXPECT_EQ(barcode->checkDigit(), -1);
    // The caption shows what a scanner reads.
    EXPECT_EQ(barcode->caption(), QStringLiteral("0123"));
    for (const char *bad : {"12A", "", "1 2"}) {
        auto refused = LinearBarcodes::create(QStringLiteral("Interleaved 2 of 5"), QString::fromLatin1(bad), true);
        EXPECT_FALSE(refused->isContentValid()) << bad;
    }
}

TEST(TwoOfFive, ZXingReadsInterleaved)
{
    QRandomGenerator random(25);
    // ZXing reads ITF from six digits on.
    QStringList values{QStringLiteral("123456"), QStringLiteral("0000000000"), QStringLiteral("9876543")};
    for (int i = 0; i < 40; ++i)
        values << randomText(random, QStringLiteral("0123456789"), 6 + random.bounded(15));
    for (const QString &value : values) {
        auto barcode = make(QStringLiteral("Interleaved 2 of 5"), value);
        ASSERT_TRUE(barcode);
        const QString expected = value.size() % 2 ? QLatin1Char('0') + value : value;
        EXPECT_EQ(read(barsPicture(*barcode, 3), ZXing::BarcodeFormat::ITF), expected.toStdString()) << value.toStdString();
    }
}

TEST(TwoOfFive, IndustrialMatchesZint)
{
    auto barcode = make(QStringLiteral("Industrial 2 of 5"), QStringLiteral("12"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->completeBarcode().size(), 47);
    EXPECT_EQ(barcode->caption(), QStringLiteral("12"));

    QRandomGenerator random(7);
    QStringList values{QStringLiteral("12"), QStringLiteral("0"), QStringLiteral("1234567890")};
    for (int i = 0; i < 25; ++i)
        values << randomText(random, QStringLiteral("0123456789"), 1 + random.bounded(20));
    for (const QString &value : values) {
        auto ours = make(QStringLiteral("Industrial 2 of 5"), value);
        ASSERT_TRUE(ours);
        const QList<QByteArray> rows = zintRows(kZintIndustrial2of5, value);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(paddedToNibbles(ours->completeBarcode()), rows.front()) << value.toStdString();
    }
}

TEST(Plessey, ModifiedPlesseyCheckDigitAndZint)
{
    auto barcode = make(QStringLiteral("Modified Plessey"), QStringLiteral("1234"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->checkDigit(), '4');
    EXPECT_EQ(barcode->initiator(), QByteArray("110"));
    EXPECT_EQ(barcode->terminator(), QByteArray("1001"));

    QRandomGenerator random(47);
    QStringList values{QStringLiteral("1234"), QStringLiteral("0"), QStringLiteral("80523")};
    for (int i = 0; i < 25; ++i)
        values << randomText(random, QStringLiteral("0123456789"), 1 + random.bounded(20));
    for (const QString &value : values) {
        for (const QString &title : {QStringLiteral("Modified Plessey"), QStringLiteral("Modified Plessey (Hex)")}) {
            auto ours = make(title, value);
            ASSERT_TRUE(ours);
            const QList<QByteArray> rows = zintRows(kZintMsiPlessey, value, {QStringLiteral("--vers=1")});
            ASSERT_EQ(rows.size(), 1);
            EXPECT_EQ(paddedToNibbles(ours->completeBarcode()), rows.front()) << title.toStdString() << " " << value.toStdString();
        }
    }
    auto letters = LinearBarcodes::create(QStringLiteral("Modified Plessey"), QStringLiteral("12A"), true);
    EXPECT_FALSE(letters->isContentValid());
}

TEST(Plessey, HexLettersAndTheirCheckDigit)
{
    auto barcode = make(QStringLiteral("Modified Plessey (Hex)"), QStringLiteral("1F"));
    ASSERT_TRUE(barcode);
    // F = 1111, then the Luhn check modulo 16: F doubled is 30 -> 15, plus 1 = 16 -> check 0.
    EXPECT_EQ(barcode->checkDigit(), '0');
    EXPECT_EQ(barcode->completeBarcode(), QByteArray("110") + "100100100110" + "110110110110" + "100100100100" + "1001");
    EXPECT_EQ(NKDModifiedPlesseyHexBarcode::modulo16CheckDigit("A"), 'B');  // 20 -> 5, 16 - 5 = 11
    auto lower = LinearBarcodes::create(QStringLiteral("Modified Plessey (Hex)"), QStringLiteral("1f"), true);
    EXPECT_FALSE(lower->isContentValid());
}
