// What a design file keeps exactly: texts code point for code point (as Python's plistlib
// reads them too), the same file from every save of what was opened, and only cards the
// editor can show.

#include "editor/CardSizeCatalog.h"
#include "editor/DesignFile.h"

#include "support/TestHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace {

// Texts XML can hold come back as they went; U+FFFE, which XML cannot hold, is left out.
struct TextCase
{
    const char *what;
    QString text;
    QString back;
};

const TextCase TextCases[] = {
    {"a leading byte-order mark", QStringLiteral("\uFEFFGuests"), QStringLiteral("\uFEFFGuests")},
    {"nothing but two marks", QStringLiteral("\uFEFF\uFEFF"), QStringLiteral("\uFEFF\uFEFF")},
    {"marks inside and at the end", QStringLiteral("a\uFEFFb\uFEFF"), QStringLiteral("a\uFEFFb\uFEFF")},
    {"beyond the first plane", QStringLiteral("\U0001F382\U0010FFFD"), QStringLiteral("\U0001F382\U0010FFFD")},
    {"the swapped mark U+FFFE", QStringLiteral("x\uFFFEy"), QStringLiteral("xy")},
};

QJsonArray codePoints(const QString &text)
{
    QJsonArray points;
    for (char32_t u : text.toUcs4())
        points << int(u);
    return points;
}

} // namespace

TEST(DesignFileExactness, TextsComeBackCodePointForCodePoint)
{
    QTemporaryDir dir;
    for (const TextCase &c : TextCases) {
        SCOPED_TRACE(c.what);
        CardDesign design;
        design.Front_card_Prop.Card_Name = c.text;
        design.Excel_Column_Titles = {c.text};
        design.Excel_Records = {{{c.text, c.text}}};
        GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
        text->setText(c.text);
        design.graphics << text;

        const QString path = dir.filePath(QStringLiteral("texts.dcard"));
        QString error;
        ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
        const std::optional<CardDesign> back = DesignFile::read(path, &error);
        ASSERT_TRUE(back) << error.toStdString();
        EXPECT_EQ(back->Front_card_Prop.Card_Name, c.back);
        EXPECT_EQ(back->Excel_Column_Titles, QStringList{c.back});
        ASSERT_EQ(back->Excel_Records.size(), 1);
        EXPECT_EQ(back->Excel_Records[0].firstKey(), c.back);
        EXPECT_EQ(back->Excel_Records[0].first(), c.back);
        ASSERT_EQ(back->graphics.size(), 1);
        EXPECT_EQ(back->graphics[0]->Text_Value, c.back);

        // The front record's name, the first column title and the front's first element.
        const QByteArray out = TestHelpers::runProgram(
            FESTILOOM_PYTHON, {"-c",
                               "import json, plistlib, sys\n"
                               "items = plistlib.load(open(sys.argv[1], 'rb'))\n"
                               "print(json.dumps([[ord(c) for c in t] for t in "
                               "[items[18], items[59][0], items[61][0]['Text_Value']]]))\n",
                               path});
        const QJsonArray expected = codePoints(c.back);
        EXPECT_EQ(QJsonDocument::fromJson(out).array(), QJsonArray({expected, expected, expected})) << out.toStdString();
    }
}

TEST(DesignFileExactness, ANegativeZeroOpensAndEverySaveAfterGivesTheSameFile)
{
    // Each case sets a field to an unusual value that the file then holds as -0.
    struct Case
    {
        const char *what;
        std::function<void(LMNGraphic &)> set;
        std::function<bool(const LMNGraphic &)> holdsNegativeZero;
    };
    constexpr double Mark = 0.4375;
    const Case cases[] = {
        {"a float field", [](LMNGraphic &g) { g.alpha_val = float(Mark); },
         [](const LMNGraphic &g) { return g.alpha_val == 0 && std::signbit(g.alpha_val); }},
        {"a double field", [](LMNGraphic &g) { g._strokeWidth = Mark; },
         [](const LMNGraphic &g) { return g._strokeWidth == 0 && std::signbit(g._strokeWidth); }},
        {"the place of empty bounds", [](LMNGraphic &g) { g._bounds = QRectF(Mark, 0, 0, 0); },
         [](const LMNGraphic &g) { return g._bounds.x() == 0 && std::signbit(g._bounds.x()); }},
        {"the size of a font without a name", [](LMNGraphic &g) { g.text_ctrl_font = CardFont(QString(), Mark); },
         [](const LMNGraphic &g) { return g.text_ctrl_font.pointSize == 0 && std::signbit(g.text_ctrl_font.pointSize); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardDesign design;
        design.Front_card_Prop.Card_Size = QSizeF(243, 154);
        GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
        c.set(*text);
        design.graphics << text;
        QByteArray xml = DesignFile::toXml(design);
        ASSERT_EQ(xml.count("<real>0.4375</real>"), 1);
        xml.replace("<real>0.4375</real>", "<real>-0</real>");

        QString error;
        std::optional<CardDesign> opened = DesignFile::fromXml(xml, &error);
        ASSERT_TRUE(opened) << error.toStdString();
        EXPECT_TRUE(c.holdsNegativeZero(*opened->graphics.at(0)));
        QList<QByteArray> saves;
        for (int save = 0; save < 3; ++save) {
            saves << DesignFile::toXml(*opened);
            opened = DesignFile::fromXml(saves.last(), &error);
            ASSERT_TRUE(opened) << error.toStdString();
        }
        EXPECT_EQ(saves[1].toStdString(), saves[0].toStdString());
        EXPECT_EQ(saves[2].toStdString(), saves[1].toStdString());
    }
}

TEST(DesignFileExactness, CardsTheEditorCannotMakeAreRefusedWithTheReason)
{
    // Sizes in points as the file holds them; the Size page makes 10 to 1000 mm a side.
    struct Case
    {
        const char *what;
        QByteArray width, height;
        bool opens;
        const char *reason;   // when refused
    };
    const Case cases[] = {
        {"a credit card", "243.78", "153.01", true, ""},
        {"the smallest side, 10 mm", "28.346456692913385", "28.346456692913385", true, ""},
        {"10 mm worked out in float", "28.346456527709961", "100", true, ""},
        {"the largest side, 1000 mm", "2834.6456692913385", "2834.6456692913385", true, ""},
        {"no size stored (the default card)", "0", "0", true, ""},
        {"a new record's size (the default card)", "-1", "-1", true, ""},
        {"just under 10 mm", "28.3", "100", false, "measures 9.98 x 35.28 mm"},
        {"just over 1000 mm", "100", "2835", false, "measures 35.28 x 1000.12 mm"},
        {"100,000 points square", "100000", "100000", false, "measures 35277.78 x 35277.78 mm"},
        {"a negative width", "-243", "154", false, "measures -85.72 x 54.33 mm"},
        {"one side of nothing", "0", "154", false, "measures 0.00 x 54.33 mm"},
        {"beyond a million points", "1e7", "154", false, "Card_Size of the front side is out of range"},
        {"not a number", "nan", "154", false, "Card_Size of the front side is not a finite number"},
    };
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(111.25, 222.5);
    const QByteArray xml = DesignFile::toXml(design);
    ASSERT_EQ(xml.count("<real>111.25</real>"), 1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray file = xml;
        // Only the front record's size (the first), which sizes the card of both sides.
        file.replace(file.indexOf("<real>111.25</real>"), 19, "<real>" + c.width + "</real>");
        file.replace(file.indexOf("<real>222.5</real>"), 18, "<real>" + c.height + "</real>");
        QString error;
        const std::optional<CardDesign> opened = DesignFile::fromXml(file, &error);
        ASSERT_EQ(opened.has_value(), c.opens) << error.toStdString();
        if (!opened) {
            EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
            if (error.contains("measures")) {
                EXPECT_TRUE(error.contains("10 to 1000 mm a side")) << error.toStdString();
            }
        }
    }

    // What opening refuses is never saved, and the file already there stays.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.dcard"));
    QString error;
    ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
    design.Front_card_Prop.Card_Size = QSizeF(100000, 100000);
    EXPECT_FALSE(DesignFile::write(path, design, &error));
    EXPECT_TRUE(error.contains("10 to 1000 mm a side")) << error.toStdString();
    EXPECT_EQ(TestHelpers::readFile(path), xml);
}

TEST(DesignFileExactness, EveryListedCardSizeIsOneTheEditorOpens)
{
    for (const QList<CardSize> *list : {&CardSizeCatalog::pvcCards(), &CardSizeCatalog::paperCards()}) {
        for (const CardSize &size : *list) {
            for (bool vertical : {false, true}) {
                SCOPED_TRACE(size.name.toStdString());
                CardDesign design;
                design.Front_card_Prop.Card_Size = size.sizeInPoints(vertical);
                QString error;
                EXPECT_TRUE(DesignFile::fromXml(DesignFile::toXml(design), &error)) << error.toStdString();
            }
        }
    }
}
