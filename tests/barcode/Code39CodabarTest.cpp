#include "LinearTestSupport.h"

#include "barcode/NKDCode39Barcode.h"

using namespace LinearTest;

TEST(Code39, LowerCaseIsUpperCasedBetweenStartAndStop)
{
    auto barcode = make(QStringLiteral("Code 39"), QStringLiteral("code-39"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->content(), QStringLiteral("CODE-39"));
    EXPECT_EQ(barcode->completeBarcode().size(), 9 * 13);
    EXPECT_EQ(barcode->checkDigit(), -1);
    EXPECT_EQ(NKDCode39Barcode::patternOf('0'), QByteArray("1010011011010"));
    EXPECT_EQ(barcode->initiator(), QByteArray("1001011011010"));
    EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Code39), "CODE-39");
}

TEST(Code39, RefusedContent)
{
    for (const QString &text : {QStringLiteral("A*B"), QStringLiteral("TAB\tX"), QStringLiteral("a_b"), QString()}) {
        auto barcode = LinearBarcodes::create(QStringLiteral("Code 39"), text, true);
        if (text.isNull()) {
            EXPECT_EQ(barcode, nullptr);
            continue;
        }
        EXPECT_FALSE(barcode->isContentValid()) << text.toStdString();
    }
    auto extendedTab = LinearBarcodes::create(QStringLiteral("Extended Code 39"), QStringLiteral("a\tb"), true);
    EXPECT_FALSE(extendedTab->isContentValid());
}

TEST(Code39, ExtendedPairs)
{
    auto barcode = make(QStringLiteral("Extended Code 39"), QStringLiteral("a_"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->content(), QStringLiteral("a_"));
    const QByteArray star = NKDCode39Barcode::patternOf('*');
    EXPECT_EQ(barcode->completeBarcode(), star + NKDCode39Barcode::patternOf('+') + NKDCode39Barcode::patternOf('A')
                                              + NKDCode39Barcode::patternOf('%') + NKDCode39Barcode::patternOf('O') + star);
}

TEST(Code39, ZXingReadsPlainAndExtended)
{
    QRandomGenerator random(39);
    QString printable;
    for (char c = ' '; c <= '~'; ++c)
        printable.append(QLatin1Char(c));
    const QString plain = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%");
    for (int i = 0; i < 40; ++i) {
        const QString value = randomText(random, plain, 1 + random.bounded(15));
        auto barcode = make(QStringLiteral("Code 39"), value);
        ASSERT_TRUE(barcode);
        EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Code39), value.toStdString()) << value.toStdString();
    }
    for (int i = 0; i < 40; ++i) {
        const QString value = randomText(random, printable, 1 + random.bounded(15));
        auto barcode = make(QStringLiteral("Extended Code 39"), value);
        ASSERT_TRUE(barcode);
        EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Code39, true), value.toStdString())
            << value.toStdString();
    }
}

TEST(Codabar, StartAndStopCharacters)
{
    auto framed = make(QStringLiteral("Codabar"), QStringLiteral("A123B"));
    ASSERT_TRUE(framed);
    EXPECT_TRUE(framed->initiator().isEmpty());
    // B and C as the published table has them, each character followed by a gap.
    EXPECT_EQ(framed->completeBarcode().right(11), QByteArray("10010010110"));
    EXPECT_EQ(read(barsPicture(*framed), ZXing::BarcodeFormat::Codabar, false, true), "A123B");

    auto bare = make(QStringLiteral("Codabar"), QStringLiteral("123"));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->caption(), QStringLiteral("123"));
    EXPECT_EQ(read(barsPicture(*bare), ZXing::BarcodeFormat::Codabar), "123");

    for (const char *bad : {"A12C3D", "A123", "AB", "12E", "a123b"}) {
        auto refused = LinearBarcodes::create(QStringLiteral("Codabar"), QString::fromLatin1(bad), true);
        EXPECT_FALSE(refused->isContentValid()) << bad;
    }
}

TEST(Codabar, ZXingReadsRandomValues)
{
    QRandomGenerator random(2718);
    const QString data = QStringLiteral("0123456789-$:/.+");
    const QString ends = QStringLiteral("ABCD");
    for (int i = 0; i < 40; ++i) {
        // ZXing reads no Codabar symbol with fewer than two data characters.
        QString value = randomText(random, data, 2 + random.bounded(14));
        const bool framed = i % 2 == 0;
        if (framed)
            value = ends.at(random.bounded(4)) + value + ends.at(random.bounded(4));
        auto barcode = make(QStringLiteral("Codabar"), value);
        ASSERT_TRUE(barcode);
        EXPECT_EQ(read(barsPicture(*barcode), ZXing::BarcodeFormat::Codabar, false, framed), value.toStdString())
            << value.toStdString();
    }
}
