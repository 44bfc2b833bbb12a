#include "barcode/ModuleGridTestSupport.h"

#include "barcode/qr/CQR_Encode.h"
#include "barcode/qr/QREncoder.h"
#include "barcode/qr/QRTables.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace ModuleGridTestSupport;

namespace {

constexpr auto kQR = ZXing::BarcodeFormat::QRCode;

QByteArray repeatAlphabet(const char *alphabet, int length)
{
    const int n = int(std::strlen(alphabet));
    QByteArray text(length, ' ');
    for (int i = 0; i < length; ++i)
        text[i] = alphabet[(i * 7 + i / n) % n];
    return text;
}

int versionOf(const ModuleGrid &grid)
{
    return (grid.width() - 17) / 4;
}

} // namespace

// The largest content of each mode fits every version at every level and reads back; one
// character more is refused at that version.
TEST(QRCode, EveryVersionLevelAndModeAtCapacity)
{
    const char *alphabets[3] = {"0123456789", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:",
                                "abcdefghijklmnopqrstuvwxyz!#&()=?@[]{}~\x01\xff\x80"};
    for (int version = 1; version <= 40; ++version) {
        for (int level = 0; level < 4; ++level) {
            for (int mode = 0; mode < 3; ++mode) {
                const int capacity = QRTables::characterCapacity(mode, version, level);
                const QByteArray text = repeatAlphabet(alphabets[mode], capacity);
                const ModuleGrid grid = QREncoder::encodeCStringWithECLevel(level, version, text);
                ASSERT_EQ(grid.width(), 4 * version + 17) << "version " << version << " level " << level << " mode " << mode;
                const Decoded decoded = decodeGrid(grid, kQR, 1, 1);
                EXPECT_TRUE(decoded.valid) << "version " << version << " level " << level << " mode " << mode;
                EXPECT_EQ(decoded.bytes, text) << "version " << version << " level " << level << " mode " << mode;
                EXPECT_EQ(decoded.ecLevel, std::string(1, "LMQH"[level]));
                EXPECT_TRUE(QREncoder::encodeCStringWithECLevel(level, version, text + alphabets[mode][0]).isEmpty())
                    << "version " << version << " level " << level << " mode " << mode;
            }
        }
    }
}

TEST(QRCode, CapacityTablesMatchTheStandard)
{
    // Spot values of ISO/IEC 18004 Table 7 (numeric, alphanumeric, byte, Kanji).
    const int v1[4][4] = {{41, 25, 17, 10}, {34, 20, 14, 8}, {27, 16, 11, 7}, {17, 10, 7, 4}};
    const int v40[4][4] = {{7089, 4296, 2953, 1817}, {5596, 3391, 2331, 1435}, {3993, 2420, 1663, 1024}, {3057, 1852, 1273, 784}};
    for (int level = 0; level < 4; ++level) {
        for (int mode = 0; mode < 4; ++mode) {
            EXPECT_EQ(QRTables::characterCapacity(mode, 1, level), v1[level][mode]);
            EXPECT_EQ(QRTables::characterCapacity(mode, 40, level), v40[level][mode]);
        }
    }
    const QRTables::BlockLayout v7q = QRTables::blockLayout(7, 2);
    EXPECT_EQ(v7q.totalCodewords, 196);
    EXPECT_EQ(v7q.shortBlocks, 2);
    EXPECT_EQ(v7q.shortBlockData, 14);
    EXPECT_EQ(v7q.longBlocks, 4);
    EXPECT_EQ(QRTables::dataBits(40, 3), 10208);
    int coordinates[7];
    ASSERT_EQ(QRTables::alignmentCoordinates(7, coordinates), 3);
    EXPECT_EQ(coordinates[1], 22);
    EXPECT_EQ(coordinates[2], 38);
    ASSERT_EQ(QRTables::alignmentCoordinates(32, coordinates), 6);
    EXPECT_EQ(coordinates[1], 34);
}

TEST(QRCode, AutomaticVersionIsTheSmallestThatHoldsTheTextAndBadArgumentsAreRefused)
{
    std::mt19937 random(18004);
    for (int level = 0; level < 4; ++level) {
        for (int trial = 0; trial < 12; ++trial) {
            const int length = std::uniform_int_distribution<int>(1, QRTables::characterCapacity(2, 40, level))(random);
            const QByteArray text = repeatAlphabet("abcdefghijklmnopqrstuvwxyz", length);
            int expected = 1;
            while (QRTables::characterCapacity(2, expected, level) < length)
                ++expected;
            const ModuleGrid grid = QREncoder::encodeCStringWithECLevel(level, 0, text);
            ASSERT_FALSE(grid.isEmpty()) << length;
            EXPECT_EQ(versionOf(grid), expected) << "level " << level << " length " << length;
        }
        // The whole of version 40 is open to the automatic choice, and nothing beyond it.
        const QByteArray largest = repeatAlphabet("abc", QRTables::characterCapacity(2, 40, level));
        EXPECT_EQ(versionOf(QREncoder::encodeCStringWithECLevel(level, 0, largest)), 40);
        EXPECT_TRUE(QREncoder::encodeCStringWithECLevel(level, 0, largest + "d").isEmpty());
    }
    // Eighteen lowercase letters need version 2 at level L; asked for, version 2 is used as well.
    EXPECT_EQ(versionOf(QREncoder::encodeWithECLevel(0, 0, QString(18, u'q'))), 2);
    EXPECT_EQ(versionOf(QREncoder::encodeWithECLevel(0, 2, QString(18, u'q'))), 2);
    // A version larger than needed is used as asked; one too small refuses the text.
    EXPECT_EQ(versionOf(QREncoder::encodeWithECLevel(1, 0, "12345")), 1);
    EXPECT_EQ(versionOf(QREncoder::encodeWithECLevel(1, 9, "12345")), 9);
    EXPECT_TRUE(QREncoder::encodeWithECLevel(0, 1, QString(18, u'q')).isEmpty());

    // Bad arguments are refused.
    EXPECT_TRUE(QREncoder::encodeWithECLevel(0, 0, QString()).isEmpty());
    for (const auto &[level, version] : {std::pair{4, 0}, {-1, 0}, {0, 41}, {0, -1}})
        EXPECT_TRUE(QREncoder::encodeWithECLevel(level, version, "A").isEmpty()) << level << " " << version;
    CQR_Encode encoder;
    EXPECT_FALSE(encoder.EncodeData(0, 0, true, 8, reinterpret_cast<const std::uint8_t *>("A"), 1));
    EXPECT_EQ(encoder.symbolSize(), 0);
}

// ISO/IEC 18004 Annex I: "01234567" at version 1-M.
TEST(QRCode, WorkedExampleCodewords)
{
    auto encoder = std::make_unique<CQR_Encode>();
    ASSERT_TRUE(encoder->EncodeData(1, 1, false, -1, reinterpret_cast<const std::uint8_t *>("01234567"), 8));
    const std::vector<int> expected = {0x10, 0x20, 0x0C, 0x56, 0x61, 0x80, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC,
                                       0x11, 0xEC, 0x11, 0xA5, 0x24, 0xD4, 0xC1, 0xED, 0x36, 0xC7, 0x87, 0x2C, 0x55};
    ASSERT_EQ(encoder->allCodewordCount(), 26);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(encoder->allCodewords()[i], expected[std::size_t(i)]) << i;
    EXPECT_EQ(encoder->symbolSize(), 21);
}

TEST(QRCode, FormatAndVersionInformation)
{
    EXPECT_EQ(QRTables::formatInformation(1, 0), 0x5412);  // M, mask 0
    EXPECT_EQ(QRTables::formatInformation(0, 0), 0x77C4);  // L, mask 0
    EXPECT_EQ(QRTables::formatInformation(2, 0), 0x355F);  // Q, mask 0
    EXPECT_EQ(QRTables::formatInformation(3, 7), 0x083B);  // H, mask 7
    EXPECT_EQ(QRTables::versionInformation(7), 0x07C94);
    EXPECT_EQ(QRTables::versionInformation(8), 0x085BC);
    EXPECT_EQ(QRTables::versionInformation(40), 0x28C69);

    // In the symbol: the first copy of the format bits beside the top-left finder (bit 14 at
    // column 0 of row 8), the dark module, and the version bits above the bottom-left finder.
    auto encoder = std::make_unique<CQR_Encode>();
    ASSERT_TRUE(encoder->EncodeData(3, 7, false, 7, reinterpret_cast<const std::uint8_t *>("HELLO"), 5));
    const int size = encoder->symbolSize();
    const int format = QRTables::formatInformation(3, 7);
    for (int i = 9; i < 15; ++i)
        EXPECT_EQ(encoder->isDark(14 - i, 8), bool((format >> i) & 1)) << i;
    EXPECT_TRUE(encoder->isDark(8, size - 8));
    const int version = QRTables::versionInformation(7);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(encoder->isDark(i / 3, size - 11 + i % 3), bool((version >> i) & 1)) << i;
}

// (Texts of every script read back in MixedScriptTextsReadBackExactly.)
TEST(QRCode, KanjiModeAndUtf8Bytes)
{
    // Pure Japanese uses Kanji mode: 16 characters fit version 2-L (as UTF-8 they need version 3).
    EXPECT_EQ(versionOf(QREncoder::encodeWithECLevel(0, 0, QStringLiteral("日本語のテキスト日本語のテキスト"))), 2);
    // UTF-8 bytes whose pairs look like Shift JIS Kanji stay bytes.
    const QByteArray utf8 = QStringLiteral("日本語").toUtf8();
    EXPECT_EQ(decodeGrid(QREncoder::encodeCStringWithECLevel(1, 0, utf8), kQR).bytes, utf8);
}

TEST(QRCode, MixedAndRandomContentsRoundTrip)
{
    const QByteArray texts[] = {
        "ABC123456789012345abc",
        "0123456789ABCDEFGHIJ0123456789abcdefghij",
        "http://www.example.com/party?id=12345678901234&name=ANNA",
        "1A2B3C4D5E6F7G8H9I0J",
        "12345678901234567890123456789012345678901234567890xyz",
        "MIXED Case 42 with:PUNCTUATION/and spaces. 99%",
    };
    for (const QByteArray &text : texts) {
        for (int level = 0; level < 4; ++level)
            EXPECT_EQ(decodeGrid(QREncoder::encodeCStringWithECLevel(level, 0, text), kQR).bytes, text) << text.constData() << " level " << level;
    }
    // A long digit run costs less than bytes: 300 digits fit version 7-L, as bytes they would not.
    EXPECT_LE(versionOf(QREncoder::encodeCStringWithECLevel(0, 0, "x" + repeatAlphabet("0123456789", 300) + "x")), 7);

    std::mt19937 random(4106);
    const char *runAlphabets[] = {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", "abcdefghijklmnopqrstuvwxyz"};
    for (int trial = 0; trial < 150; ++trial) {
        QByteArray text;
        const int runs = std::uniform_int_distribution<int>(1, 8)(random);
        for (int r = 0; r < runs; ++r) {
            const int kind = std::uniform_int_distribution<int>(0, 3)(random);
            const int length = std::uniform_int_distribution<int>(1, 30)(random);
            if (kind == 3) {
                text += randomBytes(random, length);
                continue;
            }
            for (int i = 0; i < length; ++i)
                text += runAlphabets[kind][std::uniform_int_distribution<int>(0, int(std::strlen(runAlphabets[kind])) - 1)(random)];
        }
        const ModuleGrid grid = QREncoder::encodeCStringWithECLevel(std::uniform_int_distribution<int>(0, 3)(random), 0, text);
        ASSERT_FALSE(grid.isEmpty());
        EXPECT_EQ(decodeGrid(grid, kQR).bytes, text) << "trial " << trial;
    }
}

TEST(QRCode, RandomBytesNeverCrash)
{
    std::mt19937 random(10000);
    int decodedChecks = 0;
    for (int trial = 0; trial < 10000; ++trial) {
        const QByteArray bytes = randomBytes(random, std::uniform_int_distribution<int>(0, 80)(random));
        const int level = std::uniform_int_distribution<int>(-1, 4)(random);
        const int version = std::uniform_int_distribution<int>(-1, 41)(random) % 12;
        const ModuleGrid grid = trial % 2 ? QREncoder::encodeCStringWithECLevel(level, version, bytes, trial % 4 == 1)
                                          : QREncoder::encodeWithECLevel(level, version, QString::fromUtf8(bytes));
        if (grid.isEmpty())
            continue;
        ASSERT_EQ(grid.width(), grid.height());
        ASSERT_EQ((grid.width() - 17) % 4, 0);
        if (trial % 2 && trial % 4 != 1 && trial % 97 == 1) {
            EXPECT_EQ(decodeGrid(grid, kQR).bytes, bytes);
            ++decodedChecks;
        }
    }
    EXPECT_GT(decodedChecks, 5);
}

TEST(QRCode, PictureSizesAndMargins)
{
    const ModuleGrid grid = QREncoder::encodeWithECLevel(1, 0, "12345"); // 21 x 21
    ASSERT_EQ(grid.width(), 21);

    const QImage picture = QREncoder::renderDataMatrix(grid, 100, 72.0);
    ASSERT_EQ(picture.size(), QSize(100, 100)); // 4 pixels per module, margins of 8
    EXPECT_EQ(qAlpha(picture.pixel(7, 7)), 0);
    EXPECT_EQ(picture.pixel(8, 8), qRgba(0, 0, 0, 255));       // finder corner
    EXPECT_EQ(picture.pixel(8 + 4, 8 + 4), qRgba(255, 255, 255, 255));
    EXPECT_EQ(picture.pixel(91, 8), qRgba(0, 0, 0, 255));      // right finder's last column
    EXPECT_EQ(qAlpha(picture.pixel(92, 8)), 0);

    const QImage tight = QREncoder::renderDataMatrix(grid, 84, 72.0);
    ASSERT_EQ(tight.size(), QSize(84, 84));
    EXPECT_EQ(tight.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(tight.pixel(28, 0), qRgba(255, 255, 255, 255)); // separator

    EXPECT_TRUE(QREncoder::renderDataMatrix(grid, 20, 72.0).isNull());
    EXPECT_TRUE(QREncoder::renderDataMatrix(ModuleGrid(), 100, 72.0).isNull());
    EXPECT_TRUE(ModuleGrid(0, 5).isEmpty());
    EXPECT_EQ(ModuleGrid(-1, 5).width(), 0);
    EXPECT_TRUE(QREncoder::renderDataMatrix(grid, 1000000, 600.0).isNull()); // a mistyped size is refused, not attempted

    // At print resolution: 60 points at 600 dpi, crisp modules that a reader takes.
    const QImage print = QREncoder::renderDataMatrix(grid, 60, 600.0);
    EXPECT_EQ(print.size(), QSize(500, 500));
    EXPECT_EQ(decodePicture(print, kQR, 40).text, "12345");
    for (int x = 0; x < print.width(); ++x) {
        const QRgb p = print.pixel(x, 250);
        ASSERT_TRUE(qAlpha(p) == 0 || qGray(p) == 0 || qGray(p) == 255) << x;
    }
}

namespace {

// A random text of runs from the pools below: digits, capitals, lower case, punctuation, accented
// Latin, Kanji and kana, symbols beyond the Basic Multilingual Plane.
QString randomMixedText(std::mt19937 &random, bool nonAscii)
{
    static const QStringList asciiRuns{QStringLiteral("0123456789"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"),
                                       QStringLiteral("abcdefghijklmnopqrstuvwxyz"), QStringLiteral("!\"#&'(),;<=>?@[\\]^_`{|}~")};
    static const QStringList otherRuns{QStringLiteral("äöüßéèçñÅØ€£"), QStringLiteral("日本語誕生日漢字東京駅"),
                                       QStringLiteral("ひらがなカタカナ"), QStringLiteral("αβγδЖЩ☺✓"),
                                       QStringLiteral("🎉🎂🥳")};
    QString text;
    const int runs = std::uniform_int_distribution<int>(1, 6)(random);
    for (int r = 0; r < runs; ++r) {
        const bool other = nonAscii && std::uniform_int_distribution<int>(0, 2)(random) == 0;
        const QStringList &pool = other ? otherRuns : asciiRuns;
        const QString alphabet = pool.at(std::uniform_int_distribution<int>(0, int(pool.size()) - 1)(random));
        const QList<uint> codePoints = alphabet.toUcs4();
        const int length = std::uniform_int_distribution<int>(1, 12)(random);
        for (int i = 0; i < length; ++i) {
            const char32_t c = codePoints.at(std::uniform_int_distribution<int>(0, int(codePoints.size()) - 1)(random));
            text += QString::fromUcs4(&c, 1);
        }
    }
    return text;
}

} // namespace

// A version asked for holds every text the automatic choice fits into it, also when the text
// mixes modes that cost less than bytes.
TEST(QRCode, FixedVersionTakesWhatTheAutomaticChoiceFitsIntoIt)
{
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 400; ++trial) {
        const QString text = randomMixedText(random, trial % 3 == 0);
        const int level = std::uniform_int_distribution<int>(0, 3)(random);
        const int automatic = versionOf(QREncoder::encodeWithECLevel(level, 0, text));
        ASSERT_GT(automatic, 0) << text.toStdString();
        for (const int version : {automatic, std::min(40, automatic + 1)}) {
            const ModuleGrid grid = QREncoder::encodeWithECLevel(level, version, text);
            ASSERT_EQ(versionOf(grid), version) << text.toStdString() << " level " << level;
            if (trial % 8 == 0) {
                EXPECT_EQ(QString::fromStdString(decodeGrid(grid, kQR).text), text);
            }
        }
        if (automatic > 1) {
            EXPECT_TRUE(QREncoder::encodeWithECLevel(level, automatic - 1, text).isEmpty()) << text.toStdString();
        }
    }
}

// Texts mixing Kanji, other non-ASCII characters and ASCII read back exactly; a lone surrogate
// is refused.
TEST(QRCode, MixedScriptTextsReadBackExactly)
{
    std::mt19937 random(18004);
    for (int trial = 0; trial < 200; ++trial) {
        const QString text = randomMixedText(random, true);
        const Decoded decoded = decodeGrid(QREncoder::encodeWithECLevel(trial % 4, 0, text), kQR);
        ASSERT_TRUE(decoded.valid) << text.toStdString();
        EXPECT_EQ(QString::fromStdString(decoded.text), text);
    }
    for (const QString &text : {QStringLiteral("a") + QChar(0xD83C), QString(QChar(0xDF89)) + QStringLiteral("日本"),
                                QStringLiteral("x") + QChar(0xDC00) + QChar(0xD800)})
        EXPECT_TRUE(QREncoder::encodeWithECLevel(1, 0, text).isEmpty());
}
