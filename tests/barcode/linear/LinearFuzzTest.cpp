#include "LinearTestSupport.h"

// Random byte strings given to every symbology: no crash, no hang, and a refusal is a plain
// "invalid", never a half-made symbol.
TEST(LinearFuzz, RandomBytesEverySymbology)
{
    QRandomGenerator random(0xF00D);
    const QStringList titles = LinearBarcodes::titles();
    for (int i = 0; i < 10000; ++i) {
        QByteArray bytes(random.bounded(40), '\0');
        for (char &byte : bytes)
            byte = char(random.bounded(i % 2 ? 128 : 256));
        const QString text = i % 3 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
        for (const QString &title : titles) {
            std::unique_ptr<NKDBarcode> barcode = LinearBarcodes::create(title, text, true);
            ASSERT_TRUE(barcode);
            const QByteArray bars = barcode->completeBarcode();
            if (!barcode->isContentValid())
                continue;
            ASSERT_FALSE(bars.isEmpty()) << title.toStdString();
            ASSERT_TRUE(bars.count('1') + bars.count('0') == bars.size());
            for (int module = 0; module < bars.size(); module += 7)
                ASSERT_TRUE(std::isfinite(barcode->barTop(module)));
            barcode->caption();
            barcode->leftCaption();
            barcode->rightCaption();
            if (i % 1000 == 0) {
                EXPECT_FALSE(NKDBarcodeOffscreenView(*barcode).toImage(72).isNull()) << title.toStdString();
            }
        }
    }
}
