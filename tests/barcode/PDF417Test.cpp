#include "ModuleGridDecode.h"

#include "barcode/PDF417Encoder.h"
#include "barcode/pdf417View.h"

#include <gtest/gtest.h>

using namespace ModuleGridDecode;
using namespace PDF417;

namespace {

pdf417param encode(const QByteArray &text, int level, int options = UseErrorLevel)
{
    pdf417param p;
    pdf417init(p);
    p.text = text;
    p.options = options;
    p.errorLevel = level;
    p.aspectRatio = 1.0f;
    paintCode(p);
    return p;
}

Decoded decode(const pdf417param &p)
{
    return decodeGrid(p.outBits, ZXing::BarcodeFormat::PDF417, 2, 6, 2);
}

} // namespace

TEST(PDF417Probe, Basic)
{
    for (const QByteArray text : {QByteArray("Hello, World!"), QByteArray("abcdefABCDEF 12345 ;<>@[]"), QByteArray("12345678901234567890123"),
                                  QByteArray("\x01\x02\xff\xfe\x80\x81", 6), QByteArray("\xff\xfe\x80\x81\x82", 5)}) {
        for (int level = 0; level <= 8; ++level) {
            const pdf417param p = encode(text, level);
            ASSERT_EQ(p.error, 0);
            const Decoded d = decode(p);
            EXPECT_TRUE(d.valid) << text.toHex().constData() << " " << level;
            EXPECT_EQ(d.bytes, text) << level;
        }
    }
}
