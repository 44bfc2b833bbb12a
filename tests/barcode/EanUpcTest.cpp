#include "LinearTestSupport.h"

#include "barcode/NKDEAN8Barcode.h"
#include "barcode/NKDUPCEBarcode.h"

using namespace LinearTest;

namespace {

QString digits(QRandomGenerator &random, int count)
{
    return randomText(random, QStringLiteral("0123456789"), count);
}

} // namespace

TEST(EanUpc, ParityAndHandednessSwaps)
{
    EXPECT_EQ(swapParity("0001101"), QByteArray("0100111"));
    EXPECT_EQ(swapHandedness("0001101"), QByteArray("1110010"));
}

TEST(EanUpc, Ean13CheckDigitAndTypedCheckDigit)
{
    auto computed = make(QStringLiteral("EAN-13"), QStringLiteral("590123412345"));
    ASSERT_TRUE(computed);
    EXPECT_EQ(computed->checkDigit(), '7');
    EXPECT_EQ(computed->completeBarcode().size(), 95);

    auto typed = make(QStringLiteral("EAN-13"), QStringLiteral("5901234123457"));
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->completeBarcode(), computed->completeBarcode());
    EXPECT_EQ(typed->content(), QStringLiteral("590123412345"));

    for (const char *bad : {"5901234123450", "59012341234", "59012341234A"}) {
        auto barcode = LinearBarcodes::create(QStringLiteral("EAN-13"), QString::fromLatin1(bad), true);
        ASSERT_TRUE(barcode);
        EXPECT_FALSE(barcode->isContentValid()) << bad;
        EXPECT_TRUE(barcode->barcode().isEmpty()) << bad;
    }
}

TEST(EanUpc, Ean13LongerInputIsRefusedNotCut)
{
    // The first 13 digits form a valid number, but the user typed more: printing only part
    // of it would put a different number on the card.
    auto barcode = LinearBarcodes::create(QStringLiteral("EAN-13"), QStringLiteral("59012341234571"), true);
    ASSERT_TRUE(barcode);
    EXPECT_FALSE(barcode->isContentValid());
    auto upca = LinearBarcodes::create(QStringLiteral("UPCA"), QStringLiteral("0360002914521"), true);
    ASSERT_TRUE(upca);
    EXPECT_FALSE(upca->isContentValid());
}

TEST(EanUpc, Ean13Captions)
{
    auto barcode = make(QStringLiteral("EAN-13"), QStringLiteral("590123412345"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->leftCaption(), QStringLiteral("5"));
    EXPECT_EQ(barcode->caption(), QStringLiteral("  901234\t123457"));
    EXPECT_TRUE(barcode->rightCaption().isEmpty());
    // Quiet zones: the width is 1.2 times the bars, the bars a tenth of it from the left.
    EXPECT_FLOAT_EQ(barcode->width(), float(1.2 * 95 * double(0.936f)));
    EXPECT_FLOAT_EQ(barcode->firstBar(), 0.1f * barcode->width());
    EXPECT_FLOAT_EQ(barcode->lastBar(), 0.9f * barcode->width() - barcode->barWidth());
}

TEST(EanUpc, Ean8CheckDigitIsComputedAndVerified)
{
    auto barcode = make(QStringLiteral("EAN-8"), QStringLiteral("9638507"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->checkDigit(), '4');
    EXPECT_EQ(barcode->completeBarcode().size(), 67);
    EXPECT_EQ(barcode->caption(), QStringLiteral(" 9638\t5074"));
    EXPECT_TRUE(barcode->leftCaption().isEmpty());

    EXPECT_TRUE(make(QStringLiteral("EAN-8"), QStringLiteral("96385074")));
    for (const char *bad : {"96385075", "963850", "963A507", "9638507x", "963850745"}) {
        auto refused = LinearBarcodes::create(QStringLiteral("EAN-8"), QString::fromLatin1(bad), true);
        ASSERT_TRUE(refused);
        EXPECT_FALSE(refused->isContentValid()) << bad;
    }
}

TEST(EanUpc, UpcaCheckDigitAndCaptions)
{
    auto barcode = make(QStringLiteral("UPCA"), QStringLiteral("03600029145"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->checkDigit(), '2');
    EXPECT_EQ(barcode->completeBarcode().size(), 95);
    EXPECT_EQ(barcode->leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(barcode->rightCaption(), QStringLiteral("2"));
    EXPECT_EQ(barcode->caption(), QStringLiteral("36000\t29145"));
    EXPECT_TRUE(make(QStringLiteral("UPCA"), QStringLiteral("036000291452")));
    auto wrong = LinearBarcodes::create(QStringLiteral("UPCA"), QStringLiteral("036000291453"), true);
    EXPECT_FALSE(wrong->isContentValid());
}

TEST(EanUpc, UpceParityComesFromTheCheckDigit)
{
    auto typed = make(QStringLiteral("UPCE"), QStringLiteral("04252614"));
    ASSERT_TRUE(typed);
    auto *upce = static_cast<NKDUPCEBarcode *>(typed.get());
    EXPECT_EQ(upce->checkDigit(), '4');
    QByteArray row;
    for (int i = 1; i <= 6; ++i)
        row += upce->parityForDigit(i) ? 'E' : 'O';
    EXPECT_EQ(row, QByteArray("EOEEOO"));
    EXPECT_EQ(upce->completeBarcode().size(), 51);
    EXPECT_EQ(upce->leftCaption(), QStringLiteral("0"));
    EXPECT_EQ(upce->caption(), QStringLiteral("425261"));
    EXPECT_EQ(upce->rightCaption(), QStringLiteral("4"));

    // Without its check digit the one of the expanded UPC-A number is used.
    auto untyped = make(QStringLiteral("UPCE"), QStringLiteral("0425261"));
    ASSERT_TRUE(untyped);
    EXPECT_EQ(untyped->completeBarcode(), typed->completeBarcode());

    // From the UPC-A number it stands for.
    auto fromUpca = make(QStringLiteral("UPCE"), QStringLiteral("04210000526"));
    ASSERT_TRUE(fromUpca);
    EXPECT_EQ(fromUpca->completeBarcode(), typed->completeBarcode());

    for (const char *bad : {"04252615", "2425261", "042526", "04210001526"}) {
        auto refused = LinearBarcodes::create(QStringLiteral("UPCE"), QString::fromLatin1(bad), true);
        ASSERT_TRUE(refused);
        EXPECT_FALSE(refused->isContentValid()) << bad;
    }
}

TEST(EanUpc, UpcaToUpceFollowsTheZeroSuppressionRules)
{
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("042100005264"), QByteArray("425261"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012300000657"), QByteArray("123653"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012340000087"), QByteArray("123484"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012345000058"), QByteArray("123455"));
    // Product digits that must be zero are not.
    EXPECT_TRUE(NKDUPCEBarcode::UPCAToUPCE("042100015264").isEmpty());
    EXPECT_TRUE(NKDUPCEBarcode::UPCAToUPCE("012345000018").isEmpty());
    EXPECT_TRUE(NKDUPCEBarcode::UPCAToUPCE("04210000526").isEmpty());

    // Every body stands for a number that suppresses to a body standing for the same number.
    QRandomGenerator random(4102);
    for (int i = 0; i < 200; ++i) {
        const QByteArray upce = (random.bounded(2) ? "1" : "0") + digits(random, 6).toLatin1();
        const QByteArray upca = NKDUPCEBarcode::UPCEToUPCA(upce);
        ASSERT_EQ(upca.size(), 11);
        const QByteArray body = NKDUPCEBarcode::UPCAToUPCE(upca + NKDAbstractUPCEANBarcode::checkDigitOf(upca));
        ASSERT_EQ(body.size(), 6) << upce.constData();
        EXPECT_EQ(NKDUPCEBarcode::UPCEToUPCA(upce.left(1) + body), upca) << upce.constData();
    }
}

TEST(EanUpc, ZXingReadsWhatWePrint)
{
    QRandomGenerator random(13);
    QStringList ean13{QStringLiteral("590123412345"), QStringLiteral("000000000000"), QStringLiteral("999999999999"),
                      QStringLiteral("400638133393")};
    QStringList ean8{QStringLiteral("9638507"), QStringLiteral("0000000"), QStringLiteral("5512345")};
    QStringList upca{QStringLiteral("03600029145"), QStringLiteral("12345678901"), QStringLiteral("99999999999")};
    QStringList upce{QStringLiteral("0425261"), QStringLiteral("1123456"), QStringLiteral("0000005")};
    for (int i = 0; i < 40; ++i) {
        ean13 << digits(random, 12);
        ean8 << digits(random, 7);
        upca << digits(random, 11);
        upce << QString::number(random.bounded(2)) + digits(random, 6);
    }
    const auto check = [](const QString &title, const QStringList &values, ZXing::BarcodeFormat format) {
        for (const QString &value : values) {
            auto barcode = make(title, value);
            ASSERT_TRUE(barcode);
            const QString expected = (title == QStringLiteral("UPCE") ? barcode->content() : value)
                                     + QChar(barcode->checkDigit());
            EXPECT_EQ(read(barsPicture(*barcode), format), expected.toStdString()) << title.toStdString();
        }
    };
    check(QStringLiteral("EAN-13"), ean13, ZXing::BarcodeFormat::EAN13);
    check(QStringLiteral("EAN-8"), ean8, ZXing::BarcodeFormat::EAN8);
    check(QStringLiteral("UPCA"), upca, ZXing::BarcodeFormat::UPCA);
    check(QStringLiteral("UPCE"), upce, ZXing::BarcodeFormat::UPCE);
}
