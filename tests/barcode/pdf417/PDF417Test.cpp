#include "barcode/ModuleGridTestSupport.h"

#include "barcode/pdf417/PDF417Encoder.h"
#include "barcode/pdf417/PDF417Tables.h"
#include "barcode/pdf417/pdf417View.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace ModuleGridTestSupport;
using namespace PDF417;

namespace {

constexpr auto kPDF417 = ZXing::BarcodeFormat::PDF417;

pdf417param encode(const QByteArray &text, int level = 2, int options = UseErrorLevel)
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
    return decodeGrid(p.outBits, kPDF417, 1, 3, 2);
}

bool hasCodeword(const pdf417param &p, int codeword)
{
    const int data = p.codewords[0];
    return std::find(p.codewords.begin() + 1, p.codewords.begin() + data, codeword) != p.codewords.begin() + data;
}

} // namespace

TEST(PDF417, EveryErrorLevelRoundTrips)
{
    const QByteArray texts[] = {"Happy Birthday, Anna!", QByteArray("\x01\x02\xff\xfe\x80\x81", 6),
                                "1234567890123456789012345678901234567890"};
    for (const QByteArray &text : texts) {
        for (int level = 0; level <= 8; ++level) {
            const pdf417param p = encode(text, level);
            ASSERT_EQ(p.error, NoError);
            EXPECT_GE(p.errorLevel, level); // spare room in the rectangle only adds correction
            const Decoded decoded = decode(p);
            EXPECT_TRUE(decoded.valid) << "level " << level;
            EXPECT_EQ(decoded.bytes, text) << "level " << level;
            EXPECT_EQ(decoded.ecLevel, std::to_string(p.errorLevel));
        }
    }
}

// Each compaction where it pays: the first data codeword when given (901/924 bytes, 902
// numbers), codewords that must and must not be among the data; every text reads back.
TEST(PDF417, CompactionModesReadBack)
{
    struct Case
    {
        QByteArray text;
        int first;
        QList<int> with, without;
    };
    QList<Case> cases;
    for (const char *text : {
             "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", // alpha, lower
             "abcDEFghi JKL mno", "abcDefgHIJ",                          // latch and shift to alpha
             "0123&45\t,:#-.$/+%*=^ 6",                                   // mixed
             "Dear Ann; see <you> @ [home]_`~!", "A;<>B", "x\"|*()?{}'\ny", // punctuation shifts and latches
             "MIX 12 ab;CD\r\n;;;ef", "Hello, World! (cards) {2025}", "mixed12;and;;;punctuation;;end;",
             "abc123456789012def", "1234567"})                           // twelve or seven digits stay text
        cases.append({text, 0, {}, {901, 924, 902}});
    std::mt19937 random(901);
    for (int length = 1; length <= 25; ++length)
        cases.append({randomBytes(random, length, 128, 255), length % 6 == 0 ? 924 : 901, {}, {}});
    for (int length : {8, 13, 14, 43, 44, 45, 88, 89, 200, 500})
        cases.append({randomBytes(random, length, '0', '9'), 902, {}, {}});
    cases.append({"abc1234567890123def", 0, {902}, {}});   // thirteen become numbers
    // A high byte between text runs of 2 and 1 travels as a byte shift, between 1 and 1 the
    // whole text becomes bytes; long texts take single bytes after odd or even value counts.
    cases.append({"ab\xe9" "c", 0, {913}, {}});
    cases.append({"a\xe9" "b", 901, {}, {}});
    cases.append({"Caf\xe9 au lait \xe0 la carte", 0, {913}, {}});
    cases.append({"\xa7Section 5 \xb6", 0, {913}, {}});
    for (const Case &c : cases) {
        const pdf417param p = encode(c.text);
        ASSERT_EQ(p.error, NoError) << c.text.toHex().constData();
        if (c.first) {
            EXPECT_EQ(p.codewords[1], c.first) << c.text.toHex().constData();
        }
        for (int codeword : c.with)
            EXPECT_TRUE(hasCodeword(p, codeword)) << codeword << " " << c.text.toHex().constData();
        for (int codeword : c.without)
            EXPECT_FALSE(hasCodeword(p, codeword)) << codeword << " " << c.text.toHex().constData();
        EXPECT_EQ(decode(p).bytes, c.text) << c.text.toHex().constData();
    }
}

TEST(PDF417, ShapeRuleWorkedExample)
{
    // Ten data codewords at level 2 make one column of 18 rows.
    const pdf417param small = encode("ABCDEFGHIJKLMNOPQR", 2); // 9 text codewords + descriptor
    ASSERT_EQ(small.error, NoError);
    EXPECT_EQ(small.codeColumns, 1);
    EXPECT_EQ(small.codeRows, 18);
    EXPECT_EQ(small.errorLevel, 2);
    EXPECT_EQ(small.bitColumns, 17 * 4 + 18);
    EXPECT_EQ(small.outBits.width(), small.bitColumns);
    EXPECT_EQ(small.outBits.height(), 18);
}

TEST(PDF417, CapacityLimits)
{
    // Byte compaction: 2 + 5 x (n / 6) + n % 6 codewords; 1108 bytes make 926.
    std::mt19937 random(926);
    const QByteArray fits = randomBytes(random, 1108, 128, 255);
    const pdf417param p = encode(fits, 5);
    ASSERT_EQ(p.error, NoError);
    EXPECT_EQ(p.errorLevel, 0);
    EXPECT_EQ(p.codeRows * p.codeColumns, 928);
    EXPECT_EQ(decode(p).bytes, fits);
    EXPECT_EQ(encode(fits + char(0xff)).error, TextTooBig);
    EXPECT_TRUE(encode(fits + char(0xff)).outBits.isEmpty());
    EXPECT_EQ(encode(QByteArray(kMaxTextBytes + 1, 'a')).error, TextTooBig);

    pdf417param raw;
    pdf417init(raw);
    raw.options = UseRawCodewords;
    raw.lenCodewords = 3;
    raw.codewords[0] = 2;
    paintCode(raw);
    EXPECT_EQ(raw.error, InvalidParams);
}

TEST(PDF417, EveryCodewordOfEveryCluster)
{
    // Raw codewords 0..928 spread over rows of all three clusters, read back by the reader.
    for (int start = 1; start < 929; start += 300) {
        pdf417param p;
        pdf417init(p);
        p.options = UseRawCodewords | UseErrorLevel | FixedColumns;
        p.codeColumns = 7;
        p.errorLevel = 5;
        p.codewords[0] = 301;
        p.codewords[1] = 901; // byte compaction keeps any value below 900 meaningful
        for (int i = 2; i < 301; ++i)
            p.codewords[std::size_t(i)] = (start + i * 7) % 900;
        p.lenCodewords = 301;
        paintCode(p);
        ASSERT_EQ(p.error, NoError);
        EXPECT_TRUE(decode(p).valid) << start;
    }
    // Each pattern is 4 bars and 4 spaces in 17 modules and belongs to its cluster.
    for (int cluster = 0; cluster < 3; ++cluster) {
        for (int codeword = 0; codeword < 929; ++codeword) {
            const std::uint32_t pattern = PDF417Tables::clusterPatterns[cluster][codeword];
            int widths[8] = {};
            int element = 0;
            for (int bit = 16; bit >= 0; --bit) {
                if (bit < 16 && ((pattern >> bit) & 1) != ((pattern >> (bit + 1)) & 1))
                    ++element;
                ASSERT_LT(element, 8);
                ++widths[element];
            }
            ASSERT_EQ(element, 7);
            EXPECT_EQ((widths[0] - widths[2] + widths[4] - widths[6] + 9) % 9, 3 * cluster);
        }
    }
    EXPECT_EQ(PDF417Tables::errorCorrectionCoefficients(0), std::vector<int>({27, 917}));
}

// Long printable texts and mixed runs of digits, text and bytes at every level: read back, in
// a rectangle of 3 to 90 rows of 1 to 30 codewords holding data and correction only.
TEST(PDF417, RandomContentsRoundTripInAShapeWithinTheLimits)
{
    std::mt19937 random(417);
    for (int trial = 0; trial < 160; ++trial) {
        QByteArray text;
        if (trial % 4 == 0) {
            text = randomBytes(random, std::uniform_int_distribution<int>(1, 1000)(random), 32, 126);
        } else {
            for (int r = std::uniform_int_distribution<int>(1, 6)(random); r > 0; --r) {
                const int length = std::uniform_int_distribution<int>(1, 40)(random);
                const int kind = std::uniform_int_distribution<int>(0, 2)(random);
                text += randomBytes(random, length, kind == 0 ? '0' : kind == 1 ? 32 : 0, kind == 0 ? '9' : kind == 1 ? 126 : 255);
            }
        }
        const pdf417param p = encode(text, std::uniform_int_distribution<int>(0, 8)(random));
        ASSERT_EQ(p.error, NoError);
        EXPECT_GE(p.codeRows, 3);
        EXPECT_LE(p.codeRows, 90);
        EXPECT_GE(p.codeColumns, 1);
        EXPECT_LE(p.codeColumns, 30);
        EXPECT_LE(p.codeRows * p.codeColumns, 928);
        EXPECT_EQ(p.lenCodewords, p.codeRows * p.codeColumns);
        EXPECT_EQ(p.codewords[0] + (2 << p.errorLevel), p.lenCodewords);
        EXPECT_EQ(decode(p).bytes, text) << "trial " << trial;
    }
}

TEST(PDF417, RandomBytesNeverCrash)
{
    std::mt19937 random(10000);
    for (int trial = 0; trial < 10000; ++trial) {
        pdf417param p;
        pdf417init(p);
        p.text = randomBytes(random, std::uniform_int_distribution<int>(0, 150)(random));
        p.errorLevel = std::uniform_int_distribution<int>(-2, 10)(random);
        p.options = std::uniform_int_distribution<int>(0, 255)(random) & ~UseRawCodewords;
        p.codeRows = std::uniform_int_distribution<int>(-5, 100)(random);
        p.codeColumns = std::uniform_int_distribution<int>(-5, 40)(random);
        p.aspectRatio = std::uniform_real_distribution<float>(-1.0f, 2000.0f)(random);
        paintCode(p);
        if (p.error != NoError)
            continue;
        ASSERT_GE(p.errorLevel, 0);
        ASSERT_LE(p.errorLevel, 8);
        ASSERT_LE(p.codeRows * p.codeColumns, 928);
        ASSERT_EQ(p.outBits.height(), p.codeRows);
    }
}

TEST(PDF417, PictureMaker)
{
    pdf417View view;
    EXPECT_EQ(view.getErrorLevel(), 2);
    view.setFrameSize(QSizeF(300, 120));
    ASSERT_EQ(view.drawWithText("Happy birthday to Sam!", 72.0), pdf417View::ImageReady);
    const QImage picture = view.getImage();
    ASSERT_EQ(picture.size(), QSize(300, 120));
    for (int y = 0; y < picture.height(); y += 7)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_TRUE(qGray(picture.pixel(x, y)) == 0 || qGray(picture.pixel(x, y)) == 255); // never blurred
    EXPECT_EQ(decodePicture(picture, kPDF417, 20).text, "Happy birthday to Sam!");

    // At 600 dpi the same frame holds 2500 x 1000 pixels.
    view.setErrorLevel(5);
    ASSERT_EQ(view.drawWithText("Party at 8", 600.0), pdf417View::ImageReady);
    EXPECT_EQ(view.getImage().size(), QSize(2500, 1000));
    EXPECT_EQ(view.param().errorLevel, 5);

    // Nothing is left to show after an empty text, an error or a frame too small for the modules.
    EXPECT_EQ(view.drawWithText(QString(), 72.0), pdf417View::EmptyText);
    EXPECT_TRUE(view.getImage().isNull());
    EXPECT_EQ(view.drawWithText(QString(kMaxTextBytes + 1, u'x'), 72.0), pdf417View::EncodingError);
    EXPECT_TRUE(view.getImage().isNull());
    view.setFrameSize(QSizeF(50, 50));
    EXPECT_EQ(view.drawWithText("Too wide for fifty points", 72.0), pdf417View::EncodingError);
    EXPECT_TRUE(view.getImage().isNull());
}
