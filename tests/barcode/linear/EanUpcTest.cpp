#include "LinearTestSupport.h"

#include "barcode/linear/NKDEAN8Barcode.h"
#include "barcode/linear/NKDUPCEBarcode.h"

using namespace LinearTest;

namespace {

QString digits(QRandomGenerator &random, int count)
{
    return randomText(random, "0123456789", count);
}

// Check digit, length of the bars and the three caption parts of a valid `title` barcode.
void expectSymbol(const QString &title, const QString &value, char check, int modules, const QString &left,
                  const QString &middle, const QString &right)
{
    auto barcode = make(title, value);
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->checkDigit(), check) << value.toStdString();
    EXPECT_EQ(barcode->completeBarcode().size(), modules) << value.toStdString();
    EXPECT_EQ(barcode->leftCaption(), left) << value.toStdString();
    EXPECT_EQ(barcode->caption(), middle) << value.toStdString();
    EXPECT_EQ(barcode->rightCaption(), right) << value.toStdString();
}

} // namespace

TEST(EanUpc, CheckDigitsCaptionsAndTypedCheckDigits)
{
    expectSymbol("EAN-13", "590123412345", '7', 95, "5", "  901234\t123457", "");
    expectSymbol("EAN-8", "9638507", '4', 67, "", " 9638\t5074", "");
    expectSymbol("UPCA", "03600029145", '2', 95, "0", "36000\t29145", "2");
    expectSymbol("UPCE", "04252614", '4', 51, "0", "425261", "4");

    // A typed check digit that is right gives the same bars.
    auto computed = make("EAN-13", "590123412345");
    auto typed = make("EAN-13", "5901234123457");
    ASSERT_TRUE(computed && typed);
    EXPECT_EQ(typed->completeBarcode(), computed->completeBarcode());
    EXPECT_EQ(typed->content(), "590123412345");
    EXPECT_TRUE(make("EAN-8", "96385074"));
    EXPECT_TRUE(make("UPCA", "036000291452"));

    // Quiet zones: the width is 1.2 times the bars, the bars a tenth of it from the left.
    EXPECT_FLOAT_EQ(computed->width(), float(1.2 * 95 * double(0.936f)));
    EXPECT_FLOAT_EQ(computed->firstBar(), 0.1f * computed->width());
    EXPECT_FLOAT_EQ(computed->lastBar(), 0.9f * computed->width() - computed->barWidth());
}

TEST(EanUpc, UpceParityComesFromTheCheckDigit)
{
    auto typed = make("UPCE", "04252614");
    ASSERT_TRUE(typed);
    // Without its check digit the one of the expanded UPC-A number is used; the UPC-A number
    // it stands for gives the same symbol.
    for (const char *same : {"0425261", "04210000526"}) {
        auto other = make("UPCE", QString::fromLatin1(same));
        ASSERT_TRUE(other);
        EXPECT_EQ(other->completeBarcode(), typed->completeBarcode()) << same;
    }
}

TEST(EanUpc, UpcaToUpceFollowsTheZeroSuppressionRules)
{
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("042100005264"), QByteArray("425261"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012300000657"), QByteArray("123653"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012340000087"), QByteArray("123484"));
    EXPECT_EQ(NKDUPCEBarcode::UPCAToUPCE("012345000058"), QByteArray("123455"));
    // Product digits that must be zero are not.
    for (const char *refused : {"042100015264", "012345000018", "04210000526"})
        EXPECT_TRUE(NKDUPCEBarcode::UPCAToUPCE(refused).isEmpty()) << refused;

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
