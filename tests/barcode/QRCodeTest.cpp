#include "ModuleGridDecode.h"

#include "barcode/CQR_Encode.h"
#include "barcode/QREncoder.h"
#include "barcode/QRTables.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QDebug>
#include <QStringEncoder>

using namespace ModuleGridDecode;

TEST(QRCodeProbe, Basic)
{
    QElapsedTimer t; t.start();
    int n = 0;
    for (int v = 1; v <= 40; ++v)
        for (int level = 0; level < 4; ++level) {
            QByteArray text(QRTables::characterCapacity(2, v, level), 'a');
            for (int i = 0; i < text.size(); ++i) text[i] = char('a' + i % 26);
            ModuleGrid g = QREncoder::encodeCStringWithECLevel(level, v, text);
            ASSERT_EQ(g.width(), 4 * v + 17) << v << " " << level;
            Decoded d = decodeGrid(g, ZXing::BarcodeFormat::QRCode, 1, 1);
            EXPECT_TRUE(d.valid) << v << " " << level;
            EXPECT_EQ(d.bytes, text) << v << " " << level;
            ++n;
        }
    qDebug() << n << t.elapsed();
    QStringEncoder e("Shift_JIS"); qDebug() << "sjis" << e.isValid();
}
