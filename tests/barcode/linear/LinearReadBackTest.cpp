// Every symbology ZXing reads, on edge values and forty random ones a row, drawn as the bars
// alone: ZXing reads each value as a scanner shows it.

#include "LinearTestSupport.h"

using namespace LinearTest;

TEST(LinearReadBack, EverySymbologyZXingReads)
{
    using F = ZXing::BarcodeFormat;
    QString printable, setA;
    for (char c = ' '; c <= '~'; ++c)
        printable.append(QLatin1Char(c));
    for (int c = 1; c <= 95; ++c)   // no NUL: it would end the text in readers that hand out C strings
        setA.append(QChar(c));
    const QString digits = QStringLiteral("0123456789"), codabar = QStringLiteral("0123456789-$:/.+");
    enum Shown { AsTyped, LeadingZero, WithCheckDigit };   // what the scanner shows of the value
    struct Row
    {
        const char *title;
        QString alphabet;
        int shortest, longest;   // lengths of the random values
        F format;
        QStringList fixed = {};
        Shown shown = AsTyped;
        int pixels = 2;          // a module
        bool extended = false;   // Code 39's full ASCII
        bool framed = false;     // Codabar's start and stop letters, read back too
    };
    const Row rows[] = {
        {"Code 128 SET A", setA, 1, 20, F::Code128},
        {"Code 128 SET B", printable, 1, 20, F::Code128},
        {"Code 128 SET C", digits, 1, 20, F::Code128},
        {"Code 128", printable + "\x01\x02\x1f", 1, 20, F::Code128},
        {"Code 128 SET A", printable, 1, 20, F::Code128},
        {"Code 128 SET B", setA, 1, 20, F::Code128},
        {"Code 39", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", 1, 15, F::Code39},
        {"Extended Code 39", printable, 1, 15, F::Code39, {}, AsTyped, 2, true},
        // ZXing reads no Codabar symbol with fewer than two data characters.
        {"Codabar", codabar, 2, 15, F::Codabar},
        {"Codabar", codabar, 2, 15, F::Codabar, {}, AsTyped, 2, false, true},
        // ZXing reads ITF from six digits on; an odd count is printed with a leading zero.
        {"Interleaved 2 of 5", digits, 6, 20, F::ITF, {"123456", "0000000000", "9876543"}, LeadingZero, 3},
        {"EAN-13", digits, 12, 12, F::EAN13, {"590123412345", "000000000000", "999999999999", "400638133393"},
         WithCheckDigit},
        {"EAN-8", digits, 7, 7, F::EAN8, {"9638507", "0000000", "5512345"}, WithCheckDigit},
        {"UPCA", digits, 11, 11, F::UPCA, {"03600029145", "12345678901", "99999999999"}, WithCheckDigit},
        {"UPCE", digits, 6, 6, F::UPCE, {"0425261", "1123456", "0000005"}, WithCheckDigit},   // after 0 or 1
    };
    QRandomGenerator random(128);
    for (const Row &row : rows) {
        QStringList values = row.fixed;
        for (int i = 0; i < 40; ++i) {
            QString value = randomText(random, row.alphabet, row.shortest + random.bounded(row.longest - row.shortest + 1));
            if (row.format == F::UPCE)
                value.prepend(QString::number(random.bounded(2)));
            if (row.framed)
                value = QChar(u"ABCD"[random.bounded(4)]) + value + QChar(u"ABCD"[random.bounded(4)]);
            values << value;
        }
        for (const QString &value : values) {
            auto barcode = make(row.title, value);
            ASSERT_TRUE(barcode);
            QString shown = value;
            if (row.shown == LeadingZero && value.size() % 2)
                shown.prepend(QLatin1Char('0'));
            if (row.shown == WithCheckDigit)
                shown = barcode->content() + QChar(barcode->checkDigit());
            EXPECT_EQ(read(barsPicture(*barcode, row.pixels), row.format, row.extended, row.framed), shown.toStdString())
                << row.title << " " << value.toStdString();
        }
    }
}
