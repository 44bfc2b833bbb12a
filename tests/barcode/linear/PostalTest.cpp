#include "LinearTestSupport.h"

#include "barcode/linear/JapanPostBarcode.h"
#include "barcode/linear/NKDRoyalMailBarcode.h"

using namespace LinearTest;

namespace {

constexpr int kZintPostnet = 40;
constexpr int kZintRoyalMail = 70;
constexpr int kZintJapanPost = 76;
constexpr int kZintPlanet = 82;
constexpr float kMillimetre = float(72.0 / 25.4);

// Tall (T) and short (S) bars of a POSTNET or PLANET symbol, bar by bar.
QByteArray heightsOf(const NKDBarcode &barcode)
{
    const QByteArray bars = barcode.completeBarcode();
    QByteArray heights;
    for (int i = 0; i < bars.size(); ++i) {
        if (bars.at(i) == '1')
            heights += barcode.barTop(i) > 8.9f ? 'T' : 'S';
    }
    return heights;
}

QByteArray zintHeights(int symbology, const QString &data)
{
    const QList<QByteArray> rows = zintRows(symbology, data);
    if (rows.size() != 2)
        return {};
    QByteArray heights;
    for (int i = 0; i < rows.at(1).size(); i += 2) {
        if (rows.at(1).at(i) == '1')
            heights += rows.at(0).at(i) == '1' ? 'T' : 'S';
    }
    return heights;
}

// F full, A ascender, D descender, T tracker, bar by bar, read from the bar descriptors.
template<typename FourState>
QByteArray fourStatesOf(const FourState &barcode)
{
    const QByteArray bars = barcode.completeBarcode();
    QByteArray states;
    for (int i = 0; i < bars.size(); ++i) {
        if (bars.at(i) == '1')
            states += "TDAF"[barcode._barDescriptor(i)];
    }
    return states;
}

QByteArray zintFourStates(int symbology, const QString &data)
{
    const QList<QByteArray> rows = zintRows(symbology, data);
    if (rows.size() != 3)
        return {};
    QByteArray states;
    for (int i = 0; i < rows.at(1).size(); i += 2) {
        if (rows.at(1).at(i) == '1')
            states += "TDAF"[(rows.at(0).at(i) == '1' ? 2 : 0) | (rows.at(2).at(i) == '1' ? 1 : 0)];
    }
    return states;
}

// Our bars against zint's, read as heights (POSTNET, PLANET) or four states.
void expectLikeZint(const QString &title, const QString &value, int symbology)
{
    auto barcode = make(title, value);
    ASSERT_TRUE(barcode);
    if (title == QLatin1String("PostNet") || title == QLatin1String("Planet")) {
        EXPECT_EQ(heightsOf(*barcode), zintHeights(symbology, value)) << value.toStdString();
    } else if (title == QLatin1String("Japan Post Barcode")) {
        EXPECT_EQ(fourStatesOf(static_cast<const JapanPostBarcode &>(*barcode)), zintFourStates(symbology, value))
            << value.toStdString();
    } else {
        EXPECT_EQ(fourStatesOf(static_cast<const NKDRoyalMailBarcode &>(*barcode)), zintFourStates(symbology, value))
            << value.toStdString();
    }
}

} // namespace

TEST(Postal, PostnetBarsAndPlanetInvertingThem)
{
    auto barcode = make(QStringLiteral("PostNet"), QStringLiteral("12345"));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->checkDigit(), '5');
    EXPECT_FLOAT_EQ(barcode->barWidth(), 1.08f);
    EXPECT_FLOAT_EQ(barcode->height(), 9.0f);
    for (int i = 0; i < barcode->completeBarcode().size(); ++i) {
        if (barcode->completeBarcode().at(i) == '1') {
            EXPECT_TRUE(qFuzzyCompare(barcode->barTop(i), 9.0f) || qFuzzyCompare(barcode->barTop(i), 3.6f)) << i;
        }
    }

    // (Planet's bars, the frame bars kept and the others swapped, are compared with zint below.)
    EXPECT_TRUE(make(QStringLiteral("Planet"), QStringLiteral("1234567890123")));
}

TEST(Postal, PostnetAndPlanetMatchZint)
{
    QRandomGenerator random(40);
    for (int i = 0; i < 15; ++i) {
        expectLikeZint("PostNet", randomText(random, "0123456789", QList<int>{5, 9, 11}.at(i % 3)), kZintPostnet);
        expectLikeZint("Planet", randomText(random, "0123456789", i % 2 ? 11 : 13), kZintPlanet);
    }
}

TEST(Postal, RoyalMailUpperCasesAndDrawsFullBarsAndTrackers)
{
    auto lower = make(QStringLiteral("Royal Mail Barcode (RM4SCC / CBC)"), QStringLiteral("sn34rd1a"));
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->content(), QStringLiteral("SN34RD1A"));
    EXPECT_TRUE(lower->printsCaption());
    EXPECT_FLOAT_EQ(lower->barWidth(), 1.4173229f);
    EXPECT_FLOAT_EQ(lower->height(), 14.3149605f);
    // A full bar reaches from the bottom to the top, a tracker only across the middle band.
    const auto &royal = static_cast<const NKDRoyalMailBarcode &>(*lower);
    const int stop = int(royal.completeBarcode().size()) - 1;
    EXPECT_NEAR(royal.barTop(stop), 5.05f * kMillimetre, 1e-4);
    EXPECT_FLOAT_EQ(royal.barBottom(stop), 0.0f);
    EXPECT_EQ(royal._barDescriptor(0), 2);
}

TEST(Postal, RoyalMailMatchesZint)
{
    QRandomGenerator random(70);
    QStringList values{"SN34RD1A", "0", "ZZZZ"};
    for (int i = 0; i < 25; ++i)
        values << randomText(random, QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), 1 + random.bounded(12));
    for (const QString &value : values)
        expectLikeZint("Royal Mail Barcode (RM4SCC / CBC)", value, kZintRoyalMail);
}

TEST(Postal, JapanPostWorkedExampleAndCutAfterTwentyCodes)
{
    auto barcode = make(QStringLiteral("Japan Post Barcode"), QStringLiteral("1060043 3-21"));
    ASSERT_TRUE(barcode);
    const auto &japan = static_cast<const JapanPostBarcode &>(*barcode);
    EXPECT_EQ(japan.japanpostContents(), QByteArray("10600433-21") + QByteArray(9, '='));
    EXPECT_EQ(japan.content(), QStringLiteral("10600433-21"));
    EXPECT_EQ(japan.checkDigit(), '>');
    EXPECT_EQ(japan.completeBarcode().size(), 133);
    EXPECT_FLOAT_EQ(japan.height(), 10.0f);

    JapanPostBarcode sized;
    ASSERT_TRUE(sized.initWithContent(QStringLiteral("1060043")));
    sized.setBarWidth(2.0f);
    EXPECT_FLOAT_EQ(sized.barWidth(), 11.5f / 6.0f);
    EXPECT_FLOAT_EQ(sized.height(), 11.5f);
    sized.setHeight(3.0f);
    EXPECT_FLOAT_EQ(sized.height(), 8.5f);
    EXPECT_FLOAT_EQ(sized.width(), 133 * 8.5f / 6.0f);

    // A letter takes two codes; the twentieth code may be the first half of one, and no more are taken.
    auto cut = make("Japan Post Barcode", "1234567890123456789A7");
    ASSERT_TRUE(cut);
    EXPECT_EQ(static_cast<const JapanPostBarcode &>(*cut).japanpostContents(), QByteArray("1234567890123456789:"));
    EXPECT_EQ(cut->content(), "1234567890123456789");
    EXPECT_EQ(cut->completeBarcode().size(), 133);
}

TEST(Postal, JapanPostMatchesZint)
{
    QRandomGenerator random(76);
    QStringList values{QStringLiteral("10600433-21"), QStringLiteral("15400233-16-4-205"),
                       QStringLiteral("123456789012345678A"), QStringLiteral("1060043ABC-12x"),
                       QStringLiteral("12345678901234567890")};
    while (values.size() < 25) {
        const QString value = randomText(random, QStringLiteral("0123456789"), 7)
                              + randomText(random, QStringLiteral("0123456789-ABCDEFGHIJKLMNOPQRSTUVWXYZ"), random.bounded(12));
        // zint refuses what takes more than twenty codes.
        auto barcode = make(QStringLiteral("Japan Post Barcode"), value);
        ASSERT_TRUE(barcode);
        if (barcode->content().size() == value.size() && !static_cast<const JapanPostBarcode &>(*barcode).japanpostContents().endsWith(':'))
            values << value;
    }
    for (const QString &value : values)
        expectLikeZint("Japan Post Barcode", value, kZintJapanPost);
}
