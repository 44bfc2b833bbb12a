#include "ModuleGridDecode.h"

#include "barcode/DataMatrixEncoder.h"

#include <gtest/gtest.h>
#include <QDebug>

using namespace ModuleGridDecode;

TEST(DataMatrixProbe, Basic)
{
    for (const char *enc : {"", "A", "C", "T", "X", "E", "B"}) {
        for (const QByteArray text : {QByteArray("123456"), QByteArray("HELLO WORLD 123"), QByteArray("hello world"), QByteArray("ABC>*DEF 12"), QByteArray("A"), QByteArray("AB"), QByteArray("ABCD"), QByteArray("Mixed Case Text, with: punct! and \x7f\x80\xff")}) {
            std::optional<QByteArray> encoding;
            if (*enc) encoding = QByteArray(text.size(), *enc);
            int W = 0, H = 0;
            ModuleGrid g = DataMatrixEncoder::iec16022ecc200(W, H, encoding, text);
            if (g.isEmpty()) { qDebug() << "refused" << enc << text; continue; }
            Decoded d = decodeGrid(g, ZXing::BarcodeFormat::DataMatrix, 2, 2, 2);
            EXPECT_TRUE(d.valid) << enc << " " << text.constData() << " " << W << "x" << H;
            EXPECT_EQ(d.bytes, text) << enc << " " << encoding->constData();
        }
    }
}
