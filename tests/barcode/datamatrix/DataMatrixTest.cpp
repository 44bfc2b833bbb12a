#include "barcode/ModuleGridTestSupport.h"

#include "barcode/ReedSolomon.h"
#include "barcode/datamatrix/DataMatrixEncoder.h"
#include "barcode/datamatrix/DataMatrixPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace ModuleGridTestSupport;

namespace {

constexpr auto kDataMatrix = ZXing::BarcodeFormat::DataMatrix;

struct Encoded {
    ModuleGrid grid;
    int W = 0;
    int H = 0;
    QByteArray encoding;
    int length = 0;
    int capacity = 0;
    int ecc = 0;
};

Encoded encode(const QByteArray &data, char forced = 0, int W = 0, int H = 0)
{
    Encoded e;
    e.W = W;
    e.H = H;
    std::optional<QByteArray> encoding;
    if (forced)
        encoding = QByteArray(data.size(), forced);
    e.grid = DataMatrixEncoder::iec16022ecc200(e.W, e.H, encoding, data, &e.length, &e.capacity, &e.ecc);
    if (encoding)
        e.encoding = *encoding;
    return e;
}

QByteArray decode(const ModuleGrid &grid)
{
    return decodeGrid(grid, kDataMatrix, 2, 2, 2).bytes;
}

QByteArray digits(int count)
{
    QByteArray text(count, '0');
    for (int i = 0; i < count; ++i)
        text[i] = char('0' + (i * 7 + 3) % 10);
    return text;
}

} // namespace

// Every size holds two digits per data codeword, and not one digit more.
TEST(DataMatrix, EverySizeAtCapacity)
{
    const auto &sizes = DataMatrixEncoder::ecc200matrix();
    ASSERT_EQ(sizes.size(), 30u);
    int rectangles = 0;
    for (const auto &size : sizes) {
        rectangles += size.W != size.H;
        const QByteArray full = digits(2 * size.bytes);
        const Encoded e = encode(full, 0, size.W, size.H);
        ASSERT_EQ(e.grid.width(), size.W);
        ASSERT_EQ(e.grid.height(), size.H);
        EXPECT_EQ(e.capacity, size.bytes);
        EXPECT_EQ(e.length, size.bytes);
        EXPECT_EQ(e.ecc, size.blocks() * size.rsblock);
        EXPECT_EQ(decode(e.grid), full) << size.H << "x" << size.W;
        testing::internal::CaptureStderr();
        EXPECT_TRUE(encode(full + "1", 0, size.W, size.H).grid.isEmpty());
        EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
        // Automatic size: the first size of that capacity.
        EXPECT_EQ(encode(full).capacity, size.bytes);
    }
    EXPECT_EQ(rectangles, 6);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(encode(digits(3117)).grid.isEmpty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot find suitable size, barcode too long\n");
}

TEST(DataMatrix, WorkedExamplesAndSizeChoice)
{
    std::vector<std::uint8_t> codewords;
    int length = 0;
    ASSERT_TRUE(DataMatrixEncoder::ecc200encode(codewords, 3, "123456", "AAAAAA", &length));
    EXPECT_EQ(codewords, std::vector<std::uint8_t>({142, 164, 186}));
    const Encoded six = encode("123456");
    EXPECT_EQ(six.W, 10);
    EXPECT_EQ(six.H, 10);
    EXPECT_EQ(decode(six.grid), QByteArray("123456"));

    // Nine codewords: the 8 x 32 rectangle comes before 16 x 16.
    const Encoded nine = encode(digits(18));
    EXPECT_EQ(nine.H, 8);
    EXPECT_EQ(nine.W, 32);

    // Twelve capitals: C40, 9 codewords (latch and four groups), 8 x 32, unlatch as the tenth.
    int cost = 0;
    EXPECT_EQ(DataMatrixEncoder::encmake("ABCDEFGHIJKL", &cost, false), QByteArray("CCCCCCCCCCCC"));
    EXPECT_EQ(cost, 9);
    const Encoded capitals = encode("ABCDEFGHIJKL");
    EXPECT_EQ(capitals.encoding, QByteArray("CCCCCCCCCCCC"));
    EXPECT_EQ(capitals.H, 8);
    EXPECT_EQ(capitals.W, 32);
    EXPECT_EQ(capitals.length, 9);
    ASSERT_TRUE(DataMatrixEncoder::ecc200encode(codewords, 10, "ABCDEFGHIJKL", capitals.encoding, &length));
    EXPECT_EQ(codewords[0], 230);
    EXPECT_EQ(codewords[9], 254);
    EXPECT_EQ(decode(capitals.grid), QByteArray("ABCDEFGHIJKL"));

    // Base256: latch 231, randomised length; a run of 250 needs two length bytes.
    ASSERT_TRUE(DataMatrixEncoder::ecc200encode(codewords, 10, "abc", "BBB", &length));
    EXPECT_EQ(codewords[0], 231);
    EXPECT_EQ(codewords[1], (3 + (149 * 2) % 255 + 1) % 256);
    const QByteArray run(250, 'x');
    ASSERT_TRUE(DataMatrixEncoder::ecc200encode(codewords, 280, run, QByteArray(250, 'B'), &length));
    EXPECT_EQ(length, 253);
    EXPECT_EQ(codewords[1], (250 + (149 * 2) % 255 + 1) % 256);
    EXPECT_EQ(codewords[2], (0 + (149 * 3) % 255 + 1) % 256);
    EXPECT_EQ(decode(encode(run, 'B').grid), run);

    // An empty text with a given size is all padding.
    EXPECT_EQ(encode("", 0, 12, 12).grid.width(), 12);
    EXPECT_EQ(encode("").grid.width(), 10);
}

TEST(DataMatrix, RefusalMessages)
{
    const std::tuple<QByteArray, char, int, const char *> cases[] = {
        {"ABC", 0, 11, "Invalid size 11x11\n"},
        {"ABCDEFGHIJKLMNOP", 'A', 10, "Barcode too long for 10x10\n"},
        {"abc", 'X', 0, "Cannot encode char 0x61 in X12\n"},
        {"abc", 'E', 0, "Cannot encode 0x61 in EDIFACT\n"},
        {"abc", 'Q', 0, "Unknown encoding q\n"}};
    for (const auto &[text, forced, size, message] : cases) {
        testing::internal::CaptureStderr();
        EXPECT_TRUE(encode(text, forced, size, size).grid.isEmpty()) << message;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), message);
    }
    testing::internal::CaptureStderr();
    int W = 0, H = 0;
    std::optional<QByteArray> shortEncoding = QByteArray("AA");
    EXPECT_TRUE(DataMatrixEncoder::iec16022ecc200(W, H, shortEncoding, "abc").isEmpty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Encoding string too short\n");
}

TEST(DataMatrix, EachEncodationForcedAndAutomatic)
{
    struct Case {
        char encodation;
        QByteArray text;
    };
    const Case cases[] = {
        {'A', "Happy birthday 2025 \x01\x7f\xe9\xff"},
        {'C', "HAPPY BIRTHDAY 2025, dear Sam! \x01\xe9\x7f{|}~`"},
        {'T', "happy birthday 2025, DEAR SAM! \x01\xe9\x7f{|}~`"},
        {'X', "ORDER*42>SHIP 12 ABC\r"},
        {'E', "EDIFACT:UNB+UNOA:1+A@B[C]^\\ 0123"},
        {'B', "\x80\x81\x82\xff\xfe binary \x00\x01", },
    };
    for (const Case &c : cases) {
        const Encoded forced = encode(c.text, c.encodation);
        ASSERT_FALSE(forced.grid.isEmpty()) << c.encodation;
        EXPECT_EQ(decode(forced.grid), c.text) << c.encodation;
        const Encoded automatic = encode(c.text);
        ASSERT_FALSE(automatic.grid.isEmpty()) << c.encodation;
        EXPECT_EQ(decode(automatic.grid), c.text) << c.encodation << " " << automatic.encoding.constData();
    }
    // The automatic choice uses each encodation where it pays.
    int cost = 0;
    EXPECT_TRUE(DataMatrixEncoder::encmake("hello birthday party", &cost, true)->contains('T'));
    EXPECT_TRUE(DataMatrixEncoder::encmake("ORDER*42>SHIP*12>ABC*", &cost, true)->contains('X'));
    EXPECT_TRUE(DataMatrixEncoder::encmake("@@@@@@@@;;;;;;;;[[[[[[[[", &cost, true)->contains('E'));
    EXPECT_TRUE(DataMatrixEncoder::encmake(QByteArray(40, char(0xe9)), &cost, true)->contains('B'));
}

// Forced C40, Text and X12 keep every character when the data ends inside a group of three
// values, whatever room the symbol has left.
TEST(DataMatrix, DataEndingInsideAGroup)
{
    const QByteArray alphabets[] = {"ABCDEFGHIJ 0123456789", "abcdefghij 0123456789", "XYZ*>0123 \r"};
    const char letters[] = {'C', 'T', 'X'};
    testing::internal::CaptureStderr(); // "Barcode too long" for the sizes that are too small
    for (int k = 0; k < 3; ++k) {
        for (int length = 1; length <= 14; ++length) {
            QByteArray text(length, ' ');
            for (int i = 0; i < length; ++i)
                text[i] = alphabets[k][(i * 5 + length) % alphabets[k].size()];
            if (k < 2 && length % 4 == 3)
                text[length - 1] = 'q' - 32 * k; // a shifted character last: two values
            bool anySize = false;
            for (const auto &size : DataMatrixEncoder::ecc200matrix()) {
                if (size.bytes > 24)
                    break;
                const Encoded e = encode(text, letters[k], size.W, size.H);
                if (e.grid.isEmpty())
                    continue;
                anySize = true;
                EXPECT_EQ(decode(e.grid), text) << letters[k] << " '" << text.constData() << "' " << size.H << "x" << size.W;
            }
            EXPECT_TRUE(anySize) << letters[k] << " " << length;
        }
    }
    (void)testing::internal::GetCapturedStderr();
}

// The error correction of every block length the sizes use: a block with its codewords is a
// multiple of the generator, so it vanishes at each of the generator's roots (alpha^1 to
// alpha^n in DataMatrix's field), whether the encoder works from its table of products or not.
TEST(DataMatrix, ErrorCorrectionVanishesAtTheGeneratorRoots)
{
    const GaloisField256 &field = GaloisField256::dataMatrix();
    std::mt19937 random(200);
    std::vector<int> lengths;
    for (const auto &size : DataMatrixEncoder::ecc200matrix())
        lengths.push_back(size.rsblock);
    std::sort(lengths.begin(), lengths.end());
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    ASSERT_EQ(lengths.size(), 16u);
    for (const int n : lengths) {
        const ReedSolomonEncoder tabled(field, n, 1, ReedSolomonEncoder::ProductTable);
        const ReedSolomonEncoder plain(field, n, 1);
        for (const int length : {1, 3, 60, 175}) {
            SCOPED_TRACE(testing::Message() << n << " codewords for " << length << " bytes");
            std::vector<std::uint8_t> block(std::size_t(length + n));
            for (int i = 0; i < length; ++i)
                block[std::size_t(i)] = std::uint8_t(std::uniform_int_distribution<int>(0, 255)(random));
            block[0] = 0; // a leading zero feeds nothing back
            tabled.encode(block.data(), length, block.data() + length);
            std::vector<std::uint8_t> other(static_cast<std::size_t>(n));
            plain.encode(block.data(), length, other.data());
            EXPECT_TRUE(std::equal(other.begin(), other.end(), block.begin() + length));
            for (int root = 1; root <= n; ++root) {
                int value = 0;
                for (const std::uint8_t codeword : block)
                    value = field.multiply(value, field.exp(root)) ^ codeword;
                EXPECT_EQ(value, 0) << "at alpha^" << root;
            }
        }
    }
}

TEST(DataMatrix, RandomContentsRoundTrip)
{
    std::mt19937 random(16022);
    const QByteArray alphabets[] = {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ ", "abcdefghijklmnopqrstuvwxyz ",
                                    "ABC*>\r 0123456789", "!\"#$%&'()*+,-./:;<=>?@[\\]^_"};
    for (int trial = 0; trial < 150; ++trial) {
        QByteArray text;
        const int runs = std::uniform_int_distribution<int>(1, 6)(random);
        for (int r = 0; r < runs; ++r) {
            const int length = std::uniform_int_distribution<int>(1, 25)(random);
            const int kind = std::uniform_int_distribution<int>(0, 5)(random);
            if (kind == 5) {
                text += randomBytes(random, length);
            } else {
                for (int i = 0; i < length; ++i)
                    text += alphabets[kind][std::uniform_int_distribution<int>(0, int(alphabets[kind].size()) - 1)(random)];
            }
        }
        const Encoded e = encode(text);
        ASSERT_FALSE(e.grid.isEmpty()) << trial;
        EXPECT_EQ(decode(e.grid), text) << "trial " << trial << " " << e.encoding.constData();
    }
}

TEST(DataMatrix, RandomBytesNeverCrash)
{
    std::mt19937 random(10000);
    const auto &sizes = DataMatrixEncoder::ecc200matrix();
    const char letters[] = "ACTXEBactxeb";
    testing::internal::CaptureStderr();
    int produced = 0;
    for (int trial = 0; trial < 10000; ++trial) {
        const QByteArray data = randomBytes(random, std::uniform_int_distribution<int>(0, 60)(random));
        int W = 0, H = 0;
        if (trial % 3 == 0) {
            const auto &size = sizes[std::size_t(std::uniform_int_distribution<int>(0, 29)(random))];
            W = size.W;
            H = size.H;
        }
        std::optional<QByteArray> encoding;
        if (trial % 4 == 1) {
            encoding = QByteArray(data.size(), 'A');
            for (auto &c : *encoding)
                c = letters[std::uniform_int_distribution<int>(0, 11)(random)];
        }
        const ModuleGrid grid = DataMatrixEncoder::iec16022ecc200(W, H, encoding, data);
        if (grid.isEmpty())
            continue;
        ++produced;
        ASSERT_EQ(grid.width(), W);
        ASSERT_EQ(grid.height(), H);
        if (trial % 61 == 0) {
            EXPECT_EQ(decode(grid), data) << trial;
        }
    }
    (void)testing::internal::GetCapturedStderr();
    EXPECT_GT(produced, 5000);
}

TEST(DataMatrix, Picture)
{
    const Encoded e = encode("Happy birthday!");
    ASSERT_FALSE(e.grid.isEmpty());
    const int W = e.grid.width();
    const int H = e.grid.height();

    // One point per module with a one-module quiet zone, at 72 dpi: one pixel per module.
    const QImage plain = DataMatrixPicture::makeImage(e.grid, 1, 72.0);
    ASSERT_EQ(plain.size(), QSize(W + 2, H + 2));
    EXPECT_EQ(qGray(plain.pixel(0, 0)), 255);
    EXPECT_EQ(qGray(plain.pixel(1, H)), 0);      // bottom-left of the solid finder
    EXPECT_EQ(qGray(plain.pixel(W, 1)), 255);    // top-right timing module is light

    // Two points per module at 600 dpi, crisp, read back by the reader.
    const QImage print = DataMatrixPicture::makeImage(e.grid, 2, 600.0);
    EXPECT_EQ(print.size(), QSize(int(std::ceil((W + 2) * 2 * 600.0 / 72)), int(std::ceil((H + 2) * 2 * 600.0 / 72))));
    EXPECT_EQ(decodePicture(print, kDataMatrix, 20).bytes, QByteArray("Happy birthday!"));

    EXPECT_TRUE(DataMatrixPicture::makeImage(e.grid, 1, 36.0).isNull()); // half a pixel per module
    EXPECT_TRUE(DataMatrixPicture::makeImage(e.grid, 0, 600.0).isNull());
    EXPECT_TRUE(DataMatrixPicture::makeImage(ModuleGrid(), 1, 600.0).isNull());
}
