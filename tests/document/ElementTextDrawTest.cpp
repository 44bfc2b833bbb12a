// Pixel tests of text elements: colour, alignment, case, kerning in points, fill and border,
// clipping to the bounds, layout independent of the resolution, natural size.

#include "RenderTestSupport.h"

#include "document/LMNText.h"

#include <gtest/gtest.h>

using namespace RenderTestSupport;

namespace {

std::shared_ptr<LMNText> text(const QString &value, const QRectF &bounds = QRectF(20, 20, 160, 40))
{
    auto t = std::make_shared<LMNText>();
    t->setText(value);
    t->setBounds(bounds);
    t->_isDrawingStroke = false;
    t->text_ctrl_font = CardFont(QStringLiteral("ArialMT"), 14);
    return t;
}

} // namespace

TEST(ElementTextDraw, CaseTransforms)
{
    const QString typed = QStringLiteral("happy bIRTHDAY, dear éMILE\nsee you");
    EXPECT_EQ(LMNText::transformedCase(typed, 0), typed);
    EXPECT_EQ(LMNText::transformedCase(typed, 1), QStringLiteral("HAPPY BIRTHDAY, DEAR ÉMILE\nSEE YOU"));
    EXPECT_EQ(LMNText::transformedCase(typed, 2), QStringLiteral("happy birthday, dear émile\nsee you"));
    EXPECT_EQ(LMNText::transformedCase(typed, 3), QStringLiteral("Happy Birthday, Dear Émile\nSee You"));
    EXPECT_EQ(LMNText::transformedCase(QStringLiteral("  12 o'clock"), 3), QStringLiteral("  12 O'clock"));
    EXPECT_EQ(LMNText::transformedCase(typed, 9), typed);

    auto t = text(QStringLiteral("abc"));
    t->text_transfrom_case = 1;
    EXPECT_EQ(t->displayedText(), QStringLiteral("ABC"));
    EXPECT_NE(render(t), render(text(QStringLiteral("abc"))));
}

TEST(ElementTextDraw, DrawsInItsColourInsideItsBounds)
{
    auto t = text(QStringLiteral("Happy Birthday"));
    t->txt_clr = QColor(200, 0, 0);
    const QImage image = render(t);
    const QRect ink = inkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(20, 20, 160, 40).contains(ink));
    // Glyph cores are the text colour.
    EXPECT_GT(ink.width() * ink.height() - TestHelpers::countPixelsDifferent(image, QColor(200, 0, 0), ink, 12), 20);
    // The text starts at the top of its bounds.
    EXPECT_LT(ink.top(), 20 + 8);
}

TEST(ElementTextDraw, AlignmentCodes)
{
    auto t = text(QStringLiteral("Party"));
    t->text_alignmnet = 0;
    const QRect left = inkBounds(render(t));
    t->text_alignmnet = 1;
    const QRect right = inkBounds(render(t));
    t->text_alignmnet = 2;
    const QRect centred = inkBounds(render(t));

    EXPECT_NEAR(left.left(), 20 + LMNText::kTextPadding, 2);
    EXPECT_NEAR(right.right(), 180 - LMNText::kTextPadding, 2);
    EXPECT_NEAR(centred.center().x(), 100, 2);
    EXPECT_NEAR(left.width(), right.width(), 1);

    // Justified: every line but the last spans the whole width.
    auto justified = text(QStringLiteral("one two three four five six seven eight nine ten"), QRectF(20, 20, 160, 100));
    justified->text_alignmnet = 3;
    const QImage image = render(justified);
    const QRect firstLine = inkBounds(image.copy(0, 20, 200, 14)).translated(0, 20);
    EXPECT_NEAR(firstLine.left(), 25, 2);
    EXPECT_NEAR(firstLine.right(), 175, 2);
    justified->text_alignmnet = 0;
    EXPECT_LT(inkBounds(render(justified).copy(0, 20, 200, 14)).right(), 170);
}

TEST(ElementTextDraw, KerningIsInPointsBetweenLetters)
{
    auto t = text(QStringLiteral("HHHH"));
    const int plain = inkBounds(render(t)).width();
    t->text_kerning = 5;
    const int spaced = inkBounds(render(t)).width();
    EXPECT_NEAR(spaced - plain, 15, 1.5); // three gaps of 5 points
    t->text_kerning = -1;
    EXPECT_LT(inkBounds(render(t)).width(), plain);

    // The same points at 4x the resolution.
    t->text_kerning = 5;
    const int fine = inkBounds(render(t, 288)).width();
    EXPECT_NEAR(fine, spaced * 4, 6);
}

TEST(ElementTextDraw, LineBreaksDoNotDependOnTheResolution)
{
    auto t = text(QStringLiteral("You are invited to celebrate with us on Saturday afternoon at the lake"),
                  QRectF(20, 20, 120, 120));
    const QRect low = inkBounds(render(t, 72));
    const QRect high = inkBounds(render(t, 288));
    EXPECT_NEAR(high.height(), low.height() * 4, 8);
    EXPECT_NEAR(high.width(), low.width() * 4, 8);
    EXPECT_GT(low.height(), 50) << "wraps onto several lines";
}

TEST(ElementTextDraw, TextIsCutAtTheBounds)
{
    auto t = text(QStringLiteral("A very long line of text that cannot fit\nand\nmore\nlines\nbelow\nit"),
                  QRectF(40, 40, 60, 30));
    t->text_ctrl_font = CardFont(QStringLiteral("ArialMT"), 30);
    const QImage image = render(t);
    EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, pixelArea(t->bounds())));
    EXPECT_FALSE(inkBounds(image).isEmpty());
}

// A frame shows the same beginning of a megabyte of text as of the few hundred characters
// it has room for: only a beginning is laid out, and its lines are the whole text's lines.
TEST(ElementTextDraw, AHugeValueShowsItsBeginningAsAShortOneDoes)
{
    for (const QString &unit : {QStringLiteral("w"), QStringLiteral("word "), QStringLiteral("مرحبا ")}) {
        SCOPED_TRACE(unit.toStdString());
        const QString huge = unit.repeated((1 << 20) / unit.size());
        auto whole = text(huge, QRectF(20, 20, 160, 80));
        auto start = text(huge.left(400), QRectF(20, 20, 160, 80));   // laid out whole
        EXPECT_EQ(render(whole, 150), render(start, 150));
    }
}

TEST(ElementTextDraw, FillUnderTextAndBorderAround)
{
    auto t = text(QStringLiteral("Hi"));
    t->_isDrawingFill = true;
    t->_fillColor = Qt::yellow;
    t->_isDrawingStroke = true;
    t->_strokeColor = Qt::blue;
    t->_strokeWidth = 2;
    t->txt_clr = Qt::black;
    const QImage image = render(t);
    EXPECT_TRUE(near(image.pixel(150, 50), Qt::yellow, 10));
    EXPECT_TRUE(near(image.pixel(100, 20), Qt::blue, 40));
    EXPECT_TRUE(TestHelpers::onlyInside(image, Qt::white, pixelArea(t->drawingBounds())));
    // The letters are drawn over the fill.
    int dark = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 24; x < 45; ++x)
            dark += qGray(image.pixel(x, y)) < 60;
    EXPECT_GT(dark, 10);

    // Hatch is not offered for text, but a stored one still fills.
    t->_fill_type = QStringLiteral("G");
    t->_fill_Grad_clr1 = Qt::red;
    t->_fill_Grad_clr2 = Qt::green;
    EXPECT_GT(qRed(render(t).pixel(30, 55)), 200);
}

TEST(ElementTextDraw, NaturalSizeFitsTheText)
{
    auto t = text(QStringLiteral("Happy Birthday\nMarie"), QRectF(30, 30, 5, 5));
    t->makeNaturalSize();
    EXPECT_EQ(t->bounds().topLeft(), QPointF(30, 30));
    const QImage image = render(t);
    const QRect ink = inkBounds(image);
    EXPECT_TRUE(pixelArea(t->bounds()).contains(ink));
    EXPECT_NEAR(ink.width() + 2 * LMNText::kTextPadding, t->bounds().width(), 4);
    EXPECT_GT(t->bounds().height(), 28); // two lines of 14 points
    EXPECT_LT(t->bounds().height(), 40);

    // Larger type, larger element.
    auto big = text(QStringLiteral("Happy Birthday\nMarie"));
    big->text_ctrl_font = CardFont(QStringLiteral("ArialMT"), 28);
    big->makeNaturalSize();
    EXPECT_NEAR(big->bounds().width(), (t->bounds().width() - 10) * 2 + 10, 4);
}

TEST(ElementTextDraw, DefaultFontIsItalicTimesAtFourteenPoints)
{
    LMNText t;
    EXPECT_EQ(t.text_ctrl_font.postScriptName, QStringLiteral("TimesNewRomanPS-ItalicMT"));
    EXPECT_TRUE(t.drawingFont().italic());
    // Cap height of a 14 point Times: about 0.66 em.
    auto h = text(QStringLiteral("H"));
    h->text_ctrl_font = t.text_ctrl_font;
    EXPECT_NEAR(inkBounds(render(h), 100).height(), 9, 1.5);
}
