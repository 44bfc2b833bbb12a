#include "LinearTestSupport.h"

#include "barcode/BarcodeSizes.h"
#include "barcode/BarcodeText.h"
#include "barcode/linear/JapanPostBarcode.h"
#include "barcode/linear/NKDCode128Barcode.h"
#include "barcode/generator/TwoDPictureLayout.h"

namespace {

// A content printed with one character on each side of the main caption.
class OuterDigits : public NKDBarcode
{
public:
    int digitsToLeft() const override { return 1; }
    int digitsToRight() const override { return 1; }
};

BarcodeSettings oneMarginEverywhere(double margin)
{
    BarcodeSettings settings;
    settings.value_margin = settings.header_margin = settings.footer_margin = settings.LR_margin = settings.TB_margin = margin;
    return settings;
}

} // namespace

TEST(LinearModel, BaseClassDrawsEveryCharacterAlike)
{
    NKDBarcode barcode;
    ASSERT_TRUE(barcode.initWithContent(QStringLiteral("ABC"), true));
    EXPECT_EQ(barcode.completeBarcode(), QByteArray("101010101010"));
    EXPECT_FLOAT_EQ(barcode.width(), 12 * 0.936f);
    EXPECT_EQ(barcode.checkDigit(), -1);
    EXPECT_FLOAT_EQ(barcode.height(), 36.0f);
    EXPECT_TRUE(barcode.header().isEmpty());
    EXPECT_FALSE(barcode.initWithContent(QString(), true));

    NKDBarcode accented;
    accented.initWithContent(QStringLiteral("\u00e9t\u00e9"));
    EXPECT_FALSE(accented.isContentValid());
    EXPECT_TRUE(accented.barcode().isEmpty());
}

TEST(LinearModel, CaptionPartsAroundTheMiddle)
{
    OuterDigits barcode;
    barcode.initWithContent(QStringLiteral("12345"));
    EXPECT_EQ(barcode.leftCaption(), QStringLiteral("1"));
    EXPECT_EQ(barcode.caption(), QStringLiteral("234"));
    EXPECT_EQ(barcode.rightCaption(), QStringLiteral("5"));
    OuterDigits tiny;
    tiny.initWithContent(QStringLiteral("1"));
    EXPECT_TRUE(tiny.caption().isEmpty());
}

TEST(LinearModel, BarLengthTakesAwayPrintedBandsAndMargins)
{
    NKDBarcode barcode;
    barcode.setSettings(oneMarginEverywhere(1.5));
    barcode.initWithContent(QStringLiteral("A"), false);
    barcode.setHeight(100);
    EXPECT_FLOAT_EQ(barcode.barTop(0), 100 - 2 * 1.5f);

    const float cap = float(BarcodeText::capHeight(barcode.settings().value_font));
    barcode.setPrintsCaption(true);
    barcode.setCaptionFontSize(10);
    EXPECT_NEAR(barcode.captionHeight(), cap / 72 * 1.35f, 1e-6);
    EXPECT_NEAR(barcode.barTop(0), 100 - 3 - cap * 1.35f - 1.5f, 1e-4);
}

TEST(LinearModel, CopyCarriesTheSymbolNotTheBands)
{
    auto original = LinearBarcodes::create(QStringLiteral("Code 128 SET B"), QStringLiteral("12"), true);
    original->setHeader(QStringLiteral("Head"));
    original->setPrintsHeader(true);
    original->setBarWidth(2);
    original->setHeight(50);
    const std::unique_ptr<NKDBarcode> copy = original->copy();
    EXPECT_EQ(copy->completeBarcode(), original->completeBarcode());
    EXPECT_EQ(static_cast<NKDCode128Barcode &>(*copy).codeSet(), NKDCode128Barcode::SetB);
    EXPECT_FLOAT_EQ(copy->barWidth(), 2);
    EXPECT_FLOAT_EQ(copy->height(), 50);
    EXPECT_TRUE(copy->header().isEmpty());
    EXPECT_FALSE(copy->printsHeader());
}

TEST(LinearBarcodes, RefusedContentIsInvalid)
{
    // Where `noBars` is set, the refused content leaves no bars either.
    const std::tuple<const char *, QStringList, bool> cases[] = {
        {"Code 128 SET C", {"12A4", "12 34", ""}, true},
        {"Code 128", {QStringLiteral("caf\u00e9")}, false},
        {"Code 39", {"A*B", "TAB\tX", "a_b"}, false},
        {"Extended Code 39", {"a\tb"}, false},
        {"Codabar", {"A12C3D", "A123", "AB", "12E", "a123b"}, false},
        {"EAN-13", {"5901234123450", "59012341234", "59012341234A"}, true},
        // A longer number whose first digits are valid is refused, not cut: printing only part
        // of it would put a different number on the card.
        {"EAN-13", {"59012341234571"}, false},
        {"EAN-8", {"96385075", "963850", "963A507", "9638507x", "963850745"}, false},
        {"UPCA", {"036000291453", "0360002914521"}, false},
        {"UPCE", {"04252615", "2425261", "042526", "04210001526"}, false},
        {"Interleaved 2 of 5", {"12A", "", "1 2"}, false},
        {"Modified Plessey", {"12A"}, false},
        {"Modified Plessey (Hex)", {"1f"}, false},
        {"PostNet", {"123456", "1234", "1234A"}, false},
        {"Planet", {"12345", "123456789", "123456789012"}, false},
        {"Royal Mail Barcode (RM4SCC / CBC)", {"SN34 RD1A", "AB-1", "AB.1", ""}, false},
        {"Japan Post Barcode", {"106-0043"}, false},
    };
    for (const auto &[title, values, noBars] : cases) {
        for (const QString &value : values) {
            auto barcode = LinearBarcodes::create(QLatin1String(title), value, true);
            ASSERT_TRUE(barcode) << title << " " << value.toStdString();
            EXPECT_FALSE(barcode->isContentValid()) << title << " " << value.toStdString();
            if (noBars) {
                EXPECT_TRUE(barcode->barcode().isEmpty()) << title << " " << value.toStdString();
            }
        }
    }
    // No content at all, or a symbology that is not linear, makes no barcode.
    EXPECT_EQ(LinearBarcodes::create("Code 128", QString(), true), nullptr);
    EXPECT_EQ(LinearBarcodes::create("Code 39", QString(), true), nullptr);
    EXPECT_EQ(LinearBarcodes::allocate("QR Code"), nullptr);
}

TEST(BarcodeSizes, LinearHeightIsTheInverseOfTheBarLength)
{
    auto barcode = LinearBarcodes::create(QStringLiteral("Code 39"), QStringLiteral("SIZE"), true);
    barcode->setPrintsCaption(true);
    barcode->setCaptionFontSize(10);
    BarcodeSizeFields fields;  // centimetres, bar height 1, margins 0.1
    fields.headerHidden = fields.footerHidden = true;
    BarcodeSizes::Set_Barcode_Height(*barcode, fields);
    const double u = 0.393701 * 72.0;
    const double band = barcode->captionHeight() * 72.0;
    EXPECT_NEAR(barcode->height(), u + band + 0.1 * u + 2 * 0.1 * u, 1e-3);
    EXPECT_NEAR(barcode->barTop(0), u, 1e-3);  // the bars keep the height the user typed
    EXPECT_DOUBLE_EQ(barcode->settings().header_margin, 0.0);
}

TEST(BarcodeSizes, LinearWidthWithMarginsAndHiddenHeader)
{
    auto barcode = LinearBarcodes::create(QStringLiteral("Code 39"), QStringLiteral("W"), true);
    barcode->setHeader(QStringLiteral("A header far wider than the three characters of the symbol"));
    barcode->setPrintsHeader(true);
    barcode->setHeaderFontSize(10);
    ASSERT_GT(barcode->headerWidth(), barcode->width());

    BarcodeSizeFields fields;
    fields.lrMargin = 0;
    EXPECT_FLOAT_EQ(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, fields), barcode->headerWidth());
    fields.headerHidden = true;
    EXPECT_FLOAT_EQ(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, fields), barcode->width());
    fields.lrMargin = 0.1;
    EXPECT_NEAR(BarcodeSizes::Set_Linear_Barcode_Width(*barcode, fields), barcode->width() + 20.67, 0.01);
}

TEST(BarcodeSizes, JapanPostPictureHeightLeavesTheSymbolSize)
{
    auto barcode = LinearBarcodes::create(QStringLiteral("Japan Post Barcode"), QStringLiteral("1060043"), true);
    const float tallBar = barcode->barTop(0);
    BarcodeSizes::Set_Barcode_Height(*barcode, BarcodeSizeFields{});
    EXPECT_GT(barcode->height(), 28.0f);
    EXPECT_FLOAT_EQ(barcode->barTop(0), tallBar);
    EXPECT_FLOAT_EQ(static_cast<JapanPostBarcode &>(*barcode).symbolSize(), 10.0f);
}

TEST(BarcodeSizes, TwoDPictureSize)
{
    BarcodeSettings settings;
    TwoDPictureLayout layout;
    layout.header = QStringLiteral("Head");
    layout.printsHeader = true;
    layout.setHeaderFontSize(10, settings);
    layout.setFooterFontSize(10, settings);
    BarcodeSizeFields fields;
    fields.unit = 0;  // inches
    fields.footerHidden = true;
    BarcodeSizes::Set_2d_Barcode_Height(layout, QSizeF(60, 60), fields, settings);
    EXPECT_NEAR(layout.height, 60 + layout.headerHeight * 72 + 7.2 + 2 * 7.2, 1e-3);
    BarcodeSizes::Set_2d_Barcode_Width(layout, QSizeF(60, 60), fields, settings);
    EXPECT_NEAR(layout.width, 60 + 2 * 7.2 + 15, 1e-3);
    EXPECT_DOUBLE_EQ(settings.footer_margin, 0.0);
}
